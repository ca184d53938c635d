#include "platform/qt/QtSerialPort.h"

#include "platform/qt/PortHolder.h"

#include <QDeadlineTimer>
#include <QSerialPortInfo>
#include <QThread>

#include <cerrno>
#include <sys/ioctl.h>
#include <termios.h>

namespace vexlor::platform {

namespace {
constexpr int kPinPollMs = 100;
// A device that returns is live again well within a second; a failed open is cheap.
constexpr int kReopenMs = 250;
// Longest wait for the last commands to leave at close: the link never
// queues more than a few seconds of line time.
constexpr int kDrainMs = 4000;

QSerialPort::Parity toQtParity(QChar p)
{
    switch (p.toLatin1()) {
    case 'e': return QSerialPort::EvenParity;
    case 'o': return QSerialPort::OddParity;
    case 'm': return QSerialPort::MarkParity;
    case 's': return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}
} // namespace

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent)
{
    m_pinTimer.setInterval(kPinPollMs);
    m_reopenTimer.setInterval(kReopenMs);
    connect(&m_pinTimer, &QTimer::timeout, this, &QtSerialPort::pollPins);
    connect(&m_reopenTimer, &QTimer::timeout, this, &QtSerialPort::tryReopen);
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort() = default;

QStringList QtSerialPort::availableDevices()
{
    QStringList paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        paths << info.systemLocation();
    return paths;
}

void QtSerialPort::setPortName(const QString& name)
{
    m_name = name;
    m_port.setPortName(devicePathForPort(name));
}

QString QtSerialPort::portName() const { return m_name; }

bool QtSerialPort::setSettings(const QString& settings)
{
    const auto parsed = SerialSettings::parse(settings);
    if (!parsed)
        return false;
    m_settings = *parsed;
    applySettings();
    return true;
}

QString QtSerialPort::settings() const { return m_settings.toString(); }

void QtSerialPort::applySettings()
{
    m_port.setBaudRate(m_settings.baud);
    m_port.setParity(toQtParity(m_settings.parity));
    m_port.setDataBits(static_cast<QSerialPort::DataBits>(m_settings.dataBits));
    m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
}

bool QtSerialPort::open()
{
    if (m_port.isOpen())
        return true;
    errno = 0;
    if (!m_port.open(QIODevice::ReadWrite)) {
        const int error = errno;
        m_error = m_port.errorString();
        // Qt's words for a port another program holds ("Permission error
        // while locking the device", or EBUSY) read like a rights problem.
        if (m_port.error() == QSerialPort::PermissionError && error != EACCES && error != EPERM) {
            const QString holder = portHolder(devicePathForPort(m_name));
            m_error = QStringLiteral("the port is in use by another program")
                + (holder.isEmpty() ? QString() : QStringLiteral(", ") + holder);
        }
        return false;
    }
    m_wanted = true;
    m_error.clear();
    startLine();
    return true;
}

void QtSerialPort::startLine()
{
    applySettings();
    // Some cables power the receiver's interface from the control lines.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_pinsUnknown = false;
    m_dsr = m_cts = true;
    pollPins();
    m_pinTimer.start();
}

void QtSerialPort::close()
{
    m_wanted = false;
    m_pinTimer.stop();
    m_reopenTimer.stop();
    if (m_port.isOpen()) {
        drain();
        m_port.close();
    }
}

void QtSerialPort::drain()
{
    // Closing drops what QSerialPort still holds: a release queued just
    // before the end would never reach the receiver.
    const QDeadlineTimer deadline(kDrainMs);
    while (m_port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(int(deadline.remainingTime())))
            break;
    }
    // Then the driver's own queue, which a close may cut short on some adapters.
    int queued = 0;
    while (!deadline.hasExpired() && ::ioctl(m_port.handle(), TIOCOUTQ, &queued) == 0 && queued > 0)
        QThread::msleep(5);
}

bool QtSerialPort::isOpen() const { return m_port.isOpen(); }

QString QtSerialPort::errorString() const { return m_error; }

void QtSerialPort::write(const QByteArray& bytes)
{
    if (m_port.isOpen())
        m_port.write(bytes);
}

QByteArray QtSerialPort::readAll() { return m_port.isOpen() ? m_port.readAll() : QByteArray(); }

qint64 QtSerialPort::bytesAvailable() const { return m_port.isOpen() ? m_port.bytesAvailable() : 0; }

qint64 QtSerialPort::bytesToWrite() const { return m_port.isOpen() ? m_port.bytesToWrite() : 0; }

void QtSerialPort::discardInput()
{
    if (m_port.isOpen()) {
        m_port.clear(QSerialPort::Input);
        m_port.readAll();
    }
}

void QtSerialPort::discardOutput()
{
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Output);
}

bool QtSerialPort::dsr() const { return m_port.isOpen() && m_dsr; }
bool QtSerialPort::cts() const { return m_port.isOpen() && m_cts; }

void QtSerialPort::pollPins()
{
    if (!m_port.isOpen() || m_pinsUnknown)
        return;
    const QSerialPort::PinoutSignals pins = m_port.pinoutSignals();
    if (m_port.error() == QSerialPort::UnsupportedOperationError
        || m_port.error() == QSerialPort::UnknownError) {
        // No modem lines to read ("Inappropriate ioctl for device"): count them as asserted.
        m_port.clearError();
        m_pinsUnknown = true;
        m_dsr = m_cts = true;
        return;
    }
    const bool dsr = pins.testFlag(QSerialPort::DataSetReadySignal);
    const bool cts = pins.testFlag(QSerialPort::ClearToSendSignal);
    const bool ctsChanged = cts != m_cts;
    const bool dsrChanged = dsr != m_dsr;
    m_dsr = dsr;
    m_cts = cts;
    if (ctsChanged)
        Q_EMIT lineStateChanged(LineEvent::CtsChanged);
    if (dsrChanged)
        Q_EMIT lineStateChanged(LineEvent::DsrChanged);
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    // A hung-up line reads as end of file, which QSerialPort reports as a
    // read error, again at every turn of the event loop: gone as well.
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) || !m_wanted)
        return;
    // The device went away: report the line down and wait for it to return.
    // (errno after an end of file is stale, so the read error gets its own words.)
    m_error = error == QSerialPort::ReadError ? QStringLiteral("the line hung up") : m_port.errorString();
    m_pinTimer.stop();
    m_port.close();
    m_dsr = m_cts = false;
    Q_EMIT lineStateChanged(LineEvent::DsrChanged);
    m_reopenTimer.start();
}

void QtSerialPort::tryReopen()
{
    if (!m_wanted) {
        m_reopenTimer.stop();
        return;
    }
    if (!m_port.open(QIODevice::ReadWrite))
        return;
    m_reopenTimer.stop();
    startLine();
    Q_EMIT lineStateChanged(LineEvent::DsrChanged);
}

} // namespace vexlor::platform

#include "moc_QtSerialPort.cpp"
