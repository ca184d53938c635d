#include "recording/ActivityLog.h"

#include "platform/Clock.h"

#include <cmath>

namespace vexlor::recording {

namespace {
constexpr double kMinSecondsBetweenLines = 2.0;
constexpr int kNameWidth = 42;

QString padName(const QString& name)
{
    return name.size() >= kNameWidth ? name : name.leftJustified(kNameWidth, QLatin1Char(' '));
}
} // namespace

ActivityLog::ActivityLog(const LogFlags& flags, const platform::Clock& clock)
    : m_flags(flags), m_clock(clock)
{
}

bool ActivityLog::isAutomaticName(const QString& logFileNameVal)
{
    const QString t = logFileNameVal.trimmed();
    return t.isEmpty() || t == QLatin1String("AUTOMATIC");
}

QString ActivityLog::automaticName(const QDateTime& now)
{
    return now.toString(QStringLiteral("yyyy-MM-dd_HHmm"));
}

QString ActivityLog::dateField(const QDate& d)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!d.isValid())
        return QString();
    return QStringLiteral("%1%2%3")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(QLatin1String(months[d.month() - 1]))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

QString ActivityLog::timeField(const QTime& t) { return t.toString(QStringLiteral("HH:mm:ss")); }

bool ActivityLog::open(const QString& baseName)
{
    close();
    m_file.setFileName(baseName + QStringLiteral(".log"));
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append);
}

void ActivityLog::close()
{
    if (m_file.isOpen())
        m_file.close();
}

QString ActivityLog::buildLine(const QDateTime& now, const QString& frequency, const QString& freqType,
                               const QString& freqName, const QString& id, const QString& idType,
                               const QString& idName) const
{
    const QString gap = QStringLiteral("  ");
    QString line;
    if (m_flags.DateVal == 1)
        line += dateField(now.date()) + gap;
    if (m_flags.TimeVal == 1)
        line += timeField(now.time()) + gap;
    if (m_flags.FrequencyVal == 1)
        line += frequency + gap;
    if (m_flags.FreqTypeVal == 1)
        line += freqType + gap;
    if (m_flags.FreqNameVal == 1)
        line += padName(freqName);
    if (m_flags.IDVal == 1)
        line += id + gap;
    if (m_flags.IDTypeVal == 1)
        line += idType + gap;
    if (m_flags.IDNameVal == 1)
        line += padName(idName);
    return line;
}

void ActivityLog::Logging(const QString& frequency, const QString& freqType, const QString& freqName,
                          const QString& id, const QString& idType, const QString& idName)
{
    const double now = m_clock.secondsSinceMidnight();
    if (m_flags.LogEnableVal != 1)
        return;
    if (m_lastLogLineTime && std::abs(now - *m_lastLogLineTime) <= kMinSecondsBetweenLines)
        return;
    writeLine(buildLine(m_clock.localDateTime(), frequency, freqType, freqName, id, idType, idName));
    m_lastLogLineTime = now;
}

bool ActivityLog::writeLine(const QString& line)
{
    if (!m_file.isOpen())
        return false;
    const QByteArray bytes = line.toLatin1() + "\r\n";
    const bool ok = m_file.write(bytes) == bytes.size();
    return m_file.flush() && ok;
}

} // namespace vexlor::recording
