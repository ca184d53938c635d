#include "memory/BankUpload.h"

#include "link/Commands.h"
#include "link/ExchangeGuard.h"
#include "link/Replies.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/ChannelReplies.h"
#include "memory/ChannelTable.h"
#include "memory/MemoryTables.h"

#include <QPointer>

namespace vexlor::memory {

namespace {

using MT = MemoryTables;

enum class Mode { Trunk, Normal, Other };

Mode modeOf(const ChannelTable& channels, int c)
{
    if (channels.at(c, MT::kChCh).number() <= 0)
        return Mode::Other;
    const QString mode = MT::trimBlanks(channels.text(c, MT::kChMode));
    if (mode == QLatin1String("Trunk"))
        return Mode::Trunk;
    return mode == QLatin1String("Normal") ? Mode::Normal : Mode::Other;
}

bool marked(const ChannelTable& channels, int c, int col) { return channels.text(c, col) == QLatin1String("="); }

QString programCommand(const ChannelTable& channels, int c)
{
    return link::cmd::pmRead(c) + QLatin1Char(' ') + channels::uploadDigits(channels.text(c, MT::kChFrequency));
}

} // namespace

BankUpload::BankUpload(link::ScannerLink& link, const ChannelTable& channels, QObject* parent)
    : QObject(parent), m_link(link), m_channels(channels)
{
    connect(&m_link, &link::ScannerLink::shuttingDown, this, &BankUpload::abandon);
}

void BankUpload::abandon()
{
    // The transaction in flight is cut short; the receiver leaves programming now.
    if (m_running && m_prepared)
        m_link.putBack(link::cmd::key(0), false);
    m_prepared = false;
}

int BankUpload::uploadable(const ChannelTable& channels, int bank)
{
    int n = 0;
    for (int c = MT::firstChannel(bank); bank >= 1 && bank <= MT::kBanks && c < MT::firstChannel(bank) + 30; ++c)
        n += modeOf(channels, c) != Mode::Other;
    return n;
}

bool BankUpload::going() const
{
    return !m_stopRequested && !m_silent && !m_link.isShuttingDown() && m_link.lineUp();
}

bool BankUpload::send(const QString& command)
{
    answered(m_link.SyncSerialOut(command));
    return going();
}

bool BankUpload::answered(const QString& answer)
{
    // A time-out on a live line, not a refusal: the receiver is not there.
    const bool unanswered = link::reply::isFailure(answer) && m_link.receiverSilent() && m_link.lineUp();
    m_silent = m_silent || unanswered;
    return !unanswered;
}

BankUpload::Result BankUpload::run(int bank, int typeDigit)
{
    Result result;
    if (m_running || bank < 1 || bank > MT::kBanks)
        return result;
    link::ExchangeGuard guard(m_link, kOwner, link::ExchangeGuard::Quiet::No);
    if (!guard.held())
        return result;
    const QPointer<BankUpload> self(this);
    result.started = true;
    result.total = uploadable(m_channels, bank);
    m_running = true;
    m_stopRequested = false;
    m_silent = false;
    const int first = MT::firstChannel(bank);
    const int last = first + MT::kChannelsPerBank - 1;
    m_prepared = false;
    bool goingOn = true;

    // A "PM" that the line lost on the way is not counted as sent. After a
    // refused one the flags would land on the channel the receiver still holds:
    // false, and they are not sent.
    auto program = [&](int c) {
        const QString answer = m_link.SyncSerialOut(programCommand(m_channels, c));
        if (!m_link.lineUp())
            return false;
        ++result.sent;
        const bool refused = link::reply::isFailure(answer);
        if (answered(answer))
            result.refused += refused ? 1 : 0;
        else
            ++result.unanswered;
        if (self)
            Q_EMIT progressed(result.sent, result.total);
        return !refused;
    };

    for (int c = first; goingOn && c <= last; ++c) {
        if (modeOf(m_channels, c) != Mode::Trunk)
            continue;
        if (!m_prepared) {
            m_prepared = true;
            guard.quiet();
            goingOn = going() && send(link::cmd::memoryChannel(1))
                && send(link::cmd::trunkType(bank, typeDigit));
            if (goingOn && typeDigit > 0)
                goingOn = send(link::cmd::keyHeld(13)) && send(link::cmd::keyDigit(bank % 10))
                    && send(link::cmd::key(4));
            if (!goingOn)
                break;
        }
        const bool delay = marked(m_channels, c, MT::kChDLY);
        const bool lockout = marked(m_channels, c, MT::kChLO);
        // The channel's key presses always follow its "PM", even when a stop arrives meanwhile.
        const bool taken = program(c);
        if (taken && delay)
            answered(m_link.SyncSerialOut(link::cmd::key(12)));
        if (taken && lockout && !m_silent)
            answered(m_link.SyncSerialOut(link::cmd::key(6)));
        goingOn = !m_silent && send(link::cmd::key(7));
    }

    for (int c = first; goingOn && c <= last; ++c) {
        if (modeOf(m_channels, c) != Mode::Normal)
            continue;
        if (!m_prepared) {
            m_prepared = true;
            goingOn = send(link::cmd::key(0)) && send(link::cmd::memoryChannel(1));
            if (!goingOn)
                break;
        }
        const bool delay = marked(m_channels, c, MT::kChDLY);
        const bool lockout = marked(m_channels, c, MT::kChLO);
        if (!program(c)) {
            goingOn = going();
            continue;
        }
        answered(m_link.SyncSerialOut(link::cmd::delay(delay)));
        goingOn = !m_silent && send(link::cmd::lockout(lockout));
    }

    if (m_prepared && !m_link.isShuttingDown())
        m_link.putBack(link::cmd::key(0));
    m_prepared = false;
    result.stopped = !goingOn;
    result.silent = m_silent;
    result.lineLost = result.stopped && !m_link.lineUp() && !m_link.isShuttingDown();
    m_running = false;
    m_stopRequested = false;
    return result;
}

} // namespace vexlor::memory

#include "moc_BankUpload.cpp"
