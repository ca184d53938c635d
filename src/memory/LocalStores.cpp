#include "memory/LocalStores.h"

#include "memory/MemoryTables.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <utility>

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

bool LocalStores::openStore(Store& store)
{
    if (store.file.isOpen())
        return true;
    if (m_readOnly) {
        m_error = QStringLiteral("%1: opened read-only").arg(store.file.fileName());
    } else if (store.file.open(QIODevice::ReadWrite)) {
        store.writable = true;
        recover(store);
        return true;
    } else {
        fail(store.file, QStringLiteral("cannot open for writing"));
    }
    // A read-only store still shows the operator's data; only the edits are not kept.
    return store.file.open(QIODevice::ReadOnly);
}

void LocalStores::recover(Store& store)
{
    const auto writes = store.journal.pending(store.file);
    if (!writes) {
        // Cut short (the store was not touched yet), or not this store's.
        store.journal.end();
        return;
    }
    if (writeInPlace(store, *writes) && store.file.flush())
        store.journal.end();
}

// A read-only store cannot be mended, but what a killed process left in its
// journal still shows instead of a torn record.
static QByteArray withJournal(QByteArray data, QFile& file, const RecordJournal& journal, bool writable)
{
    const auto writes = writable ? std::nullopt : journal.pending(file);
    for (const RecordJournal::Write& w : writes.value_or(QList<RecordJournal::Write>())) {
        if (w.offset >= data.size())
            continue;
        const qsizetype n = std::min<qsizetype>(w.bytes.size(), data.size() - w.offset);
        data.replace(w.offset, n, w.bytes.first(n));
    }
    return data;
}

QStringList LocalStores::files() const
{
    return {bankPath(), idBankPath(), m_bank.journal.path(), m_idBank.journal.path()};
}

bool LocalStores::readStore(Store& store, qint64 bytes, QByteArray& data)
{
    if (openStore(store) && store.file.seek(0)) {
        data.resize(bytes);
        const qint64 n = store.file.read(data.data(), bytes);
        if (n >= 0) {
            data.truncate(n);
            data = withJournal(std::move(data), store.file, store.journal, store.writable);
            return true;
        }
    }
    data.clear();
    if (m_loadError.isEmpty())
        m_loadError = QStringLiteral("cannot read %1: %2")
                          .arg(QFileInfo(store.file).absoluteFilePath(), store.file.errorString());
    return false;
}

