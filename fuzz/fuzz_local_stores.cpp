// Any bytes as a store journal, and as pieces of bank.dat and idbank.dat. The
// stores are laid out from entries: a byte whose low bit picks the file, a
// little-endian record number (below kMaxRecord), a length byte, and that many
// bytes written at the record's start; they may run past the record or overlap
// others, and the file ends after the last byte written (with zeros in the
// holes). So a small input reaches any record, and a file can be any size up to
// far past the records the loader reads. A loaded store written back must load
// as it was, and a second write-back must change no byte.
#include "FuzzSupport.h"

#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"

#include <QFile>
#include <algorithm>
#include <memory>

using namespace vexlor;
using memory::LocalStores;
using memory::MemoryTables;
using MT = MemoryTables;

namespace {

QString g_bank;
QString g_idBank;

constexpr int kMaxRecord = 2048;

struct Layout {
    QByteArray bank;
    QByteArray idBank;
};

Layout layOut(const QByteArray& input)
{
    Layout out;
    for (qsizetype at = 0; at + 4 <= input.size();) {
        const bool id = input[at] & 1;
        const int record = (uchar(input[at + 1]) | uchar(input[at + 2]) << 8) % kMaxRecord;
        const qsizetype length = std::min<qsizetype>(uchar(input[at + 3]), input.size() - at - 4);
        QByteArray& file = id ? out.idBank : out.bank;
        const qsizetype offset = qsizetype(record) * (id ? memory::records::kIDRecordSize : memory::records::kChannelRecordSize);
        if (file.size() < offset + length)
            file.resize(offset + length, '\0');
        file.replace(offset, length, input.sliced(at + 4, length));
        at += 4 + length;
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
    const Layout stores = layOut(input);
    put(g_bank, stores.bank);
    put(g_idBank, stores.idBank);

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
