#include "link/ScannerLink.h"

#include "link/Commands.h"
#include "link/Replies.h"
#include "platform/Clock.h"
#include "platform/SerialSettings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vexlor::link {

namespace {

constexpr char kCR = '\r';
// Keeps a mistyped time-out from overflowing the millisecond arithmetic.
constexpr double kMaxTimeoutSeconds = 1e9;

void yieldOnce() { QCoreApplication::processEvents(); }

} // namespace

ScannerLink::ScannerLink(platform::SerialPort& port, platform::Clock& clock, QObject* parent)
    : QObject(parent), m_port(port), m_clock(clock), m_portAlive(&port), m_clockAlive(&clock)
{
    connect(&m_port, &platform::SerialPort::lineStateChanged, this, &ScannerLink::OnComm);
    // Any byte from the receiver, a poll reply included, says it is there.
    connect(&m_port, &platform::SerialPort::readyRead, this, [this] { m_silent = false; });
}

ScannerLink::~ScannerLink() = default;

void ScannerLink::setPollTimer(QTimer* timer) { m_pollTimer = timer; }

QTimer* ScannerLink::pollTimer() const { return m_pollTimer; }

void ScannerLink::setSerialPortTimeout(double seconds)
{
    m_timeoutSeconds = std::isnan(seconds) ? 0 : std::clamp(seconds, -kMaxTimeoutSeconds, kMaxTimeoutSeconds);
}

bool ScannerLink::portUsable() const { return !m_closing && m_portAlive && m_clockAlive && m_port.isOpen(); }

qint64 ScannerLink::timeoutMs() const { return qint64(std::llround(m_timeoutSeconds * 1000.0)); }

bool ScannerLink::timedOut(qint64 startMs) const { return m_clock.monotonicMs() - startMs > timeoutMs(); }

namespace {
// Start bit, data, parity and stop bits: what one byte costs on the wire.
struct LineSpeed {
    qint64 baud;
    int bitsPerByte;
};
LineSpeed lineSpeed(const QString& settings)
{
    const auto s = platform::SerialSettings::parse(settings).value_or(platform::SerialSettings {});
    return {std::max<qint64>(1, s.baud), 1 + s.dataBits + (s.parity == QLatin1Char('n') ? 0 : 1) + s.stopBits};
}
} // namespace

qint64 ScannerLink::outputLimit() const
{
    const LineSpeed l = lineSpeed(m_port.settings());
    return std::max(kMinOutputBytes, l.baud * kOutputSeconds / l.bitsPerByte);
}

qint64 ScannerLink::lineMs(qint64 bytes) const
{
    const LineSpeed l = lineSpeed(m_port.settings());
    return (bytes * l.bitsPerByte * 1000 + l.baud - 1) / l.baud;
}

void ScannerLink::Write(const QString& command)
{
    if (!m_portAlive || !m_port.isOpen())
        return;
    const QByteArray bytes = command.toLatin1() + kCR;
    if (m_port.bytesToWrite() + bytes.size() > outputLimit()) {
        Q_EMIT writesDropped(++m_droppedWrites);
        return;
    }
    m_port.write(bytes);
}

void ScannerLink::send(const QString& command)
{
    // Shut-down still writes its last commands (release, remote off).
    if (m_portAlive && m_port.isOpen())
        m_port.write(command.toLatin1() + kCR);
}

void ScannerLink::boundReply(QByteArray& received)
{
    if (received.size() <= kMaxReplyInput)
        return;
    // Start after a CR so no cut line reaches the decoder; a last line too
    // long to fit is noise and goes too.
    const qsizetype cr = received.indexOf(kCR, received.size() - kMaxReplyInput - 1);
    received = cr < 0 ? QByteArray() : received.mid(cr + 1);
}

QString ScannerLink::fail()
{
    // Timed out on a live line, rather than cut off by the line or the end.
    m_silent = portUsable() && m_port.dsr();
    if (m_closing)
        return reply::kTimeout; // nothing is shown any more
    Q_EMIT offlineShown();
    return reply::kTimeout;
}

