#include "memory/LocalStores.h"

#include "memory/MemoryTables.h"

#include <algorithm>

namespace vexlor::memory {

using namespace records;

namespace {

// The bytes of record n (1-based) that the data holds; fewer or none at its end.
QByteArrayView recordAt(const QByteArray& data, int recordSize, int n)
{
    const qsizetype at = qsizetype(recordSize) * (n - 1);
    if (at >= data.size())
        return {};
    return QByteArrayView(data).sliced(at, std::min<qsizetype>(recordSize, data.size() - at));
}

} // namespace

LocalStores::LocalStores(const QString& bankPath, const QString& idBankPath)
    : m_bank(bankPath)
    , m_idBank(idBankPath)
{
}

void LocalStores::fail(const QFile& file, const QString& what)
{
    m_error = QStringLiteral("%1: %2: %3").arg(file.fileName(), what, file.errorString());
}

bool LocalStores::openStore(QFile& file, bool& writable)
{
    if (file.isOpen())
        return true;
    if (file.open(QIODevice::ReadWrite)) {
        writable = true;
        return true;
    }
    fail(file, QStringLiteral("cannot open for writing"));
    // A read-only store still shows the operator's data; only the edits are not kept.
    return file.open(QIODevice::ReadOnly);
}

void LocalStores::LoadStores(MemoryTables& tables)
{
    m_tables = &tables;

    // Only the expected records are read: a huge file is not read whole, and bytes beyond them stay as they are.
    if (openStore(m_bank, m_bankWritable) && m_bank.seek(0)) {
        const QByteArray data = m_bank.read(qint64(kChannelRecordSize) * kChannelRecords);
        for (int n = 1; n <= kChannelRecords; ++n)
            decodeChannel(recordAt(data, kChannelRecordSize, n), tables.Channels, n);
    }

    if (openStore(m_idBank, m_idBankWritable) && m_idBank.seek(0)) {
        const QByteArray data = m_idBank.read(qint64(kIDRecordSize) * kIDBankRecords);
        for (int bank = 1; bank <= MemoryTables::kBanks; ++bank) {
            for (int slot = 1; slot <= MemoryTables::kSlots; ++slot)
                decodeIDSlot(recordAt(data, kIDRecordSize, 100 * (bank - 1) + slot), tables.IDs, bank, slot);
        }
        for (int bank = 1; bank <= MemoryTables::kBanks; ++bank) {
            tables.BankNames.set(bank, decodeBankText(recordAt(data, kIDRecordSize, kBankNameRecord + bank)));
            tables.BankTrunkTypes.set(bank, decodeBankText(recordAt(data, kIDRecordSize, kBankTypeRecord + bank)));
        }
    }
    for (int bank = 1; bank <= MemoryTables::kBanks; ++bank)
        tables.BankImported.set(bank, false);
}

bool LocalStores::writeRecord(QFile& file, int recordSize, int record, const QByteArray& bytes)
{
    const qint64 at = qint64(recordSize) * (record - 1);
    // Fill a gap before the record with zeros ourselves: what a seek past the end leaves is not defined everywhere.
    const qint64 size = file.size();
    if (size < at) {
        if (!file.seek(size) || file.write(QByteArray(at - size, '\0')) != at - size) {
            fail(file, QStringLiteral("cannot extend"));
            return false;
        }
    }
    if (!file.seek(at) || file.write(bytes) != bytes.size()) {
        fail(file, QStringLiteral("cannot write record %1").arg(record));
        return false;
    }
    return true;
}

bool LocalStores::finish(QFile& file, bool ok)
{
    if (!file.flush()) {
        fail(file, QStringLiteral("cannot flush"));
        return false;
    }
    return ok;
}

bool LocalStores::StoreChannelRange(int first, int last)
{
    if (!m_tables || !m_bankWritable)
        return false;
    first = std::max(first, 1);
    last = std::min(last, int(kChannelRecords));
    if (first > last)
        return false;
    // One contiguous write: a bank is thirty adjacent records.
    QByteArray bytes;
    bytes.reserve(qsizetype(kChannelRecordSize) * (last - first + 1));
    for (int n = first; n <= last; ++n)
        bytes += encodeChannel(m_tables->Channels, n);
    return finish(m_bank, writeRecord(m_bank, kChannelRecordSize, first, bytes));
}

bool LocalStores::StoreIDList(int bank, int list)
{
    if (!m_tables || !m_idBankWritable || bank < 1 || bank > MemoryTables::kBanks || list < 1
        || list > MemoryTables::kLists)
        return false;
    bool ok = true;
    for (int position = 1; position <= MemoryTables::kSlotsPerList; ++position) {
        const int slot = MemoryTables::slotOf(list, position);
        // A slot never filled keeps its record as it is.
        if (m_tables->IDs.at(bank, slot, MemoryTables::kIdCh).isBlank())
            continue;
        ok = writeRecord(m_idBank, kIDRecordSize, 100 * (bank - 1) + slot, encodeIDSlot(m_tables->IDs, bank, slot))
            && ok;
    }
    return finish(m_idBank, ok);
}

bool LocalStores::StoreIDSlot(int bank, int slot, Reserved reserved)
{
    if (!m_tables || !m_idBankWritable || bank < 1 || bank > MemoryTables::kBanks || slot < 1
        || slot > MemoryTables::kSlots || m_tables->IDs.at(bank, slot, MemoryTables::kIdCh).isBlank())
        return false;
    const QByteArray bytes = encodeIDSlot(m_tables->IDs, bank, slot, reserved);
    return finish(m_idBank, writeRecord(m_idBank, kIDRecordSize, 100 * (bank - 1) + slot, bytes));
}

bool LocalStores::StoreIDSlots(int bank, int first, int last, Reserved reserved)
{
    if (!m_tables || !m_idBankWritable || bank < 1 || bank > MemoryTables::kBanks || first < 1
        || last > MemoryTables::kSlots || first > last)
        return false;
    QByteArray bytes;
    bytes.reserve(qsizetype(kIDRecordSize) * (last - first + 1));
    for (int slot = first; slot <= last; ++slot) {
        if (m_tables->IDs.at(bank, slot, MemoryTables::kIdCh).isBlank())
            return false;
        bytes += encodeIDSlot(m_tables->IDs, bank, slot, reserved);
    }
    return finish(m_idBank, writeRecord(m_idBank, kIDRecordSize, 100 * (bank - 1) + first, bytes));
}

bool LocalStores::storeBankText(int record, const Cell& value)
{
    const auto bytes = encodeBankText(value);
    if (!bytes) {
        m_error = QStringLiteral("%1: record %2: text longer than %3 bytes not stored")
                      .arg(m_idBank.fileName())
                      .arg(record)
                      .arg(kBankTextMax);
        return false;
    }
    return writeRecord(m_idBank, kIDRecordSize, record, *bytes);
}

bool LocalStores::StoreBankNames()
{
    if (!m_tables || !m_idBankWritable)
        return false;
    bool ok = true;
    for (int bank = 1; bank <= MemoryTables::kBanks; ++bank)
        ok = storeBankText(kBankNameRecord + bank, m_tables->BankNames.at(bank)) && ok;
    return finish(m_idBank, ok);
}

bool LocalStores::StoreBankTrunkTypes()
{
    if (!m_tables || !m_idBankWritable)
        return false;
    bool ok = true;
    for (int bank = 1; bank <= MemoryTables::kBanks; ++bank)
        ok = storeBankText(kBankTypeRecord + bank, m_tables->BankTrunkTypes.at(bank)) && ok;
    return finish(m_idBank, ok);
}

bool LocalStores::StoreBankName(int bank)
{
    if (!m_tables || !m_idBankWritable || bank < 1 || bank > MemoryTables::kBanks)
        return false;
    return finish(m_idBank, storeBankText(kBankNameRecord + bank, m_tables->BankNames.at(bank)));
}

bool LocalStores::StoreBankTrunkType(int bank)
{
    if (!m_tables || !m_idBankWritable || bank < 1 || bank > MemoryTables::kBanks)
        return false;
    return finish(m_idBank, storeBankText(kBankTypeRecord + bank, m_tables->BankTrunkTypes.at(bank)));
}

} // namespace vexlor::memory
