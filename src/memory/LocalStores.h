#pragma once

#include "memory/RecordJournal.h"
#include "memory/StoreRecords.h"

#include <QFile>
#include <QString>
#include <QStringList>

namespace vexlor::memory {

class MemoryTables;

// bank.dat and idbank.dat: opened once, kept open for the run, written through
// record by record. Each store call's records go through a journal first, so a
// killed process leaves every record either old or new. Write errors are kept
// in errorString(), a store that could not be read in loadError().
class LocalStores {
public:
    explicit LocalStores(const QString& bankPath = QStringLiteral("bank.dat"),
        const QString& idBankPath = QStringLiteral("idbank.dat"));
    LocalStores(const LocalStores&) = delete;
    LocalStores& operator=(const LocalStores&) = delete;

    // Opens both files (creating them when absent, unless read-only), reads
    // every valid record into the tables and remembers the tables for the store
    // calls. False when a store could not be read at all: loadError() says which
    // and why, and its records stay empty.
    bool LoadStores(MemoryTables& tables);
    QString loadError() const { return m_loadError; }
    // Before LoadStores: open both files for reading only, as when they are not
    // writable. A run that could not lock its data folder must not write them.
    void setReadOnly(bool on) { m_readOnly = on; }

    // Each store call writes and flushes at once, and returns whether every
    // record it meant to write got written. Before LoadStores, or when the file
    // could not be opened for writing, they do nothing and return false.
    bool StoreChannelRange(int first, int last);
    bool StoreIDList(int bank, int list);
    bool StoreBankNames();
    bool StoreBankTrunkTypes();

    // Single records, for the grid editor and the import.
    bool StoreIDSlot(int bank, int slot);
    // Adjacent slots in one write; false, writing nothing, when one of them was never filled.
    bool StoreIDSlots(int bank, int first, int last);
    bool StoreBankName(int bank);
    bool StoreBankTrunkType(int bank);

    // The store calls between these two make one step: their records land in
    // both files or, if anything fails or the process dies, in neither.
    void beginStep();
    bool endStep();

    bool bankStoreWritable() const { return m_bank.writable; }
    bool idBankStoreWritable() const { return m_idBank.writable; }
    QString errorString() const { return m_error; }

    QString bankPath() const { return m_bank.file.fileName(); }
    QString idBankPath() const { return m_idBank.file.fileName(); }
    // Both stores and their journals.
    QStringList files() const;

private:
    struct Store {
        QFile file;
        RecordJournal journal;
        bool writable = false;
        QList<RecordJournal::Write> queued;
        explicit Store(const QString& path)
            : file(path)
            , journal(path + QStringLiteral(".journal"))
        {
        }
    };

    bool openStore(Store& store);
    // Up to `bytes` from the store's start, with what its journal holds; false when it cannot be read.
    bool readStore(Store& store, qint64 bytes, QByteArray& data);
    // Redoes what a killed process left in the journal.
    void recover(Store& store);
    // Queues a record for finish(), which writes the queue.
    void writeRecord(Store& store, int recordSize, int record, const QByteArray& bytes);
    bool finish(Store& store, bool ok);
    bool refused();
    // Writes the stores' queues, journalled; one journal each, paired when both have records.
    bool write(const QList<Store*>& stores);
    RecordJournal::Entry journalEntry(Store& store);
    bool writeInPlace(Store& store, const QList<RecordJournal::Write>& writes);
    bool storeBankText(int record, const Cell& value);
    void fail(const QFile& file, const QString& what);

    Store m_bank;
    Store m_idBank;
    bool m_inStep = false;
    bool m_stepOk = true;
    MemoryTables* m_tables = nullptr;
    QString m_error;
    QString m_loadError;
    bool m_readOnly = false;
};

} // namespace vexlor::memory
