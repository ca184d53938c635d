#include "FakeSerialPort.h"

#include "platform/SerialSettings.h"

namespace vexlor::fakes {

bool FakeSerialPort::setSettings(const QString& s)
{
    if (!platform::SerialSettings::parse(s))
        return false;
    m_settings = s;
    return true;
}

bool FakeSerialPort::open()
{
    ++openCount;
    if (!m_failOpen.isEmpty()) {
        m_error = m_failOpen;
        return false;
    }
    m_open = true;
    return true;
}

void FakeSerialPort::close()
{
    m_open = false;
    m_outQueue.clear();
    ++closeCount;
}

void FakeSerialPort::write(const QByteArray& bytes)
{
    if (!m_open)
        return;
    if (m_holding) {
        m_outQueue += bytes;
        return;
    }
    written += bytes;
    if (onWrite)
        onWrite(bytes);
}

void FakeSerialPort::discardOutput()
{
    m_outQueue.clear();
    ++discardOutputCount;
}

void FakeSerialPort::holdOutput(bool hold)
{
    m_holding = hold;
    if (hold || m_outQueue.isEmpty())
        return;
    QByteArray queued;
    queued.swap(m_outQueue);
    write(queued);
}

QByteArray FakeSerialPort::readAll()
{
    QByteArray out;
    out.swap(m_input);
    return out;
}

void FakeSerialPort::feed(const QByteArray& bytes)
{
    m_input += bytes;
    Q_EMIT readyRead();
}

void FakeSerialPort::setDsr(bool on)
{
    m_dsr = on;
    Q_EMIT lineStateChanged(LineEvent::DsrChanged);
}

void FakeSerialPort::setCts(bool on)
{
    m_cts = on;
    Q_EMIT lineStateChanged(LineEvent::CtsChanged);
}

QStringList FakeSerialPort::writtenLines() const
{
    QStringList lines = QString::fromLatin1(written).split(QLatin1Char('\r'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace vexlor::fakes

#include "moc_FakeSerialPort.cpp"
