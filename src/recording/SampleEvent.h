#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace vexlor::recording {

// One statistics record: what was heard, where, how often and how long.
class SampleEvent {
public:
    QString ScanMode = QStringLiteral("C");
    QString Index = QStringLiteral("0");
    QString Identity;
    int Hits = 0;
    double ElapsedTime = 0; // seconds
    double RecordedTime = 0; // seconds of it in recordings kept
    // Local wall-clock times at which the first and the latest counted carriers began.
    QDateTime FirstHit;
    QDateTime LastHit;

    // trimmed mode ":" trimmed place ":" trimmed identity
    static QString keyFor(const QString& mode, const QString& place, const QString& identity);
    QString key() const { return keyFor(ScanMode, Index, Identity); }
};

// The name the operator gave what a record heard (a channel, a talkgroup); empty for none.
using NameOf = std::function<QString(const SampleEvent&)>;

} // namespace vexlor::recording
