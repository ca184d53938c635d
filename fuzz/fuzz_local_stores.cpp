// Any bytes as a store journal, and as pieces of bank.dat and idbank.dat. The
// stores are laid out from entries: a byte whose low bit picks the file, a
// little-endian record number (below kMaxRecord), a length byte, and that many
// bytes written at the record's start; they may run past the record or overlap
// others, and the file ends after the last byte written (with zeros in the
// holes). So a small input reaches any record, and a file can be any size up to
// far past the records the loader reads.
// Every record an input touches goes through the record decoders in memory: a
// valid one encoded must decode as it was, and encode to the same bytes again.
// One input in 256 (picked by its bytes, so a finding replays) also goes
// through the files: both stores loaded and written back must load as they
// were, and a second write-back must change no byte. The files cost some 500
// times the decoders, so this keeps the rate up while every input shape still
// reaches them.
#include "FuzzSupport.h"

#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"

#include <QFile>
#include <algorithm>
#include <map>
#include <memory>

using namespace vexlor;
using memory::LocalStores;
using memory::MemoryTables;
using MT = MemoryTables;

namespace {

QString g_bank;
QString g_idBank;

constexpr int kMaxRecord = 2048;

struct Entry {
    bool id;
    int record;
    QByteArrayView bytes;
};

QList<Entry> entriesOf(QByteArrayView input)
{
    QList<Entry> out;
    for (qsizetype at = 0; at + 4 <= input.size();) {
        const qsizetype length = std::min<qsizetype>(uchar(input[at + 3]), input.size() - at - 4);
        out.append({bool(input[at] & 1), (uchar(input[at + 1]) | uchar(input[at + 2]) << 8) % kMaxRecord,
                    input.sliced(at + 4, length)});
        at += 4 + length;
    }
    return out;
}

int recordSize(bool id)
{
    return id ? memory::records::kIDRecordSize : memory::records::kChannelRecordSize;
}

QByteArray fileOf(const QList<Entry>& entries, bool id)
{
    QByteArray file;
    for (const Entry& e : entries) {
        if (e.id != id)
            continue;
        const qsizetype offset = qsizetype(e.record) * recordSize(id);
        if (file.size() < offset + e.bytes.size())
            file.resize(offset + e.bytes.size(), '\0');
        file.replace(offset, e.bytes.size(), e.bytes);
    }
    return file;
}

// The records the entries touch, as the files would hold them, without laying
// the files out (a short last record reads as if padded with zeros, so padding is the same).
std::map<std::pair<bool, int>, QByteArray> recordsOf(const QList<Entry>& entries)
{
    std::map<std::pair<bool, int>, QByteArray> out;
    for (const Entry& e : entries) {
        const qsizetype size = recordSize(e.id);
        const qsizetype offset = e.record * size;
        const qsizetype end = offset + e.bytes.size();
        for (qsizetype r = e.record; r == e.record || r * size < end; ++r) {
            QByteArray& record = out[{e.id, int(r)}];
            if (record.isEmpty())
                record = QByteArray(size, '\0');
            const qsizetype from = std::max(offset, r * size);
            const qsizetype to = std::min(end, (r + 1) * size);
            if (from < to)
                record.replace(from - r * size, to - from, e.bytes.sliced(from - offset, to - from));
        }
    }
    return out;
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzz::violated("a store could not be written");
}

QByteArray get(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fuzz::violated("a store could not be read");
    return file.readAll();
}

void roundTripChannel(QByteArrayView record)
{
    static memory::ChannelTable once, twice;
    if (memory::records::decodeChannel(record, once, 1)) {
        const QByteArray encoded = memory::records::encodeChannel(once, 1);
        VEXLOR_FUZZ_CHECK(memory::records::decodeChannel(encoded, twice, 1));
        for (int col = MT::kChFrequency; col <= MT::kChMode; ++col)
            VEXLOR_FUZZ_CHECK(twice.at(1, col) == once.at(1, col));
        VEXLOR_FUZZ_CHECK(memory::records::encodeChannel(twice, 1) == encoded);
    }
    once.clearRow(1);
    twice.clearRow(1);
}

void roundTripID(QByteArrayView record, int index)
{
    using namespace memory::records;
    if (index >= kBankNameRecord && index < kIDBankRecords) {
        const memory::Cell text = decodeBankText(record);
        const auto encoded = encodeBankText(text);
        VEXLOR_FUZZ_CHECK(encoded && decodeBankText(*encoded) == text);
        return;
    }
    static memory::IDTable once, twice;
    if (decodeIDSlot(record, once, 1, 1)) {
        const QByteArray encoded = encodeIDSlot(once, 1, 1);
        VEXLOR_FUZZ_CHECK(decodeIDSlot(encoded, twice, 1, 1));
        for (int col = MT::kIdCh; col <= MT::kIdReserved; ++col)
            VEXLOR_FUZZ_CHECK(twice.at(1, 1, col) == once.at(1, 1, col));
        VEXLOR_FUZZ_CHECK(encodeIDSlot(twice, 1, 1) == encoded);
    }
    once.clearSlot(1, 1);
    twice.clearSlot(1, 1);
}

// Loads both stores into cleared tables and writes back what they loaded,
// through the store calls. Only what was loaded, so that the work follows the
// input's size rather than the stores' (and the rate stays high).
void loadAndWriteBack(MemoryTables& tables)
{
    tables.clear();
    LocalStores stores(g_bank, g_idBank);
    stores.LoadStores(tables);
    auto loadedRow = [&](int row) { return row <= MT::kChannels && !tables.Channels.at(row, MT::kChCh).isBlank(); };
    for (int row = 1; row <= MT::kChannels; ++row) {
        if (!loadedRow(row))
            continue;
        const int first = row;
        while (loadedRow(row + 1))
            ++row;
        VEXLOR_FUZZ_CHECK(stores.StoreChannelRange(first, row));
    }
    for (int bank = 1; bank <= MT::kBanks; ++bank) {
        for (int list = 1; list <= MT::kLists; ++list)
            VEXLOR_FUZZ_CHECK(stores.StoreIDList(bank, list)); // writes only the slots that loaded
    }
    VEXLOR_FUZZ_CHECK(stores.StoreBankNames());
    VEXLOR_FUZZ_CHECK(stores.StoreBankTrunkTypes());
}

// Kept for the run: a fresh 300 KB table per input is a good part of the time.
MemoryTables& firstTables()
{
    static const auto t = std::make_unique<MemoryTables>();
    return *t;
}

MemoryTables& secondTables()
{
    static const auto t = std::make_unique<MemoryTables>();
    return *t;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const QTemporaryDir& dir = fuzz::scratchDir();
    g_bank = dir.filePath(QStringLiteral("bank.dat"));
    g_idBank = dir.filePath(QStringLiteral("idbank.dat"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytesOf(data, size);
    // The journal a killed process leaves: taken only when it is exactly what encode() writes.
    if (const auto writes = memory::RecordJournal::decode(input))
        VEXLOR_FUZZ_CHECK(memory::RecordJournal::encode(*writes) == input);
    const QList<Entry> entries = entriesOf(input);
    for (const auto& [where, record] : recordsOf(entries)) {
        if (where.first)
            roundTripID(record, where.second);
        else
            roundTripChannel(record);
    }
    if (!fuzz::oneIn(data, size, 256))
        return 0;

    put(g_bank, fileOf(entries, false));
    put(g_idBank, fileOf(entries, true));

    const MemoryTables* first = &firstTables();
    const MemoryTables* second = &secondTables();
    loadAndWriteBack(firstTables());
    const QByteArray bank = get(g_bank);
    const QByteArray idBank = get(g_idBank);
    loadAndWriteBack(secondTables());
    VEXLOR_FUZZ_CHECK(get(g_bank) == bank);
    VEXLOR_FUZZ_CHECK(get(g_idBank) == idBank);

    // Nothing a valid record held is lost on the way through the file (the map
    // fields are not stored, and a record's number is its place in the file).
    for (int row = 1; row <= MT::kChannels; ++row) {
        if (first->Channels.at(row, MT::kChCh).isBlank())
            continue;
        for (int col = MT::kChFrequency; col <= MT::kChMode; ++col)
            VEXLOR_FUZZ_CHECK(second->Channels.at(row, col) == first->Channels.at(row, col));
    }
    for (int bank = 1; bank <= MT::kBanks; ++bank) {
        for (int slot = 1; slot <= MT::kSlots; ++slot) {
            for (int col = MT::kIdCh; col <= MT::kIdReserved; ++col)
                VEXLOR_FUZZ_CHECK(second->IDs.at(bank, slot, col) == first->IDs.at(bank, slot, col));
        }
        VEXLOR_FUZZ_CHECK(second->BankNames.at(bank) == first->BankNames.at(bank));
        VEXLOR_FUZZ_CHECK(second->BankTrunkTypes.at(bank) == first->BankTrunkTypes.at(bank));
    }
    return 0;
}
