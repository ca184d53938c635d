#include "recording/StatsChart.h"

#include <algorithm>

namespace vexlor::recording {

QList<ChartBar> busiest(const QList<SampleEvent>& records, ChartMeasure by, int count)
{
    QList<ChartBar> bars;
    bars.reserve(records.size());
    for (const SampleEvent& e : records) {
        const QString label = QStringList {e.ScanMode.trimmed(), e.Index.trimmed(), e.Identity.trimmed()}.join(
            QLatin1Char(' '));
        bars.append({label, by == ChartMeasure::Hits ? double(e.Hits) : double(qRound64(e.ElapsedTime * 10)) / 10});
    }
    const auto larger = [](const ChartBar& a, const ChartBar& b) { return a.value > b.value; };
    std::stable_sort(bars.begin(), bars.end(), larger);
    if (bars.size() > count)
        bars.resize(std::max(count, 0));
    return bars;
}

} // namespace vexlor::recording
