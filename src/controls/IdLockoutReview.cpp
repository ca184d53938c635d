#include "controls/IdLockoutReview.h"

#include "link/Commands.h"
#include "link/Replies.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "monitor/MainDisplay.h"
#include "platform/Dialogs.h"

#include <QPointer>
#include <algorithm>

namespace vexlor::controls {

using memory::MemoryTables;

namespace {
const QLatin1String kLockedOut {"="};
} // namespace

IdLockoutReview::IdLockoutReview(link::ScannerLink& link, const monitor::MainDisplay& display,
                                 memory::MemoryTables& tables, memory::LocalStores& stores,
                                 platform::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_link(link), m_display(display), m_tables(tables), m_stores(stores), m_dialogs(dialogs)
{
}

bool IdLockoutReview::isTalkgroup(const QString& id)
{
    const QString t = id.trimmed();
    return std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c != QLatin1Char('0') && c != QLatin1Char('-'); });
}

void IdLockoutReview::IDLockOutMnu_Click()
{
    const int shown = link::wire::leadingInt(m_display.published().FreqBankLbl);
    list(shown >= 1 && shown <= MemoryTables::kBanks ? shown : 0);
}

void IdLockoutReview::refresh() { list(m_bank); }

void IdLockoutReview::list(int bank)
{
    m_bank = bank;
    m_entries.clear();
    for (int slot = 1; bank && slot <= MemoryTables::kSlots; ++slot) {
        Entry e;
        e.slot = slot;
        e.id = m_tables.IDs.text(bank, slot, MemoryTables::kIdId).trimmed();
        if (stillLockedOut(e)) {
            e.label = MemoryTables::slotLabel(slot);
            e.type = m_tables.IDs.text(bank, slot, MemoryTables::kIdType);
            e.name = m_tables.IDs.text(bank, slot, MemoryTables::kIdName);
            m_entries.append(e);
        }
    }
    Q_EMIT changed();
}

bool IdLockoutReview::stillLockedOut(const Entry& e) const
{
    const auto& ids = m_tables.IDs;
    return m_bank && ids.text(m_bank, e.slot, MemoryTables::kIdLO).trimmed() == kLockedOut
        && ids.text(m_bank, e.slot, MemoryTables::kIdId).trimmed() == e.id && isTalkgroup(e.id);
}

void IdLockoutReview::tell(const QString& text, const QString& more)
{
    platform::Dialogs::Message m {text, QString(), platform::Dialogs::Buttons::Ok,
                                  platform::Dialogs::Icon::Information};
    m.informative = more;
    m_dialogs.message(m);
}

void IdLockoutReview::IDList_DblClick(int row)
{
    // The transaction runs the event loop, so a second double-click can arrive.
    if (m_busy || row < 0 || row >= m_entries.size())
        return;
    const Entry e = m_entries.at(row);
    if (!stillLockedOut(e)) {
        refresh(); // the ID directory changed it meanwhile
        return;
    }
    if (m_link.isBusy()) {
        // Another long exchange owns the line; its replies are not ours to take.
        tell(QStringLiteral("The scanner is busy with another exchange."),
             QStringLiteral("Try again when it has finished."));
        return;
    }

    const QPointer<IdLockoutReview> self(this);
    m_busy = true;
    m_link.QuietScanner(true);
    const QString reply = m_link.SyncSerialOut(link::cmd::idLockoutRelease(e.id));
    m_link.QuietScanner(false);
    if (!self)
        return;
    m_busy = false;

    const int bank = m_bank;
    const bool wasLockedOut = link::reply::isOk(reply);
    if (wasLockedOut || link::reply::isOff(reply)) {
        // Either way the receiver now has it unlocked; the table follows.
        if (stillLockedOut(e)) {
            m_tables.IDs.set(bank, e.slot, MemoryTables::kIdLO, QString());
            m_stores.StoreIDSlot(bank, e.slot);
            m_tables.announce(memory::MemoryChange::ids(bank, e.slot, e.slot, this));
        }
        if (!wasLockedOut)
            tell(QStringLiteral("ID %1 was not locked out on the scanner.").arg(e.id),
                 QStringLiteral("Its lock-out mark is removed from the ID directory."));
    } else {
        const QString answer = reply.trimmed();
        tell(QStringLiteral("The scanner did not clear the lock-out of ID %1.").arg(e.id),
             answer.isEmpty() || reply == link::reply::kTimeout
                 ? QStringLiteral("It did not answer. Nothing is changed.")
                 : QStringLiteral("It answered \"%1\". Nothing is changed.").arg(answer));
    }
    refresh();
}

} // namespace vexlor::controls

#include "moc_IdLockoutReview.cpp"
