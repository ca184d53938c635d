#include "memory/ReceiverBackup.h"

#include "link/Commands.h"
#include "link/ExchangeGuard.h"
#include "link/Replies.h"
#include "link/Retry.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/ChannelReplies.h"
#include "memory/IDListRead.h"
#include "memory/MemoryTables.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace vexlor::memory {

namespace {

using MT = MemoryTables;
namespace cmd = link::cmd;

// Far more than a window of replies; a flood without line ends is dropped here.
constexpr qsizetype kMaxPending = 4096;
// How long bytes that answer none of the queries may keep coming.
constexpr qint64 kStallMs = 60000;
// Real time between looks at the line. Four queries keep more than 100 ms of
// replies on their way, so looking every 20 ms keeps the line busy while
// waking far less often than once per arriving chunk.
constexpr int kWakeMs = 20;

bool trunked(const MemoryTables& t, int bank) { return !t.BankTrunkTypes.at(bank).isBlank(); }

} // namespace

ReceiverBackup::ReceiverBackup(link::ScannerLink& link, platform::SerialPort& port, QObject* parent)
    : QObject(parent), m_link(link), m_port(port)
{
}

int ReceiverBackup::steps(const MemoryTables& local)
{
    int n = MT::kChannels;
    for (int b = 1; b <= MT::kBanks; ++b)
        n += trunked(local, b) ? MT::kLists : 0;
    return n;
}

QString ReceiverBackup::bankList(const QList<int>& banks)
{
    QStringList words;
    for (int b : banks)
        words << QString::number(b);
    const QString last = words.isEmpty() ? QString() : words.takeLast();
    if (words.isEmpty())
        return QStringLiteral("bank ") + last;
    return QStringLiteral("banks ") + words.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

void ReceiverBackup::stop()
{
    m_stopRequested = true;
    if (m_reader)
        m_reader->stop();
}

bool ReceiverBackup::going() const { return !m_stopRequested && !m_link.isShuttingDown(); }

qint64 ReceiverBackup::serialTimeoutMs() const { return qint64(std::max(1.0, m_link.SerialPortTimeout()) * 1000); }

bool ReceiverBackup::fail(const QString& why)
{
    if (m_failure.isEmpty())
        m_failure = why;
    return false;
}

void ReceiverBackup::step()
{
    ++m_done;
    Q_EMIT progressed(m_done, m_total);
}

void ReceiverBackup::waitForData(qint64 deadlineMs)
{
    QEventLoop loop;
    QTimer wake;
    wake.setSingleShot(true);
    connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&m_port, &platform::SerialPort::lineStateChanged, &loop, &QEventLoop::quit);
    connect(&m_link, &link::ScannerLink::abortWaits, &loop, &QEventLoop::quit);
    const qint64 remaining = deadlineMs - m_link.clock().monotonicMs();
    wake.start(int(std::clamp<qint64>(remaining, 1, kWakeMs)));
    // -1: the application is quitting and nested loops return at once.
    if (loop.exec() < 0)
        m_stopRequested = true;
}

bool ReceiverBackup::again(int channel, std::deque<int>& toAsk)
{
    if (++m_attempts[channel] >= kAttempts)
        return fail(QStringLiteral("The scanner did not answer for channel %1.").arg(channel));
    toAsk.push_front(channel);
    return true;
}

qsizetype ReceiverBackup::takeLines(std::deque<int>& asked, std::deque<int>& toAsk, MemoryTables& out)
{
    const QByteArray bytes = m_port.readAll();
    m_pending += bytes;
    qsizetype end;
    while ((end = m_pending.indexOf('\r')) >= 0) {
        const QString line = QString::fromLatin1(m_pending.left(end));
        m_pending.remove(0, end + 1);
        if (line.isEmpty())
            continue;
        const auto c = channels::parseLine(line);
        const auto at = c ? std::find(asked.begin(), asked.end(), c->channel) : asked.end();
        if (at != asked.end()) {
            asked.erase(at);
            channels::fill(*c, out.Channels);
            step();
        } else if (!asked.empty() && link::reply::isFailure(line)) {
            // Replies come in order: this one answered the oldest query, which
            // is asked again. Not counted as an attempt: an old reply to the
            // poll may be what answered. Refused on and on, it fails.
            const int channel = asked.front();
            const qint64 now = m_link.clock().monotonicMs();
            if (m_refusedSince[channel] < 0)
                m_refusedSince[channel] = now;
            else if (now - m_refusedSince[channel] > serialTimeoutMs())
                fail(QStringLiteral("The scanner refused the query for channel %1.").arg(channel));
            toAsk.push_front(channel);
            asked.pop_front();
        }
    }
    if (m_pending.size() > kMaxPending)
        m_pending.clear();
    return bytes.size();
}

