#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <deque>

namespace vexlor::recording {
class SampleEvent;
}

namespace vexlor::web {

// The last hundred transmissions heard, for the page's activity list.
class ActivityFeed {
public:
    static constexpr int kMax = 100;

    // `frequency` is where a talkgroup was heard; a channel's or a search's is its identity.
    // Returns the entry, for the message that announces it.
    QJsonObject add(const recording::SampleEvent& hit, const QString& name, const QString& frequency);
    QJsonArray newestFirst() const;

private:
    std::deque<QJsonObject> m_hits; // oldest first
};

} // namespace vexlor::web
