#include "simulator/PtyEndpoint.h"

#include "platform/SerialTrace.h"
#include "platform/SystemError.h"

#include "simulator/ReceiverModel.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace vexlor::simulator {

namespace {

constexpr int kPeerCheckMs = 100;
constexpr int kPaceTickMs = 10;
// Between attempts to bring a line back that stays down until asked.
constexpr int kRestoreRetryMs = 200;
// Far beyond anything a healthy run queues; only a stuck reader gets here.
constexpr qsizetype kHardLimit = 64 * 1024;
constexpr double kNever = std::numeric_limits<double>::infinity();

QString systemError() { return platform::systemReason(errno); }

} // namespace

PtyEndpoint::PtyEndpoint(ReceiverModel& model, const FaultOptions& faults, quint32 seed, QObject* parent)
    : QObject(parent), m_model(model), m_faults(faults), m_rng(seed)
{
    m_clock.start();
    m_activityTimer.setInterval(kActivityTickMs);
    m_peerTimer.setInterval(kPeerCheckMs);
    m_pumpTimer.setSingleShot(true);
    m_pumpTimer.setTimerType(Qt::PreciseTimer);
    m_inputTimer.setSingleShot(true);
    m_inputTimer.setTimerType(Qt::PreciseTimer);
    m_dropTimer.setSingleShot(true);
    connect(&m_activityTimer, &QTimer::timeout, this, &PtyEndpoint::onActivityTick);
    connect(&m_peerTimer, &QTimer::timeout, this, &PtyEndpoint::checkPeer);
    connect(&m_pumpTimer, &QTimer::timeout, this, &PtyEndpoint::pump);
    connect(&m_inputTimer, &QTimer::timeout, this, &PtyEndpoint::serveInput);
    connect(&m_dropTimer, &QTimer::timeout, this, [this]() { m_down ? restoreLine() : dropLine(); });
}

PtyEndpoint::~PtyEndpoint() { close(); }

void PtyEndpoint::setFaults(const FaultOptions& faults)
{
    m_faults = faults;
    if (!isOpen() && !m_down)
        return;
    m_dropTimer.stop();
    if (!m_down)
        scheduleDrop();
    else if (m_faults.dropForMs > 0)
        m_dropTimer.start(m_faults.dropForMs);
}

bool PtyEndpoint::open()
{
    if (isOpen())
        return true;
    if (!openPty())
        return false;
    if (!m_linkPath.isEmpty() && !pointLink()) {
        closePty();
        return false;
    }
    m_lastTick = now();
    m_activityTimer.start();
    scheduleDrop();
    Q_EMIT slaveChanged(m_slave);
    return true;
}

void PtyEndpoint::close()
{
    m_activityTimer.stop();
    m_dropTimer.stop();
    removeLink();
    closePty();
    m_down = false;
}

qsizetype PtyEndpoint::pendingBytes() const
{
    qsizetype n = m_out.size();
    for (const Chunk& c : m_schedule)
        n += c.bytes.size();
    return n;
}

bool PtyEndpoint::openPty()
{
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        m_error = QStringLiteral("cannot open a pseudo-terminal: %1").arg(systemError());
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    const char* name = ::ptsname(fd);
    termios t {};
    if (!name || ::tcgetattr(fd, &t) != 0) {
        m_error = QStringLiteral("cannot set up the pseudo-terminal: %1").arg(systemError());
        ::close(fd);
        return false;
    }
    // On the master, the terminal settings are the slave's: raw, no echo.
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_master = fd;
    m_slave = QString::fromLocal8Bit(name);
    m_readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    m_writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyEndpoint::onReadable);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyEndpoint::onWritable);
    // A slave that was opened and closed once reports its hang-up on the
    // master; one never opened does not. Open and close it now, so the master
    // tells from the start whether anybody is there.
    m_peer = false;
    m_readNotifier->setEnabled(false);
    flushSlaveInput();
    m_peerTimer.start();
    return true;
}

void PtyEndpoint::closePty()
{
    m_peerTimer.stop();
    m_pumpTimer.stop();
    resetInput();
    m_outDoneMs = 0;
    // Later: a drop may come from inside a notifier's own signal.
    for (QSocketNotifier* n : {m_readNotifier, m_writeNotifier}) {
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    }
    m_readNotifier = m_writeNotifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    m_schedule.clear();
    m_out.clear();
    m_assembler = LineAssembler();
    if (m_peer) {
        m_peer = false;
        Q_EMIT peerChanged(false);
    }
}

