#include "app/NamesHeard.h"

#include "memory/MemoryTables.h"
#include "recording/SampleEvent.h"

namespace vexlor::app {

QString nameHeard(const memory::MemoryTables& tables, const recording::SampleEvent& e)
{
    using MT = memory::MemoryTables;
    const int place = e.Index.trimmed().toInt();
    if (e.ScanMode.trimmed() == QLatin1String("C") && place >= 1 && place <= MT::kChannels)
        return MT::trimBlanks(tables.Channels.text(place, MT::kChName));
    const std::optional<int> slot = e.ScanMode.startsWith(QLatin1Char('T')) ? tables.slotOfId(place, e.Identity.trimmed()) : std::nullopt;
    return slot ? MT::trimBlanks(tables.IDs.text(place, *slot, MT::kIdName)) : QString();
}

} // namespace vexlor::app
