#pragma once

#include "recording/SampleEvent.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <optional>

namespace vexlor::platform {
class Clock;
}

namespace vexlor::recording {

// Hits and carrier time per channel, frequency or talkgroup, for the run.
class MeasureIntfc : public QObject {
    Q_OBJECT
public:
    enum State { Idle = 0, CarrierUnknown = 1, Measuring = 2 };

    explicit MeasureIntfc(const platform::Clock& clock, QObject* parent = nullptr);

    void Tic();
    // An unset identity is ignored; an empty text is an identity like any other.
    void CarrierOn(const QString& Mode, const QString& WhereAt, const std::optional<QString>& IDent);
    void Toc();
    void CarrierOff();

    // A recording of the record with this key was kept; false when there is no such record.
    bool addRecorded(const QString& mode, const QString& place, const QString& identity, double seconds);

    // In the order records were first made.
    const QList<SampleEvent>& Measurements() const { return m_records; }
    int MeasureState() const { return m_state; }

Q_SIGNALS:
    void measurementsChanged();
    // One counted carrier: Hits 1, its seconds, and when it began.
    void hitCounted(const vexlor::recording::SampleEvent& hit);

private:
    void AddSample(const QString& mode, const QString& place, const QString& identity, double seconds);
    void reset();
    void startClock();


    const platform::Clock& m_clock;
    QList<SampleEvent> m_records;
    QHash<QString, qsizetype> m_byKey;
    // Durations run on the monotonic clock, so a wall-clock step during a
    // carrier cannot add or remove time; the wall clock only stamps hits.
    qint64 m_carrierStart = 0;
    std::optional<qint64> m_carrierStop;
    QDateTime m_startedAt;
    QString m_mode;
    QString m_place = QStringLiteral("0");
    QString m_identity;
    int m_state = Idle;
};

} // namespace vexlor::recording
