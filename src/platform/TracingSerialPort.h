#pragma once

#include "platform/SerialPort.h"

namespace vexlor::platform {

class SerialTrace;

// Passes everything to the real port and records what crosses it, including
// opens, closes and line changes, so a device that vanishes and returns
// stays in one trace.
class TracingSerialPort : public SerialPort {
    Q_OBJECT
public:
    TracingSerialPort(SerialPort& port, SerialTrace& trace, QObject* parent = nullptr);

    void setPortName(const QString& name) override { m_port.setPortName(name); }
    QString portName() const override { return m_port.portName(); }
    bool setSettings(const QString& settings) override { return m_port.setSettings(settings); }
    QString settings() const override { return m_port.settings(); }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    QString errorString() const override { return m_port.errorString(); }

    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override { return m_port.bytesAvailable(); }
    qint64 bytesToWrite() const override { return m_port.bytesToWrite(); }
    int inBufferSize() const override { return m_port.inBufferSize(); }
    void discardInput() override;
    void discardOutput() override;

    bool dsr() const override { return m_port.dsr(); }
    bool cts() const override { return m_port.cts(); }

private:
    void onLineState(LineEvent event);

    SerialPort& m_port;
    SerialTrace& m_trace;
    // As last traced: a port that closes or opens by itself shows as lost or reopened.
    bool m_open = false;
};

} // namespace vexlor::platform
