#include "recording/LogSetup.h"

#include "platform/Clock.h"
#include "platform/Shell.h"
#include "recording/ActivityLog.h"

#include <utility>

namespace vexlor::recording {

LogSetup::LogSetup(LogFlags& flags, Config config, const platform::Clock& clock, platform::Shell& shell,
                   std::function<QString()> openLogPath)
    : m_flags(flags)
    , m_config(std::move(config))
    , m_clock(clock)
    , m_shell(shell)
    , m_openLogPath(std::move(openLogPath))
{
}

QString LogSetup::automaticPrefix(const QDate& day) { return day.toString(QStringLiteral("yyyy-MM-dd_")); }

QString LogSetup::storableName(const QString& boxText)
{
    QString name;
    name.reserve(boxText.size());
    for (const QChar c : boxText) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || u > 0xff || c == QLatin1Char('='))
            continue;
        name += c;
    }
    return name;
}

bool LogSetup::LogOnOFF()
{
    m_flags.LogEnableVal = m_flags.LogEnableVal == 1 ? 0 : 1;
    if (m_config.saveConfig)
        m_config.saveConfig();
    return logEnabled();
}

LogSetup::State LogSetup::load(const Checks& current) const
{
    State s;
    const QString name = m_config.logFileNameVal ? m_config.logFileNameVal() : QString();
    // A name start-up generated today is still "automatic"; one from an
    // earlier day is a fixed file by now, so it shows as a specific name.
    const bool automatic = ActivityLog::isAutomaticName(name)
        || name.left(11) == automaticPrefix(m_clock.localDateTime().date());
    s.specificName = !automatic;
    if (!automatic)
        s.fileName = name;
    const auto values = m_flags.values();
    for (std::size_t i = 0; i < values.size(); ++i)
        s.checks[i] = values[i] == 1 || current[i];
    return s;
}

bool LogSetup::ok(const State& state)
{
    const QString name = state.specificName ? storableName(state.fileName) : QStringLiteral("AUTOMATIC");
    if (m_config.setLogFileNameVal)
        m_config.setLogFileNameVal(name);
    const auto fields = m_flags.all();
    for (std::size_t i = 0; i < fields.size(); ++i)
        *fields[i] = state.checks[i] ? 1 : 0;
    if (m_config.saveConfig)
        m_config.saveConfig();
    return logEnabled();
}

bool LogSetup::openLog()
{
    const QString path = m_openLogPath ? m_openLogPath() : QString();
    if (path.isEmpty())
        return false;
    return m_shell.openFile(path);
}

} // namespace vexlor::recording
