#include "memory/IDUpload.h"

#include "link/Commands.h"
#include "link/ExchangeGuard.h"
#include "link/Replies.h"
#include "link/Retry.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/IDTable.h"
#include "memory/MemoryTables.h"

#include <QPointer>

#include <algorithm>

namespace vexlor::memory {

using MT = MemoryTables;
namespace wire = link::wire;

IDUpload::IDUpload(link::ScannerLink& link, const IDTable& ids, QObject* parent)
    : QObject(parent), m_link(link), m_ids(ids)
{
}

QString IDUpload::command(const IDTable& ids, int bank, int slot)
{
    const QString label = ids.text(bank, slot, MT::kIdCh);
    const qsizetype dash = label.indexOf(QLatin1Char('-'));
    if (label.isEmpty() || dash < 0)
        return QString();
    const int list = wire::leadingInt(QStringView(label).left(dash));
    const int position = wire::leadingInt(QStringView(label).mid(dash + 1));
    if (list < 1 || list > MT::kLists || position < 1 || position > MT::kSlotsPerList)
        return QString();
    // A cleared slot clears the receiver's; a text that is no number is no
    // talkgroup and is not sent, least of all as zeros.
    const QString id = MT::trimBlanks(ids.text(bank, slot, MT::kIdId).left(6));
    const bool cleared = MT::isClearedId(id);
    if (!cleared && !MT::isDigits(id))
        return QString();
    return link::cmd::storeTalkgroup(bank, list, position, cleared ? QStringLiteral("000000") : id);
}

IDUpload::Result IDUpload::run(int bank, int list)
{
    Result result;
    if (m_running || bank < 1 || bank > MT::kBanks || list < 1 || list > MT::kLists)
        return result;
    link::ExchangeGuard guard(m_link, kOwner, link::ExchangeGuard::Quiet::Yes);
    if (!guard.held())
        return result;
    const QPointer<IDUpload> self(this);
    // Held apart from `this`, which the event loop inside an exchange may delete.
    link::ScannerLink& scanner = m_link;
    result.started = true;
    m_running = true;
    m_stopRequested = false;

    QStringList commands;
    for (int position = 1; position <= MT::kSlotsPerList; ++position) {
        const QString c = command(m_ids, bank, MT::slotOf(list, position));
        if (!c.isEmpty())
            commands << c;
    }
    result.total = int(commands.size());

    // A time-out on a live line, not a refusal: the receiver is not there, and the rest would only wait too.
    auto unanswered = [&](const QString& answer) {
        result.silent = result.silent || (link::reply::isFailure(answer) && scanner.receiverSilent() && scanner.lineUp());
        return result.silent;
    };
    auto going = [&] {
        return self && !m_stopRequested && !result.silent && !scanner.isShuttingDown() && scanner.lineUp();
    };
    unanswered(scanner.SyncSerialOut(link::cmd::memoryChannel(1)));
    if (going())
        unanswered(scanner.SyncSerialOut(link::cmd::kAFF));
    for (const QString& c : commands) {
        if (!going())
            break;
        const QString answer = scanner.SyncSerialOut(c);
        if (!scanner.lineUp())
            break; // lost on the way: not counted
        ++result.sent;
        if (unanswered(answer))
            ++result.unanswered;
        else
            result.refused += link::reply::isFailure(answer) ? 1 : 0;
        if (self)
            Q_EMIT progressed(result.sent, result.total);
    }
    result.stopped = !going();
    result.lineLost = result.stopped && self && !scanner.lineUp() && !scanner.isShuttingDown();
    // Stopped or not, the receiver goes back to the bank it was on: with the
    // line down, once it returns, or it would be left on channel 1.
    for (const QString& c : {QLatin1String("MA") + MT::firstChannelText(bank), link::cmd::key(13)}) {
        if (scanner.lineUp() && result.silent)
            scanner.Write(c); // a silent receiver would only add time-outs
        else if (scanner.lineUp())
            link::RetrySyncOut(scanner, c);
        if (!scanner.lineUp())
            scanner.putBack(c, false);
    }
    if (self) {
        m_running = false;
        m_stopRequested = false;
    }
    return result;
}

} // namespace vexlor::memory

#include "moc_IDUpload.cpp"