bool PtyEndpoint::pointLink()
{
    const QFileInfo info(m_linkPath);
    if (info.exists() && !info.isSymLink()) {
        m_error = QStringLiteral("%1 exists and is not a symbolic link").arg(m_linkPath);
        return false;
    }
    // Re-pointed in one step, so a reader never finds the link missing.
    const QByteArray link = QFile::encodeName(m_linkPath);
    const QByteArray temp = link + ".new" + QByteArray::number(::getpid());
    ::unlink(temp.constData());
    if (::symlink(QFile::encodeName(m_slave).constData(), temp.constData()) != 0
        || ::rename(temp.constData(), link.constData()) != 0) {
        m_error = QStringLiteral("cannot link %1 to %2: %3").arg(m_linkPath, m_slave, systemError());
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

void PtyEndpoint::removeLink()
{
    if (m_linkPath.isEmpty())
        return;
    // Only our own link: somebody may have put another one there since.
    const QFileInfo info(m_linkPath);
    if (info.isSymLink() && info.symLinkTarget() == QFileInfo(m_slave).absoluteFilePath())
        QFile::remove(m_linkPath);
}

void PtyEndpoint::checkPeer()
{
    if (m_master < 0)
        return;
    pollfd p {m_master, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0)
        return;
    if (p.revents & POLLHUP) {
        if (p.revents & POLLIN)
            takeLastWords();
        return;
    }
    m_peer = true;
    m_peerTimer.stop();
    m_assembler = LineAssembler();
    m_readNotifier->setEnabled(true);
    Q_EMIT peerChanged(true);
}

void PtyEndpoint::takeLastWords()
{
    // A reader that came and went between two looks still put its bytes on
    // the line (a release at the end of a run, say): the receiver heard them.
    char buf[4096];
    ssize_t n = 0;
    while ((n = ::read(m_master, buf, sizeof buf)) > 0) {
        const QByteArray bytes(buf, n);
        if (m_trace)
            m_trace->record(platform::SerialTrace::Direction::In, bytes);
        receive(bytes);
    }
    takeArrivals(kNever);
    peerLost();
}

void PtyEndpoint::peerLost()
{
    const bool was = m_peer;
    m_peer = false;
    m_schedule.clear();
    m_out.clear();
    m_assembler = LineAssembler();
    m_pumpTimer.stop();
    resetInput();
    m_outDoneMs = 0;
    // A hung-up master reads as always ready: watch it by timer instead.
    if (m_readNotifier)
        m_readNotifier->setEnabled(false);
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(false);
    flushSlaveInput();
    m_peerTimer.start();
    if (was)
        Q_EMIT peerChanged(false);
}

void PtyEndpoint::flushSlaveInput()
{
    // Bytes the last reader left unread would greet the next one as stale
    // replies.
    const int fd = ::open(QFile::encodeName(m_slave).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return;
    ::tcflush(fd, TCIFLUSH);
    ::close(fd);
}

void PtyEndpoint::onReadable()
{
    char buf[4096];
    const ssize_t n = ::read(m_master, buf, sizeof buf);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        peerLost();
        return;
    }
    const QByteArray bytes(buf, n);
    if (m_trace)
        m_trace->record(platform::SerialTrace::Direction::In, bytes);
    receive(bytes);
    serveInput();
}

void PtyEndpoint::receive(const QByteArray& bytes)
{
    // The sender's port puts them on the line one byte time apart.
    double at = std::max(m_inDoneMs, preciseNow());
    for (char ch : bytes) {
        at += msPerByte();
        m_arriving.push_back({at, ch});
    }
    m_inDoneMs = at;
}

void PtyEndpoint::serveInput()
{
    takeArrivals(preciseNow());
    pump();
}

double PtyEndpoint::freeAtMs() const { return m_answering ? kNever : m_busyUntilMs; }

double PtyEndpoint::nextInputWake() const
{
    // Only a whole command changes what the reader sees; the bytes before it
    // are placed by their own times whenever they are taken. The reply in
    // progress wakes the pump instead.
    if (m_answering)
        return kNever;
    if (m_rxBuffer.contains('\r'))
        return m_busyUntilMs;
    for (const Arrival& a : m_arriving) {
        if (a.byte == '\r')
            return std::max(a.dueMs, m_busyUntilMs);
    }
    return m_arriving.empty() ? kNever : std::max(m_arriving.back().dueMs, m_busyUntilMs);
}

void PtyEndpoint::takeArrivals(double upToMs)
{
    for (;;) {
        // A reply due by now is on the line, and the receiver knows when it is free.
        moveDue(upToMs);
        const double next = m_arriving.empty() ? kNever : m_arriving.front().dueMs;
        const double freeAt = freeAtMs();
        if (!m_rxBuffer.isEmpty() && freeAt <= std::min(next, upToMs)) {
            takeBuffered(freeAt);
            continue;
        }
        if (m_arriving.empty() || next > upToMs)
            break;
        const Arrival a = m_arriving.front();
        m_arriving.pop_front();
        if (freeAt <= a.dueMs) {
            endLossRun();
            hear(a.byte, a.dueMs);
        } else if (m_rxBuffer.size() < std::max(1, m_faults.rxBuffer)) {
            endLossRun();
            m_rxBuffer += a.byte;
        } else {
            ++m_lostBytes;
            ++m_lossRun;
        }
    }
    if (m_arriving.empty())
        endLossRun();
}

bool PtyEndpoint::hear(char byte, double atMs)
{
    const QList<LineAssembler::Command> commands = m_assembler.feed(QByteArray(1, byte));
    for (const LineAssembler::Command& c : commands)
        process(c, atMs);
    return !commands.isEmpty();
}

void PtyEndpoint::takeBuffered(double atMs)
{
    // Free again, the receiver reads its buffer up to the next whole command.
    qsizetype used = 0;
    while (used < m_rxBuffer.size() && !hear(m_rxBuffer[used++], atMs)) {
    }
    m_rxBuffer.remove(0, used);
}

void PtyEndpoint::endLossRun()
{
    if (m_lossRun == 0)
        return;
    const qint64 n = m_lossRun;
    m_lossRun = 0;
    Q_EMIT inputLost(n);
}

void PtyEndpoint::resetInput()
{
    m_inputTimer.stop();
    endLossRun();
    m_arriving.clear();
    m_rxBuffer.clear();
    m_answering = false;
    m_busyUntilMs = m_inDoneMs = 0;
}

void PtyEndpoint::process(const LineAssembler::Command& command, double atMs)
{
    if (silentNow())
        return;
    QList<QByteArray> replies;
    if (command.overlong) {
        replies = {"ERR"};
    } else if (command.text.isEmpty()) {
        return;
    } else {
        const double r = (m_faults.ngFraction > 0 || m_faults.errFraction > 0) ? draw() : 1.0;
        if (r < m_faults.ngFraction)
            replies = {"NG"};
        else if (r < m_faults.ngFraction + m_faults.errFraction)
            replies = {"ERR"};
        else
            replies = m_model.handle(command.text);
        Q_EMIT commandCarriedOut(command.text);
        if (!isOpen())
            return; // the line dropped meanwhile
    }
    for (qsizetype i = 0; i < replies.size(); ++i) {
        // On a paced line the receiver takes no other command until its reply has left.
        const bool last = paced() && i == replies.size() - 1;
        if (queueLine(replies[i], atMs + m_faults.latencyMs, last) && last)
            m_answering = true;
    }
}

void PtyEndpoint::onActivityTick()
{
    const qint64 t = now();
    const QList<QByteArray> heard = m_model.advance(t - m_lastTick);
    m_lastTick = t;
    if (!m_peer || silentNow())
        return;
    for (const QByteArray& line : heard)
        queueLine(line, preciseNow());
    pump();
}

bool PtyEndpoint::queueLine(const QByteArray& line, double dueMs, bool endsReply)
{
    if (!m_peer || pendingBytes() > kHardLimit)
        return false;
    QByteArray bytes;
    if (m_faults.garbage > 0 && draw() < m_faults.garbage) {
        const int count = 1 + int(m_rng() % 8);
        for (int i = 0; i < count; ++i) {
            char ch = char(m_rng() % 256);
            bytes += ch == '\r' ? char(0xfe) : ch;
        }
    }
    bytes += line;
    bytes += '\r';
    const qsizetype piece = m_faults.splitBytes > 0 ? m_faults.splitBytes : bytes.size();
    // Kept in order of time; equal times keep the order they came in.
    auto at = std::upper_bound(m_schedule.begin(), m_schedule.end(), dueMs,
                               [](double d, const Chunk& c) { return d < c.dueMs; });
    double when = dueMs;
    for (qsizetype i = 0; i < bytes.size(); i += piece) {
        at = m_schedule.insert(at, Chunk {when, bytes.mid(i, piece), endsReply && i + piece >= bytes.size()});
        ++at;
        when += m_faults.splitGapMs;
    }
    return true;
}

void PtyEndpoint::moveDue(double t)
{
    while (!m_schedule.empty() && m_schedule.front().dueMs <= t) {
        // From its due time, or once the line is free; never from this late wake-up.
        const Chunk& c = m_schedule.front();
        m_outDoneMs = std::max(m_outDoneMs, c.dueMs) + double(c.bytes.size()) * msPerByte();
        if (c.endsReply) {
            m_answering = false;
            m_busyUntilMs = m_outDoneMs;
        }
        m_out += c.bytes;
        m_schedule.pop_front();
    }
}

void PtyEndpoint::pump()
{
    if (m_master < 0)
        return;
    const double t = preciseNow();
    if (silentNow()) {
        m_schedule.clear();
        m_out.clear();
        m_outDoneMs = std::min(m_outDoneMs, t);
        m_answering = false;
        m_busyUntilMs = std::min(m_busyUntilMs, t);
    }
    moveDue(t);
    writeOut();
    if (m_master < 0 || !m_peer)
        return;
    if (const double input = nextInputWake(); std::isfinite(input))
        m_inputTimer.start(int(std::clamp(std::ceil(input - t), 0.0, 60000.0)));
    double next = m_schedule.empty() ? std::numeric_limits<double>::infinity() : m_schedule.front().dueMs;
    // A full tty wakes us through the write notifier instead.
    if (!m_out.isEmpty() && m_faults.baud > 0 && !m_writeNotifier->isEnabled())
        next = std::min(next, std::clamp(m_outDoneMs, t + 1, t + kPaceTickMs));
    if (std::isfinite(next))
        m_pumpTimer.start(int(std::clamp(std::ceil(next - t), 0.0, 60000.0)));
    m_readNotifier->setEnabled(pendingBytes() < kMaxBacklog && m_arriving.size() < kMaxArriving);
}

void PtyEndpoint::writeOut()
{
    if (!m_peer || m_out.isEmpty() || m_master < 0 || m_writeNotifier->isEnabled())
        return;
    qsizetype allowed = m_out.size();
    if (m_faults.baud > 0) {
        // Bytes still crossing the line stay back; the reader gets none early.
        const double crossing = (m_outDoneMs - preciseNow()) / msPerByte();
        allowed -= qsizetype(std::ceil(std::max(0.0, crossing - 1e-6)));
        if (allowed <= 0)
            return;
    }
    const ssize_t n = ::write(m_master, m_out.constData(), size_t(allowed));
    if (n > 0) {
        if (m_trace)
            m_trace->record(platform::SerialTrace::Direction::Out, m_out.left(n));
        m_out.remove(0, n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        m_writeNotifier->setEnabled(true);
    } else {
        peerLost();
    }
}

void PtyEndpoint::onWritable()
{
    m_writeNotifier->setEnabled(false);
    pump();
}

bool PtyEndpoint::silentNow() const
{
    if (m_faults.silentForMs <= 0)
        return false;
    const qint64 cycle = qint64(m_faults.silentAfterMs) + m_faults.silentForMs;
    return now() % cycle >= m_faults.silentAfterMs;
}

double PtyEndpoint::draw() { return double(m_rng()) / (double(std::mt19937::max()) + 1.0); }

void PtyEndpoint::scheduleDrop()
{
    if (m_faults.dropForMs > 0)
        m_dropTimer.start(m_faults.dropAfterMs);
}

void PtyEndpoint::dropLine()
{
    if (!isOpen())
        return;
    m_dropTimer.stop();
    removeLink();
    closePty();
    m_down = true;
    Q_EMIT lineDropped();
    if (m_faults.dropForMs > 0)
        m_dropTimer.start(m_faults.dropForMs);
}

void PtyEndpoint::restoreLine()
{
    if (!m_down)
        return;
    m_dropTimer.stop();
    if (!openPty() || (!m_linkPath.isEmpty() && !pointLink())) {
        // Try again after another pause rather than give up for good.
        closePty();
        m_dropTimer.start(std::max(m_faults.dropForMs, kRestoreRetryMs));
        return;
    }
    m_down = false;
    Q_EMIT slaveChanged(m_slave);
    Q_EMIT lineRestored();
    scheduleDrop();
}

} // namespace vexlor::simulator

#include "moc_PtyEndpoint.cpp"
