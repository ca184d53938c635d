#include "recording/MeasureIntfc.h"

#include "platform/Clock.h"

namespace vexlor::recording {

namespace {
constexpr double kShortestCarrier = 0.5;
} // namespace

MeasureIntfc::MeasureIntfc(const platform::Clock& clock, QObject* parent)
    : QObject(parent), m_clock(clock)
{
}

void MeasureIntfc::startClock()
{
    m_carrierStart = m_clock.monotonicMs();
    m_startedAt = m_clock.localDateTime();
}

void MeasureIntfc::reset()
{
    m_carrierStart = 0;
    m_carrierStop.reset();
    m_startedAt = QDateTime();
    m_place = QStringLiteral("0");
    m_mode.clear();
    m_identity.clear();
    m_state = Idle;
}

void MeasureIntfc::Tic()
{
    startClock();
    m_state = CarrierUnknown;
}

void MeasureIntfc::CarrierOn(const QString& Mode, const QString& WhereAt, const std::optional<QString>& IDent)
{
    if (!IDent)
        return;
    switch (m_state) {
    case Idle:
        startClock();
        break;
    case CarrierUnknown:
        // A talkgroup's time runs from its announcement, a channel's from the squelch.
        if (Mode == QLatin1String("T"))
            startClock();
        break;
    case Measuring:
        if (WhereAt == m_place && *IDent == m_identity)
            return;
        AddSample(m_mode, m_place, m_identity, 0); // abandoned
        startClock();
        break;
    }
    m_carrierStop.reset();
    m_mode = Mode;
    m_place = WhereAt;
    m_identity = *IDent;
    m_state = Measuring;
}

void MeasureIntfc::Toc()
{
    m_carrierStop = m_clock.monotonicMs();
    CarrierOff();
}

void MeasureIntfc::CarrierOff()
{
    if (m_state == Measuring) {
        const qint64 stop = m_carrierStop.value_or(m_clock.monotonicMs());
        const double seconds = double(stop - m_carrierStart) / 1000.0;
        AddSample(m_mode, m_place, m_identity, seconds);
    }
    reset();
}

void MeasureIntfc::AddSample(const QString& mode, const QString& place, const QString& identity, double seconds)
{
    if (mode.isEmpty() || seconds < kShortestCarrier)
        return;
    SampleEvent hit;
    hit.ScanMode = mode;
    hit.Index = place;
    hit.Identity = identity;
    hit.ElapsedTime = seconds;
    hit.Hits = 1;
    hit.FirstHit = hit.LastHit = m_startedAt;
    const QString key = hit.key();
    const auto it = m_byKey.constFind(key);
    if (it != m_byKey.constEnd()) {
        SampleEvent& e = m_records[*it];
        e.ElapsedTime += seconds;
        e.Hits += 1;
        e.LastHit = m_startedAt;
    } else {
        m_byKey.insert(key, m_records.size());
        m_records.append(hit);
    }
    Q_EMIT measurementsChanged();
    Q_EMIT hitCounted(hit);
}

bool MeasureIntfc::addRecorded(const QString& mode, const QString& place, const QString& identity, double seconds)
{
    const auto it = m_byKey.constFind(SampleEvent::keyFor(mode, place, identity));
    if (it == m_byKey.constEnd())
        return false;
    m_records[*it].RecordedTime += seconds;
    Q_EMIT measurementsChanged();
    return true;
}

} // namespace vexlor::recording

#include "moc_MeasureIntfc.cpp"