void ScannerLink::waitForWake(qint64 startMs)
{
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&m_port, &platform::SerialPort::readyRead, &loop, &QEventLoop::quit);
    connect(&m_port, &platform::SerialPort::lineStateChanged, &loop, &QEventLoop::quit);
    connect(&m_port, &QObject::destroyed, &loop, &QEventLoop::quit);
    connect(&m_clock, &platform::Clock::jumped, &loop, &QEventLoop::quit);
    connect(&m_clock, &QObject::destroyed, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    connect(this, &ScannerLink::abortWaits, &loop, &QEventLoop::quit);
    // One past the deadline, since only "more than" the time-out counts.
    const qint64 remaining = startMs + timeoutMs() - m_clock.monotonicMs() + 1;
    deadline.start(int(std::clamp<qint64>(remaining, 1, std::numeric_limits<int>::max())));
    // -1: the application is quitting and no nested loop runs any more;
    // waiting on would spin until the deadline.
    if (loop.exec() < 0)
        m_closing = true;
}

void ScannerLink::setReplyLines(const QStringList& lines)
{
    m_replyLines = lines;
    ++m_replyBatch;
}

QString ScannerLink::SyncSerialOut(const QString& command)
{
    if (!portUsable() || !m_port.dsr())
        return fail();
    // Bytes already waiting are not discarded: they count as the reply's start.
    send(command);

    // Handlers that run while we yield may close the port or destroy us.
    const QPointer<ScannerLink> self(this);
    yieldOnce();
    if (!self)
        return reply::kTimeout;
    if (!portUsable())
        return fail();

    qint64 start = m_clock.monotonicMs();
    for (;;) {
        yieldOnce();
        if (!self)
            return reply::kTimeout;
        if (!portUsable() || timedOut(start))
            return fail();
        if (m_port.bytesAvailable() >= 3)
            break;
        waitForWake(start);
        if (!self)
            return reply::kTimeout;
    }

    start = m_clock.monotonicMs();
    QByteArray received;
    for (;;) {
        if (!portUsable() || timedOut(start))
            return fail(); // what was read is dropped
        yieldOnce();
        if (!self)
            return reply::kTimeout;
        if (!portUsable())
            return fail();
        received += m_port.readAll();
        boundReply(received);
        if (received.endsWith(kCR))
            break;
        waitForWake(start);
        if (!self)
            return reply::kTimeout;
    }

    QStringList pieces = QString::fromLatin1(received).split(QLatin1Char(kCR));
    QStringList lines;
    for (QString& piece : pieces) {
        if (piece.isEmpty())
            piece = QString(QLatin1Char(kCR));
        else
            lines.append(piece);
    }
    m_silent = false;
    setReplyLines(lines);
    const QString result = lines.isEmpty() ? QString() : lines.last();
    Q_EMIT rawLinesShown(pieces.join(QLatin1String("\r\n")));
    return result;
}

void ScannerLink::QuietScanner(bool QuietState)
{
    const QPointer<ScannerLink> self(this);
    if (m_closing) {
        // shutDown() has released the receiver; the poll stays stopped.
        m_quieted = false;
        return;
    }
    if (QuietState) {
        if (m_pollTimer)
            m_pollTimer->stop();
        if (m_quieted)
            return;
        // Each exchange asks afresh whether the receiver answers.
        m_silent = false;
        m_quieting = true;
        for (const QLatin1String command : cmd::kQuietCommands) {
            // After a time-out the rest go straight: waiting on a silent
            // receiver would only add time-outs before the exchange finds it.
            if (m_silent)
                Write(command);
            else
                SyncSerialOut(command);
            if (!self)
                return;
            if (m_closing)
                break;
        }
        m_quieting = false;
        // Even a partly quieted receiver is released in the end.
        m_quieted = !m_closing;
        return;
    }
    if (!m_quieted)
        return;
    for (const QLatin1String command : cmd::kReleaseCommands) {
        putBack(command);
        if (!self)
            return;
    }
    m_quieted = false;
    resumePoll();
}

