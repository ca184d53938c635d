#include "platform/TracingSerialPort.h"

#include "platform/SerialTrace.h"

namespace vexlor::platform {

TracingSerialPort::TracingSerialPort(SerialPort& port, SerialTrace& trace, QObject* parent)
    : SerialPort(parent), m_port(port), m_trace(trace)
{
    connect(&m_port, &SerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&m_port, &SerialPort::lineStateChanged, this, &TracingSerialPort::onLineState);
}

void TracingSerialPort::onLineState(LineEvent event)
{
    if (m_port.isOpen() != m_open) {
        m_open = m_port.isOpen();
        m_trace.mark(m_open ? QStringLiteral("reopened %1").arg(m_port.portName())
                             : QStringLiteral("lost %1: %2").arg(m_port.portName(), m_port.errorString()));
    }
    const auto onOff = [](bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); };
    m_trace.mark(QStringLiteral("DSR %1, CTS %2").arg(onOff(m_port.dsr()), onOff(m_port.cts())));
    Q_EMIT lineStateChanged(event);
}

bool TracingSerialPort::open()
{
    const bool ok = m_port.open();
    m_open = m_port.isOpen();
    m_trace.mark(ok ? QStringLiteral("open %1 %2").arg(m_port.portName(), m_port.settings())
                     : QStringLiteral("open %1 failed: %2").arg(m_port.portName(), m_port.errorString()));
    return ok;
}

void TracingSerialPort::close()
{
    if (m_port.isOpen())
        m_trace.mark(QStringLiteral("close"));
    m_port.close();
    m_open = false;
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

#include "moc_TracingSerialPort.cpp"
