#pragma once

#include "platform/SerialPort.h"

#include <QStringList>
#include <functional>

namespace vexlor::fakes {

// Records every write; tests feed the receiver's bytes with feed().
class FakeSerialPort : public platform::SerialPort {
    Q_OBJECT
public:
    using SerialPort::SerialPort;

    void setPortName(const QString& name) override { m_name = name; }
    QString portName() const override { return m_name; }
    bool setSettings(const QString& s) override;
    QString settings() const override { return m_settings; }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString errorString() const override { return m_error; }

    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override { return m_open ? m_input.size() : 0; }
    qint64 bytesToWrite() const override { return m_open ? m_outQueue.size() : 0; }
    void discardInput() override { m_input.clear(); ++discardInputCount; }
    void discardOutput() override;

    bool dsr() const override { return m_dsr; }
    bool cts() const override { return m_cts; }

    // Test side.
    void feed(const QByteArray& bytes); // arrives from the receiver, emits readyRead
    void setDsr(bool on);               // emits the line-state change
    void setCts(bool on);
    void failOpenWith(const QString& reason) { m_failOpen = reason; }
    // A receiver that stops reading: writes wait in the output queue until
    // it reads again, then reach `written` and onWrite.
    void holdOutput(bool hold);
    QStringList writtenLines() const;   // everything written, split at CR
    void clearWritten() { written.clear(); }

    QByteArray written;
    int openCount = 0;
    int closeCount = 0;
    int discardInputCount = 0;
    int discardOutputCount = 0;
    // Called on every write, so a test can answer like a receiver.
    std::function<void(const QByteArray&)> onWrite;

private:
    QString m_name;
    QString m_settings = QStringLiteral("9600,n,8,1");
    QString m_failOpen;
    QString m_error;
    QByteArray m_input;
    QByteArray m_outQueue;
    bool m_holding = false;
    bool m_open = false;
    bool m_dsr = true;
    bool m_cts = true;
};

} // namespace vexlor::fakes
