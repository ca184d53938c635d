#include "recording/MeasureIntfc.h"

#include "platform/Clock.h"

namespace vexlor::recording {

namespace {
constexpr double kSecondsPerDay = 86400.0;
constexpr double kStopUnset = 0.01;
constexpr double kShortestCarrier = 0.5;
} // namespace

MeasureIntfc::MeasureIntfc(const platform::Clock& clock, QObject* parent)
    : QObject(parent), m_clock(clock)
{
}

double MeasureIntfc::now() const { return m_clock.secondsSinceMidnight(); }

void MeasureIntfc::reset()
{
    m_carrierStart = m_carrierStop = 0;
    m_place = QStringLiteral("0");
    m_mode.clear();
    m_identity.clear();
    m_state = Idle;
}

void MeasureIntfc::Tic()
{
    m_carrierStart = now();
    m_state = CarrierUnknown;
}

void MeasureIntfc::CarrierOn(const QString& Mode, const QString& WhereAt, const std::optional<QString>& IDent)
{
    if (!IDent)
        return;
    switch (m_state) {
    case Idle:
        m_carrierStart = now();
        break;
    case CarrierUnknown:
        // A talkgroup's time runs from its announcement, a channel's from the squelch.
        if (Mode == QLatin1String("T"))
            m_carrierStart = now();
        break;
    case Measuring:
        if (WhereAt == m_place && *IDent == m_identity)
            return;
        AddSample(m_mode, m_place, m_identity, 0); // abandoned
        m_carrierStart = now();
        break;
    }
    m_carrierStop = 0;
    m_mode = Mode;
    m_place = WhereAt;
    m_identity = *IDent;
    m_state = Measuring;
}

void MeasureIntfc::Toc()
{
    m_carrierStop = now();
    CarrierOff();
}

void MeasureIntfc::CarrierOff()
{
    if (m_state == Measuring) {
        if (m_carrierStop < kStopUnset)
            m_carrierStop = now();
        double seconds = m_carrierStop - m_carrierStart;
        if (m_carrierStart > m_carrierStop)
            seconds = m_carrierStop + kSecondsPerDay - m_carrierStart; // spanned midnight
        AddSample(m_mode, m_place, m_identity, seconds);
    }
    reset();
}

void MeasureIntfc::AddSample(const QString& mode, const QString& place, const QString& identity, double seconds)
{
    if (mode.isEmpty() || seconds < kShortestCarrier)
        return;
    const QString key = SampleEvent::keyFor(mode, place, identity);
    const auto it = m_byKey.constFind(key);
    if (it != m_byKey.constEnd()) {
        SampleEvent& e = m_records[*it];
        e.ElapsedTime += seconds;
        e.Hits += 1;
    } else {
        SampleEvent e;
        e.ScanMode = mode;
        e.Index = place;
        e.Identity = identity;
        e.ElapsedTime = seconds;
        e.Hits = 1;
        m_byKey.insert(key, m_records.size());
        m_records.append(e);
    }
    Q_EMIT measurementsChanged();
}

} // namespace vexlor::recording
