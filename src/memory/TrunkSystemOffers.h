#pragma once

#include <QString>
#include <QStringView>

#include <array>

namespace vexlor::platform {
class Dialogs;
}

namespace vexlor::memory {

class LocalStores;
class MemoryTables;

// The trunk system the receiver reports for a bank while it trunks, against the
// trunk type the tables hold. A bank stored as another type (conventional, most
// often) loses its talkgroups at export and upload, so the directories offer the
// reported one when they show the bank. Asked once per report: a No holds until
// the receiver reports another system for that bank.
class TrunkSystemOffers {
public:
    TrunkSystemOffers(MemoryTables& tables, LocalStores& stores, platform::Dialogs& dialogs);

    // A "TB" line's system text ("E2-800"); texts no trunk type names are ignored.
    void reported(int bank, QStringView system);
    // The short form to offer for a bank, empty when there is nothing to ask.
    QString pending(int bank) const;
    // Asks about a pending report; true when the reported type was stored.
    bool offer(int bank);

private:
    static constexpr int kSlots = 11; // banks 1..10
    MemoryTables& m_tables;
    LocalStores& m_stores;
    platform::Dialogs& m_dialogs;
    std::array<QString, kSlots> m_reported;
    std::array<QString, kSlots> m_declined;
};

} // namespace vexlor::memory
