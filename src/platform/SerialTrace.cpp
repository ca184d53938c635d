#include "platform/SerialTrace.h"

#include "platform/SystemError.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace vexlor::platform {

namespace {
// How long the last lines may wait for a slow reader when the trace ends.
constexpr int kLastFlushMs = 1000;

} // namespace

SerialTrace::SerialTrace(const QString& path, QObject* parent) : QObject(parent), m_path(path)
{
    m_flushTimer.setInterval(1000);
    connect(&m_flushTimer, &QTimer::timeout, this, &SerialTrace::flush);
}

SerialTrace::~SerialTrace()
{
    const QDeadlineTimer deadline(kLastFlushMs);
    flush();
    while (m_fd >= 0 && !m_failed && !m_buffer.isEmpty() && !deadline.hasExpired()) {
        pollfd p {m_fd, POLLOUT, 0};
        if (::poll(&p, 1, int(deadline.remainingTime())) <= 0)
            break;
        flush();
    }
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SerialTrace::open()
{
    // A FIFO waits here for its reader, as a shell's redirection would.
    m_fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        m_error = systemReason(errno);
        return false;
    }
    // From now on a reader that stops costs trace lines, never the program's time.
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    m_clock.start();
    m_flushTimer.start();
    return true;
}

QByteArray SerialTrace::formatLine(qint64 ms, Direction direction, const QByteArray& bytes)
{
    static const char* const kDirections[] = {"out", "in ", "---"};
    QByteArray line = QByteArray::number(ms).rightJustified(9, ' ');
    line += ' ';
    line += kDirections[int(direction)];
    line += ' ';
    line.reserve(line.size() + bytes.size() * 2 + 1);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\')
            line += "\\\\";
        else if (c == '\r')
            line += "\\r";
        else if (c == '\n')
            line += "\\n";
        else if (c >= 0x20 && c < 0x7f)
            line += char(c);
        else
            line += "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
    }
    line += '\n';
    return line;
}

void SerialTrace::record(Direction direction, const QByteArray& bytes)
{
    if (m_failed || m_fd < 0 || (bytes.isEmpty() && direction != Direction::Event))
        return;
    const QByteArray line = formatLine(m_clock.elapsed(), direction, bytes);
    if (m_buffer.size() + line.size() > kMaxBuffered) {
        m_dropped += line.size();
        return;
    }
    if (m_dropped > m_droppedTold) {
        // Where the gap is, in the trace itself.
        m_buffer += formatLine(m_clock.elapsed(), Direction::Event,
                               QByteArray::number(m_dropped - m_droppedTold)
                                   + " bytes of trace dropped: the reader did not keep up");
        m_droppedTold = m_dropped;
    }
    m_buffer += line;
    if (m_buffer.size() >= kFlushAt)
        flush();
}

void SerialTrace::flush()
{
    while (!m_failed && m_fd >= 0 && !m_buffer.isEmpty()) {
        const ssize_t n = ::write(m_fd, m_buffer.constData(), size_t(m_buffer.size()));
        if (n > 0) {
            m_buffer.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return; // the reader lags: the rest waits for the next turn
        stopWith(n < 0 ? errno : ENOSPC);
    }
}

void SerialTrace::stopWith(int error)
{
    // A full disk or a reader gone must not grow the buffer for the rest of the run.
    m_failed = true;
    m_buffer.clear();
    m_flushTimer.stop();
    m_error = systemReason(error);
    Q_EMIT writeFailed(m_error);
}

} // namespace vexlor::platform

#include "moc_SerialTrace.cpp"