QString ScannerLink::putBack(const QString& command, bool wait)
{
    if (m_closing)
        return reply::kTimeout;
    const QPointer<ScannerLink> self(this);
    QString answer;
    // A silent receiver gets the rest straight: each wait would only time out.
    if (wait && !m_silent)
        answer = SyncSerialOut(command);
    else if (lineUp())
        Write(command);
    // Down now: it may not have arrived, and sent twice it does no harm.
    if (self && !lineUp())
        owe(command);
    return answer;
}

void ScannerLink::owe(const QString& command)
{
    if (!m_closing && !m_owed.contains(command))
        m_owed.append(command);
}

void ScannerLink::pausePoll()
{
    if (m_pollTimer)
        m_pollTimer->stop();
}

void ScannerLink::resumePoll()
{
    if (!m_pollTimer || m_closing)
        return;
    m_pollTimer->start();
    Q_EMIT pollResumed();
}

bool ScannerLink::holdPoll()
{
    if (!m_pollTimer || !m_pollTimer->isActive())
        return false;
    m_pollTimer->stop();
    // Two rounds of replies at most are on their way; the line is settled
    // once it has been still for the time of a short reply.
    const qint64 stillMs = std::max<qint64>(40, lineMs(kSettleStillBytes));
    QDeadlineTimer bound(lineMs(kSettleBytes) + stillMs);
    QElapsedTimer still;
    still.start();
    const QPointer<ScannerLink> self(this);
    while (portUsable() && !bound.hasExpired() && still.elapsed() < stillMs) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
        if (!self)
            return false;
        if (portUsable() && m_port.bytesAvailable() > 0) {
            m_port.readAll();
            still.restart();
        }
    }
    return true;
}

bool ScannerLink::claim(const QString& owner)
{
    if (m_closing || isBusy())
        return false;
    m_owner = owner;
    return !m_owner.isEmpty();
}

void ScannerLink::unclaim(const QString& owner)
{
    if (m_owner == owner)
        m_owner.clear();
}

void ScannerLink::shutDown()
{
    if (m_closing)
        return;
    const QPointer<ScannerLink> self(this);
    Q_EMIT shuttingDown();
    if (!self)
        return;
    if (m_quieted || m_quieting) {
        // A line that is down gets them when it returns (sendOwed).
        for (const QLatin1String command : cmd::kReleaseCommands)
            lineUp() ? send(command) : owe(command);
        m_quieted = m_quieting = false;
    }
    m_closing = true;
    if (m_pollTimer)
        m_pollTimer->stop();
    Q_EMIT abortWaits();
}

void ScannerLink::OnComm(platform::SerialPort::LineEvent event)
{
    const bool cts = m_port.cts();
    const bool dsr = m_port.dsr();
    const bool changedOn = event == platform::SerialPort::LineEvent::CtsChanged ? cts : dsr;
    const bool otherOn = event == platform::SerialPort::LineEvent::CtsChanged ? dsr : cts;
    if (!changedOn) {
        m_offline = true;
        m_port.discardInput();
        m_port.discardOutput();
        Q_EMIT offlineShown();
    } else if (!otherOn) {
        m_offline = false;
    }
    if (lineUp())
        writeOwed();
}

void ScannerLink::writeOwed()
{
    // The line is back: what the receiver missed while it was down goes first.
    for (const QString& command : std::exchange(m_owed, {}))
        Write(command);
}

bool ScannerLink::sendOwed(int waitMs, const std::function<bool()>& giveUp)
{
    const QPointer<ScannerLink> self(this);
    // Real time: the program's end must not hang on a clock that stands still.
    const QDeadlineTimer deadline(waitMs);
    // Past shut-down lineUp() is false for good, so the port itself is asked.
    const auto up = [this] { return m_portAlive && m_port.isOpen() && m_port.dsr(); };
    while (self && !m_owed.isEmpty() && !up() && !deadline.hasExpired() && !(giveUp && giveUp())) {
        QEventLoop loop;
        QTimer tick;
        connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(&m_port, &platform::SerialPort::lineStateChanged, &loop, &QEventLoop::quit);
        tick.start(100);
        if (loop.exec() < 0)
            break;
    }
    if (!self)
        return false;
    if (up())
        writeOwed();
    return m_owed.isEmpty();
}

} // namespace vexlor::link

#include "moc_ScannerLink.cpp"
