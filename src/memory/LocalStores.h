#pragma once

#include "memory/StoreRecords.h"

#include <QFile>
#include <QString>

namespace vexlor::memory {

class MemoryTables;

// bank.dat and idbank.dat: opened once, kept open for the run, written through
// record by record. File errors never reach the operator; they are kept in
// errorString() for the log.
class LocalStores {
public:
    explicit LocalStores(const QString& bankPath = QStringLiteral("bank.dat"),
        const QString& idBankPath = QStringLiteral("idbank.dat"));
    LocalStores(const LocalStores&) = delete;
    LocalStores& operator=(const LocalStores&) = delete;

    // Opens both files (creating them when absent), reads every valid record
    // into the tables and remembers the tables for the store calls.
    void LoadStores(MemoryTables& tables);

    // Each store call writes and flushes at once, and returns whether every
    // record it meant to write got written. Before LoadStores, or when the file
    // could not be opened for writing, they do nothing and return false.
    bool StoreChannelRange(int first, int last);
    bool StoreIDList(int bank, int list);
    bool StoreBankNames();
    bool StoreBankTrunkTypes();

    // Single records, for the grid editor and the import.
    bool StoreIDSlot(int bank, int slot, records::Reserved reserved = records::Reserved::FromTable);
    // Adjacent slots in one write; false, writing nothing, when one of them was never filled.
    bool StoreIDSlots(int bank, int first, int last, records::Reserved reserved);
    bool StoreBankName(int bank);
    bool StoreBankTrunkType(int bank);

    bool bankStoreWritable() const { return m_bankWritable; }
    bool idBankStoreWritable() const { return m_idBankWritable; }
    QString errorString() const { return m_error; }

    QString bankPath() const { return m_bank.fileName(); }
    QString idBankPath() const { return m_idBank.fileName(); }

private:
    bool openStore(QFile& file, bool& writable);
    bool writeRecord(QFile& file, int recordSize, int record, const QByteArray& bytes);
    bool finish(QFile& file, bool ok);
    bool storeBankText(int record, const Cell& value);
    void fail(const QFile& file, const QString& what);

    QFile m_bank;
    QFile m_idBank;
    bool m_bankWritable = false;
    bool m_idBankWritable = false;
    MemoryTables* m_tables = nullptr;
    QString m_error;
};

} // namespace vexlor::memory
