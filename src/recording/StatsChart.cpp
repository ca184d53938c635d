#include "recording/StatsChart.h"

#include <algorithm>

namespace vexlor::recording {

QList<ChartBar> busiest(const QList<SampleEvent>& records, ChartMeasure by, int count, const NameOf& nameOf)
{
    QList<std::pair<ChartBar, const SampleEvent*>> bars;
    bars.reserve(records.size());
    for (const SampleEvent& e : records)
        bars.append({{QString(), by == ChartMeasure::Hits ? double(e.Hits) : double(qRound64(e.ElapsedTime * 10)) / 10}, &e});
    const auto larger = [](const auto& a, const auto& b) { return a.first.value > b.first.value; };
    std::stable_sort(bars.begin(), bars.end(), larger);
    if (bars.size() > count)
        bars.resize(std::max(count, 0));
    QList<ChartBar> out;
    QStringList given;
    for (auto& [bar, e] : bars) {
        const QString where = QStringList {e->ScanMode.trimmed(), e->Index.trimmed(), e->Identity.trimmed()}.join(QLatin1Char(' '));
        const QString name = nameOf ? nameOf(*e).trimmed() : QString();
        bar.label = name.isEmpty() ? where : QStringLiteral("%1 (%2)").arg(name, e->Identity.trimmed());
        // A chart axis takes each label once: a repeated one says where it was heard.
        if (given.contains(bar.label))
            bar.label = QStringLiteral("%1 (%2)").arg(name, where);
        given << bar.label;
        out << bar;
    }
    return out;
}

} // namespace vexlor::recording
