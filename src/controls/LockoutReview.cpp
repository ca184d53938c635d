#include "controls/LockoutReview.h"

#include "link/Commands.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "monitor/FreqLockoutList.h"
#include "platform/Dialogs.h"

namespace vexlor::controls {

LockoutReview::LockoutReview(link::ScannerLink& link, monitor::FreqLockoutList& list, platform::Dialogs& dialogs,
                             QObject* parent)
    : QObject(parent), m_link(link), m_list(list), m_dialogs(dialogs)
{
    connect(&m_list, &monitor::FreqLockoutList::changed, this, &LockoutReview::changed);
}

void LockoutReview::FreqLockOutMnu_Click()
{
    m_list.clear();
    read();
}

void LockoutReview::Command1_Click()
{
    m_list.FreqList1.clear();
    Q_EMIT changed();
    read();
}

void LockoutReview::read()
{
    for (int slot = 1; slot <= kSlots; ++slot)
        m_link.Write(link::cmd::lockoutSearch(slot));
    Q_EMIT readingStarted();
}

void LockoutReview::FreqList1_DblClick(int row)
{
    if (row < 0 || row >= m_list.FreqList1.size())
        return;
    const QString mhz = link::wire::frequencyFromWire(m_list.FreqList1.at(row));
    platform::Dialogs::Message m {
        QStringLiteral("%1 MHz can only be removed from the lock/out list on the scanner itself.").arg(mhz),
        QString(), platform::Dialogs::Buttons::Ok, platform::Dialogs::Icon::Information};
    m.informative = QStringLiteral("Put the scanner in search hold and unlock the frequency there with its "
                                   "L/O key, then read the list again.");
    m_dialogs.message(m);
}

} // namespace vexlor::controls

#include "moc_LockoutReview.cpp"
