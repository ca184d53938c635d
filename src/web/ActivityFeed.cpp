#include "web/ActivityFeed.h"

#include "recording/SampleEvent.h"

#include <cmath>

namespace vexlor::web {

QJsonObject ActivityFeed::add(const recording::SampleEvent& hit, const QString& name, const QString& frequency)
{
    const bool talkgroup = hit.ScanMode.startsWith(QLatin1Char('T'));
    QJsonObject entry {
        {"time", hit.FirstHit.toString(Qt::ISODate)},
        {"type", hit.ScanMode.trimmed()},
        {"place", hit.Index.trimmed()},
        {"frequency", talkgroup ? frequency.trimmed() : hit.Identity.trimmed()},
        {"name", name},
        {"seconds", std::round(hit.ElapsedTime * 10) / 10},
    };
    if (talkgroup)
        entry.insert("id", hit.Identity.trimmed());
    m_hits.push_back(entry);
    if (m_hits.size() > size_t(kMax))
        m_hits.pop_front();
    return entry;
}

QJsonArray ActivityFeed::newestFirst() const
{
    QJsonArray out;
    for (auto it = m_hits.rbegin(); it != m_hits.rend(); ++it)
        out.append(*it);
    return out;
}

} // namespace vexlor::web
