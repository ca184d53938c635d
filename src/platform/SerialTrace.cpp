#include "platform/SerialTrace.h"

namespace vexlor::platform {

SerialTrace::SerialTrace(const QString& path, QObject* parent)
    : QObject(parent), m_file(path)
{
    m_flushTimer.setInterval(1000);
    connect(&m_flushTimer, &QTimer::timeout, this, &SerialTrace::flush);
}

SerialTrace::~SerialTrace() { flush(); }

bool SerialTrace::open()
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
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
    if (m_failed || !m_file.isOpen() || (bytes.isEmpty() && direction != Direction::Event))
        return;
    m_buffer += formatLine(m_clock.elapsed(), direction, bytes);
    if (m_buffer.size() >= kFlushAt)
        flush();
}

void SerialTrace::flush()
{
    if (m_failed || !m_file.isOpen() || m_buffer.isEmpty())
        return;
    const qint64 written = m_file.write(m_buffer);
    if (written != m_buffer.size() || !m_file.flush()) {
        // A full disk must not grow the buffer for the rest of the run.
        m_failed = true;
        m_buffer.clear();
        m_flushTimer.stop();
        Q_EMIT writeFailed(m_file.errorString());
        return;
    }
    m_buffer.clear();
}

} // namespace vexlor::platform

#include "moc_SerialTrace.cpp"
