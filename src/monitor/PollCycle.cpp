#include "monitor/PollCycle.h"

#include "link/Commands.h"
#include "link/ScannerLink.h"
#include "monitor/MainDisplay.h"
#include "monitor/StatusDecoder.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"

#include <algorithm>

namespace vexlor::monitor {

namespace {
constexpr double kRequestFillLimit = 0.8;
const QString kCR = QStringLiteral("\r");
}

PollCycle::PollCycle(platform::SerialPort& port, link::ScannerLink& link, StatusDecoder& decoder,
                     MainDisplay& display, QObject* parent)
    : QObject(parent), m_port(port), m_link(link), m_decoder(decoder), m_display(display)
{
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &PollCycle::tick);
    // The exchange read or dropped the last round's replies: waiting for them
    // would only hold the display back, and count as silence.
    connect(&m_link, &link::ScannerLink::pollResumed, this, [this] {
        m_openRounds = 0;
        m_emptyTicks = 0;
    });
}

void PollCycle::tick()
{
    if (m_remote) {
        m_remote->forwardTick();
        m_remote->statusUpkeep();
    }
    m_askedThisTick = m_roundClosedThisTick = false;
    requestStatus();
    detectSilence();
    gatherLines();
    // The last round's replies came in this tick: the next need not wait a tick more.
    if (m_roundClosedThisTick && !m_askedThisTick)
        requestStatus();
    // A batch is decoded once: an empty tick must not repeat its log lines,
    // carrier starts and follow-up queries. A transaction's batch is decoded too.
    if (!m_link.ScannerOffline() && m_link.ReplyBatch() != m_decodedBatch) {
        m_decodedBatch = m_link.ReplyBatch();
        m_decoder.DecodeStatusLines();
    }
}

int PollCycle::roundsInFlight() const { return m_link.lineMs(kRoundBytes) <= kIntervalMs ? 2 : 1; }

qint64 PollCycle::roundWaitMs() const { return std::max<qint64>(kIntervalMs, kRoundWaits * m_link.lineMs(kRoundBytes)); }

void PollCycle::requestStatus()
{
    const int capacity = m_port.inBufferSize();
    if (!StatusChk || capacity <= 0 || m_port.bytesAvailable() >= kRequestFillLimit * capacity
        || m_port.bytesToWrite() > kMaxPendingOutput)
        return;
    // A slow line carries fewer rounds than ticks: asking again before the
    // replies are in only queues answers that are stale when they arrive.
    const qint64 now = m_link.clock().monotonicMs();
    // Replies still coming are late, not lost: asking again would only fill
    // the receiver's input buffer behind them.
    const bool overdue = now - std::max(m_roundSentMs, m_lastInputMs) >= roundWaitMs();
    if (m_openRounds >= roundsInFlight() && !overdue)
        return;
    // Replies overdue are taken as lost: they must not hold every round after.
    if (overdue)
        m_openRounds = 0;
    for (const auto q : link::cmd::kPollQueries)
        m_link.Write(q);
    ++m_openRounds;
    m_roundSentMs = now;
    m_askedThisTick = true;
}

void PollCycle::detectSilence()
{
    if (m_port.bytesAvailable() > 0)
        return;
    if (!m_link.ScannerOffline())
        ++m_emptyTicks;
    // At or past the limit: a line-state change may have cleared the flag
    // without a byte arriving, and a silent receiver must still be shown.
    if (m_emptyTicks >= kOfflineTicks && !m_link.ScannerOffline()) {
        m_display.s.ModeLbl = link::ScannerLink::kOfflineText;
        m_display.publish();
        m_link.setScannerOffline(true);
    }
}

void PollCycle::gatherLines()
{
    if (m_port.bytesAvailable() <= 0)
        return;
    m_link.setScannerOffline(false);
    m_emptyTicks = 0;
    m_lastInputMs = m_link.clock().monotonicMs();
    m_pending += QString::fromLatin1(m_port.readAll());

    QStringList pieces = m_pending.split(kCR);
    for (QString& p : pieces) {
        if (p.isEmpty())
            p = kCR;
    }
    Q_EMIT rawLinesShown(pieces.join(QStringLiteral("\r\n")));
    // Replies come in order: the answer to the round's last request closes it.
    // Only a whole line: the start of one is seen again with its end next tick.
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        if (m_openRounds > 0 && pieces[i].startsWith(QLatin1String("LO"))) {
            --m_openRounds;
            m_roundClosedThisTick = true;
        }
    }

    if (m_pending.endsWith(kCR)) {
        m_pending.clear();
    } else {
        m_pending = m_pending.mid(m_pending.lastIndexOf(kCR) + 1);
        pieces.last() = QStringLiteral("NG"); // incomplete: kept for the next tick
        // No receiver line is this long: without the cap, noise with no CR
        // would grow the text and the work of every tick without end.
        if (m_pending.size() > kMaxPendingInput)
            m_pending.clear();
    }
    QStringList lines;
    for (const QString& p : std::as_const(pieces)) {
        if (!p.contains(QLatin1String("NG")) && !p.contains(QLatin1String("ERR")) && !p.contains(kCR))
            lines.append(p);
    }
    m_link.setReplyLines(lines);
}

} // namespace vexlor::monitor

#include "moc_PollCycle.cpp"
