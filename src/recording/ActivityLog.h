#pragma once

#include "recording/LogFlags.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <optional>

namespace vexlor::platform {
class Clock;
}

namespace vexlor::recording {

// The activity log file, open from start-up to shut-down, and the log lines.
class ActivityLog {
public:
    ActivityLog(const LogFlags& flags, const platform::Clock& clock);

    // An empty (after trimming) or "AUTOMATIC" name selects a name from the date and time.
    static bool isAutomaticName(const QString& logFileNameVal);
    // 2001-10-23 at 14:05 gives "2001-10-23_1405".
    static QString automaticName(const QDateTime& now);
    // "2001Oct23" and "14:05:09": the same on every machine, so logs can be parsed.
    static QString dateField(const QDate& d);
    static QString timeField(const QTime& t);

    // Opens base name + ".log" for appending: an earlier log of the same
    // name is kept, not truncated.
    bool open(const QString& baseName);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }
    QString errorString() const { return m_file.errorString(); }

    // One reception line, at most one every two seconds; every failure is silent.
    void Logging(const QString& frequency, const QString& freqType, const QString& freqName,
                 const QString& id, const QString& idType, const QString& idName);
    // The line the switches select, without CR LF.
    QString buildLine(const QDateTime& now, const QString& frequency, const QString& freqType,
                      const QString& freqName, const QString& id, const QString& idType,
                      const QString& idName) const;

    // Writes one line ended by CR LF and flushes it, so a crash loses nothing.
    bool writeLine(const QString& line);

private:
    const LogFlags& m_flags;
    const platform::Clock& m_clock;
    QFile m_file;
    std::optional<double> m_lastLogLineTime; // empty until the first line
};

} // namespace vexlor::recording
