#include "memory/IDListRead.h"

#include "link/Commands.h"
#include "link/ExchangeGuard.h"
#include "link/Replies.h"
#include "link/Retry.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/IDTable.h"
#include "memory/MemoryTables.h"

#include <QPointer>

namespace vexlor::memory {

using MT = MemoryTables;
namespace wire = link::wire;

IDListRead::IDListRead(link::ScannerLink& link, IDTable& ids, QObject* parent)
    : QObject(parent), m_link(link), m_ids(ids)
{
    connect(&m_link, &link::ScannerLink::shuttingDown, this, &IDListRead::abandon);
}

void IDListRead::abandon()
{
    if (m_running)
        m_link.putBack(link::cmd::key(0), false);
}

bool IDListRead::going() const { return !m_stopRequested && !m_link.isShuttingDown(); }

IDListRead::Slot IDListRead::decodeReply(const QString& reply)
{
    Slot s;
    if (reply.size() < 5)
        return s;
    const int list = reply.at(3).unicode() - 64;
    const int position = wire::slotPosition(reply.at(4));
    s.slot = MT::slotOf(list, position);
    if (s.slot == 0)
        return s;
    s.label = MT::slotLabel(s.slot);
    s.id = reply.mid(6, 6);
    s.id.replace(QChar(0xFE), QLatin1Char('='));
    return s;
}

IDListRead::Outcome IDListRead::run(int bank, int list)
{
    if (m_running || bank < 1 || bank > MT::kBanks || list < 1 || list > MT::kLists)
        return Outcome::Refused;
    link::ExchangeGuard guard(m_link, kOwner, link::ExchangeGuard::Quiet::Yes);
    if (!guard.held())
        return Outcome::Refused;
    return readHeld(bank, list);
}

IDListRead::Outcome IDListRead::readHeld(int bank, int list)
{
    if (m_running || bank < 1 || bank > MT::kBanks || list < 1 || list > MT::kLists)
        return Outcome::Refused;
    const QPointer<IDListRead> self(this);
    m_running = true;
    m_stopRequested = false;
    Outcome outcome = Outcome::Complete;
    auto fail = [&] {
        outcome = going() ? Outcome::Failed : Outcome::Stopped;
        if (self && outcome == Outcome::Failed) {
            Q_EMIT statusChanged(QStringLiteral("Trunked Mode Unavailable..."));
            Q_EMIT failed();
        }
    };

    m_link.SyncSerialOut(link::cmd::key(7));
    if (self)
        Q_EMIT statusChanged(QStringLiteral("Preparing to read IDs..."));
    const QString letter = wire::bankLetter(list);
    for (int d = 0; d <= 9; ++d) {
        if (!self || !going()) {
            outcome = Outcome::Stopped;
            break;
        }
        const QString reply = link::RetryUntil(m_link, QStringLiteral("IC ") + letter + QString::number(d),
                                               {QLatin1String("IC")});
        if (reply == link::reply::kFailure) {
            fail();
            break;
        }
        const Slot s = decodeReply(reply);
        if (s.slot == 0)
            continue; // an answer that names no slot
        m_ids.set(bank, s.slot, MT::kIdCh, s.label);
        if (self) {
            Q_EMIT statusChanged(QStringLiteral("Reading ID (%1)").arg(s.label));
            Q_EMIT progressed(d + 1, 10);
        }
        m_ids.set(bank, s.slot, MT::kIdId, s.id);
        if (s.id == QLatin1String("000000") || !MT::isDigits(s.id)) {
            m_ids.set(bank, s.slot, MT::kIdLO, QStringLiteral("="));
            continue;
        }
        m_ids.set(bank, s.slot, MT::kIdLO, QString());
        const QString probe = link::RetryUntil(m_link, link::cmd::idLockoutRelease(s.id),
                                               {QLatin1String("OK"), QLatin1String("OFF")});
        if (probe == link::reply::kFailure) {
            fail();
            break;
        }
        if (link::reply::isOk(probe)) {
            // The probe cleared the lock-out: put it back.
            link::RetrySyncOut(m_link, link::cmd::idLockout(s.id));
            m_ids.set(bank, s.slot, MT::kIdLO, QStringLiteral("="));
        }
    }
    if (!m_link.isShuttingDown())
        m_link.putBack(link::cmd::key(0));
    m_running = false;
    m_stopRequested = false;
    return outcome;
}

} // namespace vexlor::memory

#include "moc_IDListRead.cpp"
