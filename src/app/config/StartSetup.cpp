#include "app/config/StartSetup.h"

#include "link/Wire.h"
#include "platform/Dialogs.h"
#include "platform/SerialPort.h"

namespace vexlor::app {

StartSetup::StartSetup(IniFile& ini, platform::SerialPort& port, platform::Dialogs& dialogs, Running running)
    : m_ini(ini)
    , m_port(port)
    , m_dialogs(dialogs)
    , m_running(std::move(running))
{
}

QStringList StartSetup::portItems(const QStringList& devicePaths)
{
    QStringList items;
    for (int i = 1; i <= 12; ++i)
        items << QStringLiteral("Com %1").arg(i);
    for (const QString& path : devicePaths) {
        if (!path.isEmpty() && !items.contains(path))
            items << path;
    }
    return items;
}

QStringList StartSetup::speedItems()
{
    return {QStringLiteral("  2400 bds"), QStringLiteral("  4800 bds"), QStringLiteral("  9600 bds"),
            QStringLiteral("19200 bds")};
}

QString StartSetup::messageText()
{
    return QStringLiteral("Put your scanner in \"PC Con\" mode.\n"
                          "Pwr ON + E, Select \"PC Con\", Press E,\n"
                          "Select Speed, Pwr OFF.\n"
                          "Don't forget to put it in REMOTE MODE by\n"
                          "holding the E key for 2 seconds. The Lock \n"
                          "Key will flash.");
}

std::optional<QString> StartSetup::comPortFromText(const QString& portText)
{
    QString rest = portText.trimmed();
    for (const QLatin1String prefix : {QLatin1String("Comm "), QLatin1String("Com ")}) {
        if (rest.startsWith(prefix, Qt::CaseInsensitive)) {
            rest = rest.mid(prefix.size()).trimmed();
            break;
        }
    }
    // A device path ends in digits too ("/dev/ttyUSB0"), so it is kept whole.
    if (rest.contains(QLatin1Char('/')))
        return rest;
    qsizetype start = rest.size();
    while (start > 0 && rest[start - 1].isDigit() && rest[start - 1].unicode() < 128)
        --start;
    if (start == rest.size())
        return std::nullopt;
    return QString::number(link::wire::leadingInt(QStringView(rest).mid(start)));
}

std::optional<QString> StartSetup::settingsForSpeed(const QString& speedText)
{
    const double speed = link::wire::leadingNumber(speedText);
    for (int known : {2400, 4800, 9600, 19200}) {
        if (speed == known)
            return QStringLiteral("%1,n,8,1").arg(known);
    }
    return std::nullopt;
}

StartSetup::Texts StartSetup::load() const
{
    Texts t;
    t.userName = m_ini.UserName().trimmed();
    // A port number reads "Comm 3"; a device path stands as it is.
    const QString port = m_port.portName();
    t.port = port.contains(QLatin1Char('/')) ? port : QStringLiteral("Comm ") + port;
    t.speed = QString::number(link::wire::leadingInt(m_port.settings())) + QStringLiteral(" bds");
    return t;
}

bool StartSetup::ok(const Texts& chosen)
{
    // Work on a copy so a failed save leaves the running configuration as it was.
    IniFile next = m_ini;
    next.setUserName(chosen.userName.trimmed());
    const bool portPicked = !m_running.portForThisRun || chosen.port != load().port;
    if (const auto port = comPortFromText(chosen.port); port && portPicked)
        next.setComPort(*port);
    if (const auto settings = settingsForSpeed(chosen.speed))
        next.setComSettings(*settings);
    if (m_running.serialPortTimeout)
        next.setSerialPortTimeout(QString::number(m_running.serialPortTimeout(), 'g', 15));
    if (m_running.logFlags)
        next.setLogWhat(m_running.logFlags().toLogWhat());

    if (!next.SaveINI()) {
        platform::Dialogs::Message m;
        m.text = QStringLiteral("The configuration could not be saved.");
        m.informative = next.lastError();
        m.icon = platform::Dialogs::Icon::Warning;
        m_dialogs.message(m);
        return false;
    }
    m_ini = next;

    platform::Dialogs::Message m;
    m.text = QStringLiteral("The new configuration has been saved.  Please Restart.");
    m_dialogs.message(m);
    return true;
}

StartOutcome StartSetup::cancel() const
{
    return m_port.isOpen() ? StartOutcome::Cancelled : StartOutcome::EndNow;
}

} // namespace vexlor::app
