#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace vexlor::link {
class ScannerLink;
}
namespace vexlor::memory {
class LocalStores;
class MemoryTables;
}
namespace vexlor::monitor {
class MainDisplay;
}
namespace vexlor::platform {
class Dialogs;
}

namespace vexlor::controls {

// The locked-out talkgroups of the trunk bank on display, as the local ID
// table marks them. Clearing one asks the receiver ("ILD") and follows its
// answer, in the table and in the store.
class IdLockoutReview : public QObject {
    Q_OBJECT
public:
    struct Entry {
        int slot = 0;  // 1..100 in the bank
        QString label; // "L-n"
        QString id;
        QString type;
        QString name;
    };

    IdLockoutReview(link::ScannerLink& link, const monitor::MainDisplay& display, memory::MemoryTables& tables,
                    memory::LocalStores& stores, platform::Dialogs& dialogs, QObject* parent = nullptr);

    // The bank reviewed, 1..10, or 0 when no trunk bank is on display.
    int bank() const { return m_bank; }
    const QList<Entry>& entries() const { return m_entries; }

    // "See ID Lock/Out": the list of the bank now on display.
    void IDLockOutMnu_Click();
    // Lists the reviewed bank again, after the table changed elsewhere.
    void refresh();
    // Clears the lock-out of the entry at row on the receiver.
    void IDList_DblClick(int row);

    // Placeholders that mark empty or cleared slots are no talkgroups.
    static bool isTalkgroup(const QString& id);

Q_SIGNALS:
    void changed();

private:
    void list(int bank);
    bool stillLockedOut(const Entry& e) const;
    void tell(const QString& text, const QString& more);

    link::ScannerLink& m_link;
    const monitor::MainDisplay& m_display;
    memory::MemoryTables& m_tables;
    memory::LocalStores& m_stores;
    platform::Dialogs& m_dialogs;
    int m_bank = 0;
    QList<Entry> m_entries;
    bool m_busy = false;
};

} // namespace vexlor::controls
