#include "platform/TracingSerialPort.h"

#include "platform/SerialTrace.h"

namespace vexlor::platform {

TracingSerialPort::TracingSerialPort(SerialPort& port, SerialTrace& trace, QObject* parent)
    : SerialPort(parent), m_port(port), m_trace(trace)
{
    connect(&m_port, &SerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&m_port, &SerialPort::lineStateChanged, this, &SerialPort::lineStateChanged);
}

bool TracingSerialPort::open()
{
    const bool ok = m_port.open();
    m_trace.mark(ok ? QStringLiteral("open %1 %2").arg(m_port.portName(), m_port.settings())
                     : QStringLiteral("open %1 failed: %2").arg(m_port.portName(), m_port.errorString()));
    return ok;
}

void TracingSerialPort::close()
{
    if (m_port.isOpen())
        m_trace.mark(QStringLiteral("close"));
    m_port.close();
}

void TracingSerialPort::write(const QByteArray& bytes)
{
    m_trace.record(SerialTrace::Direction::Out, bytes);
    m_port.write(bytes);
}

QByteArray TracingSerialPort::readAll()
{
    const QByteArray bytes = m_port.readAll();
    m_trace.record(SerialTrace::Direction::In, bytes);
    return bytes;
}

void TracingSerialPort::discardInput()
{
    const qint64 waiting = m_port.bytesAvailable();
    if (waiting > 0)
        m_trace.mark(QStringLiteral("discard input (%1 bytes unread)").arg(waiting));
    m_port.discardInput();
}

void TracingSerialPort::discardOutput()
{
    const qint64 waiting = m_port.bytesToWrite();
    if (waiting > 0)
        m_trace.mark(QStringLiteral("discard output (%1 bytes unsent)").arg(waiting));
    m_port.discardOutput();
}

} // namespace vexlor::platform