bool ReceiverBackup::readChannels(MemoryTables& out)
{
    Q_EMIT statusChanged(QStringLiteral("Reading channels..."));
    std::deque<int> toAsk;
    for (int c = 1; c <= MT::kChannels; ++c)
        toAsk.push_back(c);
    std::deque<int> asked;
    m_port.readAll(); // whatever came before the first query answers none of them
    m_pending.clear();
    std::fill(std::begin(m_refusedSince), std::end(m_refusedSince), -1);
    const qint64 timeoutMs = serialTimeoutMs();
    qint64 lastAnswer = m_link.clock().monotonicMs();
    qint64 lastByte = lastAnswer;
    while (!toAsk.empty() || !asked.empty()) {
        if (!going())
            return false;
        if (!m_link.lineUp())
            return fail(QStringLiteral("The serial line went down."));
        while (asked.size() < size_t(kWindow) && !toAsk.empty()) {
            asked.push_back(toAsk.front());
            toAsk.pop_front();
            m_link.Write(cmd::pmRead(asked.back()));
        }
        const int before = m_done;
        const qsizetype received = takeLines(asked, toAsk, out);
        if (!m_failure.isEmpty())
            return false;
        const qint64 now = m_link.clock().monotonicMs();
        if (received > 0)
            lastByte = now;
        if (m_done != before) {
            lastAnswer = now;
            continue;
        }
        // Replies to the poll's last queries may still be on their way at a
        // slow speed: while bytes flow the receiver is busy, not deaf.
        if (now - lastAnswer > std::max(timeoutMs, kStallMs))
            return fail(QStringLiteral("The scanner answers none of the queries."));
        if (now - std::max(lastAnswer, lastByte) > timeoutMs) {
            // The receiver lost these queries: ask them again, oldest first.
            for (auto it = asked.rbegin(); it != asked.rend(); ++it) {
                if (!again(*it, toAsk))
                    return false;
            }
            asked.clear();
            m_pending.clear();
            lastAnswer = lastByte = now;
            continue;
        }
        waitForData(std::max(lastAnswer, lastByte) + timeoutMs + 1);
    }
    return true;
}

void ReceiverBackup::notRead(int bank, int fromList, MemoryTables& out)
{
    // The local IDs of lists the receiver did not give would pass for its own.
    for (int s = 1; s <= MT::kSlots; ++s) {
        if (MT::listOfSlot(s) >= fromList)
            out.IDs.clearSlot(bank, s);
    }
    m_unreadBanks.append(bank);
    m_done += MT::kLists - fromList + 1;
    Q_EMIT progressed(m_done, m_total);
}

bool ReceiverBackup::readIDs(const MemoryTables& local, MemoryTables& out)
{
    QString saved;
    for (int b = 1; b <= MT::kBanks; ++b) {
        if (!trunked(local, b))
            continue;
        if (saved.isEmpty()) {
            // The active banks go back as they were once the lists are read.
            saved = cmd::restoreBanks(link::RetryUntil(m_link, cmd::kSB, {QLatin1String("SB")}));
            if (saved == link::reply::kFailure)
                return going() && fail(QStringLiteral("The scanner did not tell its active banks."));
        }
        const QString letter = link::wire::bankLetter(b);
        const bool selected
            = link::RetryUntil(m_link, QStringLiteral("SB ") + letter, {QLatin1String("SB ")}) != link::reply::kFailure;
        if (!going())
            break;
        int list = 1;
        for (; selected && list <= MT::kLists && going(); ++list) {
            Q_EMIT statusChanged(QStringLiteral("Reading bank %1, ID list %2...").arg(b).arg(list));
            // Each list read ends with the scan key: back into the bank's trunk mode first.
            link::RetrySyncOut(m_link, cmd::memoryChannel(MT::firstChannel(b)));
            link::RetrySyncOut(m_link, cmd::key(13));
            IDListRead reader(m_link, out.IDs);
            m_reader = &reader;
            const IDListRead::Outcome outcome = reader.readHeld(b, list);
            m_reader = nullptr;
            if (outcome != IDListRead::Outcome::Complete)
                break;
            step();
        }
        if (!going())
            break;
        if (!m_link.lineUp()) {
            fail(QStringLiteral("The serial line went down."));
            break;
        }
        // A bank the receiver will not scan in trunk mode costs only its own lists.
        if (list <= MT::kLists)
            notRead(b, list, out);
    }
    if (!saved.isEmpty() && saved != link::reply::kFailure && !m_link.isShuttingDown()) {
        if (m_link.lineUp())
            link::RetrySyncOut(m_link, saved);
        else
            m_link.putBack(saved, false);
    }
    return m_failure.isEmpty() && going();
}

ReceiverBackup::Outcome ReceiverBackup::run(const MemoryTables& local, MemoryTables& out)
{
    if (m_running)
        return Outcome::Refused;
    link::ExchangeGuard guard(m_link, kOwner, link::ExchangeGuard::Quiet::Yes);
    if (!guard.held())
        return Outcome::Refused;
    m_running = true;
    m_stopRequested = false;
    m_failure.clear();
    std::fill(std::begin(m_attempts), std::end(m_attempts), 0);
    m_done = 0;
    m_total = steps(local);
    out = local;
    for (int b = 1; b <= MT::kBanks; ++b)
        out.BankImported.set(b, false);

    m_unreadBanks.clear();
    const bool complete = readChannels(out) && readIDs(local, out);
    guard.release();
    m_running = false;
    if (complete)
        return m_unreadBanks.isEmpty() ? Outcome::Complete : Outcome::Partial;
    return m_failure.isEmpty() ? Outcome::Stopped : Outcome::Failed;
}

} // namespace vexlor::memory

#include "moc_ReceiverBackup.cpp"
