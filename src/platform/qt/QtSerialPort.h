#pragma once

#include "platform/SerialPort.h"
#include "platform/SerialSettings.h"

#include <QSerialPort>
#include <QTimer>

namespace vexlor::platform {

// QSerialPort behind the SerialPort interface. QSerialPort has no signal for
// the modem lines, so the pins are polled. A port that cannot report them
// (pseudo-terminals, some USB adapters) counts DSR and CTS as asserted.
// A port that vanishes (adapter pulled, simulator restarted) reports the line
// down and is reopened when it comes back.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);
    ~QtSerialPort() override;

    // Device paths of the serial ports present on this machine.
    static QStringList availableDevices();

    void setPortName(const QString& name) override;
    QString portName() const override;
    bool setSettings(const QString& settings) override;
    QString settings() const override;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString errorString() const override;

    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override;
    qint64 bytesToWrite() const override;
    void discardInput() override;
    void discardOutput() override;

    bool dsr() const override;
    bool cts() const override;

private:
    void applySettings();
    // Waits, bounded, until every written byte has left.
    void drain();
    void startLine();
    void pollPins();
    void onError(QSerialPort::SerialPortError error);
    void tryReopen();

    QSerialPort m_port;
    QString m_name;
    SerialSettings m_settings;
    QTimer m_pinTimer;
    QTimer m_reopenTimer;
    bool m_pinsUnknown = false;
    bool m_wanted = false; // opened by the logic and not closed since
    bool m_dsr = false;
    bool m_cts = false;
    QString m_error;
};

} // namespace vexlor::platform