bool LocalStores::LoadStores(MemoryTables& tables)
{
    m_tables = &tables;
    m_loadError.clear();

    // Only the expected records are read: a huge file is not read whole, and bytes beyond them stay as they are.
    QByteArray data;
    if (readStore(m_bank, qint64(kChannelRecordSize) * kChannelRecords, data)) {
        for (int n = 1; n <= kChannelRecords; ++n)
            decodeChannel(recordAt(data, kChannelRecordSize, n), tables.Channels, n);
    }

    if (readStore(m_idBank, qint64(kIDRecordSize) * kIDBankRecords, data)) {
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
    return m_loadError.isEmpty();
}

void LocalStores::writeRecord(Store& store, int recordSize, int record, const QByteArray& bytes)
{
    const qint64 offset = qint64(recordSize) * (record - 1);
    // The same record twice in a step: the later bytes win, and the journal holds it once.
    for (RecordJournal::Write& w : store.queued) {
        if (w.offset == offset && w.bytes.size() == bytes.size()) {
            w.bytes = bytes;
            return;
        }
    }
    store.queued.append({offset, bytes, {}});
}

bool LocalStores::writeInPlace(Store& store, const QList<RecordJournal::Write>& writes)
{
    QFile& file = store.file;
    for (const RecordJournal::Write& w : writes) {
        // Fill a gap before the record with zeros ourselves: what a seek past the end leaves is not defined everywhere.
        const qint64 size = file.size();
        if (size < w.offset) {
            if (!file.seek(size) || file.write(QByteArray(w.offset - size, '\0')) != w.offset - size) {
                fail(file, QStringLiteral("cannot extend"));
                return false;
            }
        }
        if (!file.seek(w.offset) || file.write(w.bytes) != w.bytes.size()) {
            fail(file, QStringLiteral("cannot write at byte %1").arg(w.offset));
            return false;
        }
    }
    return true;
}

bool LocalStores::finish(Store& store, bool ok)
{
    if (m_inStep) {
        m_stepOk = m_stepOk && ok;
        return ok;
    }
    return write({&store}) && ok;
}

bool LocalStores::refused()
{
    // Within a step, one refused call fails the whole step.
    m_stepOk = m_stepOk && !m_inStep;
    return false;
}

void LocalStores::beginStep()
{
    m_inStep = true;
    m_stepOk = true;
}

bool LocalStores::endStep()
{
    m_inStep = false;
    if (!m_stepOk) {
        m_bank.queued.clear();
        m_idBank.queued.clear();
        return false;
    }
    return write({&m_bank, &m_idBank});
}

RecordJournal::Entry LocalStores::journalEntry(Store& store)
{
    RecordJournal::Entry entry;
    entry.store = RecordJournal::identityOf(store.file).value_or(RecordJournal::Identity());
    entry.writes = store.queued;
    // The bytes each record replaces, so that the journal is redone only over this state of the file.
    for (RecordJournal::Write& w : entry.writes) {
        if (w.offset < store.file.size() && store.file.seek(w.offset))
            w.before = store.file.read(w.bytes.size());
    }
    return entry;
}

bool LocalStores::write(const QList<Store*>& stores)
{
    QList<Store*> busy;
    for (Store* store : stores) {
        if (!store->queued.isEmpty())
            busy.append(store);
    }
    if (busy.isEmpty())
        return true;
    QList<RecordJournal::Entry> entries;
    for (Store* store : busy)
        entries.append(journalEntry(*store));
    if (busy.size() == 2) {
        const quint64 step = QRandomGenerator::global()->generate64() | 1;
        entries[0].pairing = {step, true, QFileInfo(busy[1]->journal.path()).fileName()};
        entries[1].pairing = {step, false, QFileInfo(busy[0]->journal.path()).fileName()};
    }
    bool journaled = true;
    for (qsizetype i = 0; i < busy.size() && journaled; ++i) {
        journaled = busy[i]->journal.begin(entries[i]);
        if (!journaled)
            m_error = busy[i]->journal.errorString();
    }
    if (!journaled && busy.size() > 1) {
        // One step or none: without both journals, nothing is written.
        for (Store* store : busy) {
            store->journal.end();
            store->queued.clear();
        }
        return false;
    }
    // On its own, a record is still written without a journal: an edit kept unprotected beats one lost.
    bool ok = true;
    for (Store* store : busy) {
        ok = writeInPlace(*store, std::exchange(store->queued, {})) && ok;
        if (!store->file.flush()) {
            fail(store->file, QStringLiteral("cannot flush"));
            ok = false;
        }
    }
    // A journal left after a failed write is redone at the next start. The
    // first of a pair goes first: the second alone is still redone.
    for (Store* store : busy) {
        if (ok && journaled && !store->journal.end())
            m_error = store->journal.errorString();
    }
    return ok;
}

bool LocalStores::StoreChannelRange(int first, int last)
{
    if (!m_tables || !m_bank.writable)
        return refused();
    first = std::max(first, 1);
    last = std::min(last, int(kChannelRecords));
    if (first > last)
        return refused();
    // One contiguous write: a bank is thirty adjacent records.
    QByteArray bytes;
    bytes.reserve(qsizetype(kChannelRecordSize) * (last - first + 1));
    for (int n = first; n <= last; ++n)
        bytes += encodeChannel(m_tables->Channels, n);
    writeRecord(m_bank, kChannelRecordSize, first, bytes);
    return finish(m_bank, true);
}

bool LocalStores::StoreIDList(int bank, int list)
{
    if (!m_tables || !m_idBank.writable || bank < 1 || bank > MemoryTables::kBanks || list < 1
        || list > MemoryTables::kLists)
        return refused();
    for (int position = 1; position <= MemoryTables::kSlotsPerList; ++position) {
        const int slot = MemoryTables::slotOf(list, position);
        // A slot never filled keeps its record as it is.
        if (m_tables->IDs.at(bank, slot, MemoryTables::kIdCh).isBlank())
            continue;
        writeRecord(m_idBank, kIDRecordSize, 100 * (bank - 1) + slot, encodeIDSlot(m_tables->IDs, bank, slot));
    }
    return finish(m_idBank, true);
}

bool LocalStores::StoreIDSlot(int bank, int slot)
{
    if (!m_tables || !m_idBank.writable || bank < 1 || bank > MemoryTables::kBanks || slot < 1
        || slot > MemoryTables::kSlots || m_tables->IDs.at(bank, slot, MemoryTables::kIdCh).isBlank())
        return refused();
    writeRecord(m_idBank, kIDRecordSize, 100 * (bank - 1) + slot, encodeIDSlot(m_tables->IDs, bank, slot));
    return finish(m_idBank, true);
}

bool LocalStores::StoreIDSlots(int bank, int first, int last)
{
    if (!m_tables || !m_idBank.writable || bank < 1 || bank > MemoryTables::kBanks || first < 1
        || last > MemoryTables::kSlots || first > last)
        return refused();
    QByteArray bytes;
    bytes.reserve(qsizetype(kIDRecordSize) * (last - first + 1));
    for (int slot = first; slot <= last; ++slot) {
        if (m_tables->IDs.at(bank, slot, MemoryTables::kIdCh).isBlank())
            return refused();
        bytes += encodeIDSlot(m_tables->IDs, bank, slot);
    }
    writeRecord(m_idBank, kIDRecordSize, 100 * (bank - 1) + first, bytes);
    return finish(m_idBank, true);
}

bool LocalStores::storeBankText(int record, const Cell& value)
{
    const auto bytes = encodeBankText(value);
    if (!bytes) {
        m_error = QStringLiteral("%1: record %2: text longer than %3 bytes not stored")
                      .arg(m_idBank.file.fileName())
                      .arg(record)
                      .arg(kBankTextMax);
        return refused();
    }
    writeRecord(m_idBank, kIDRecordSize, record, *bytes);
    return true;
}

bool LocalStores::StoreBankNames()
{
    if (!m_tables || !m_idBank.writable)
        return refused();
    bool ok = true;
    for (int bank = 1; bank <= MemoryTables::kBanks; ++bank)
        ok = storeBankText(kBankNameRecord + bank, m_tables->BankNames.at(bank)) && ok;
    return finish(m_idBank, ok);
}

bool LocalStores::StoreBankTrunkTypes()
{
    if (!m_tables || !m_idBank.writable)
        return refused();
    bool ok = true;
    for (int bank = 1; bank <= MemoryTables::kBanks; ++bank)
        ok = storeBankText(kBankTypeRecord + bank, m_tables->BankTrunkTypes.at(bank)) && ok;
    return finish(m_idBank, ok);
}

bool LocalStores::StoreBankName(int bank)
{
    if (!m_tables || !m_idBank.writable || bank < 1 || bank > MemoryTables::kBanks)
        return refused();
    return finish(m_idBank, storeBankText(kBankNameRecord + bank, m_tables->BankNames.at(bank)));
}

bool LocalStores::StoreBankTrunkType(int bank)
{
    if (!m_tables || !m_idBank.writable || bank < 1 || bank > MemoryTables::kBanks)
        return refused();
    return finish(m_idBank, storeBankText(kBankTypeRecord + bank, m_tables->BankTrunkTypes.at(bank)));
}

} // namespace vexlor::memory
