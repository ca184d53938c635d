#pragma once

#include "recording/SampleEvent.h"

#include <QList>
#include <QString>

namespace vexlor::recording {

// What the statistics chart plots: the busiest records by hits or by carrier time.
struct ChartBar {
    QString label;
    double value = 0;
    friend bool operator==(const ChartBar&, const ChartBar&) = default;
};

enum class ChartMeasure { Hits, Time };

// At most `count` bars, the largest first; ties keep the collection's order.
// Times are rounded to the tenth of a second, as the grid shows them. A bar
// is labelled by its name and identity where the record has a name, and by
// mode, place and identity otherwise; every label is a bar's own.
QList<ChartBar> busiest(const QList<SampleEvent>& records, ChartMeasure by, int count = 20, const NameOf& nameOf = {});

} // namespace vexlor::recording
