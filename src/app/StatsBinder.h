#pragma once

#include "recording/StatsView.h"

#include <QObject>
#include <memory>

namespace vexlor::recording {
class Stats;
}

namespace vexlor::app {

class Application;

// Options > Statistics: the statistics logic and its window, made on first use and then reused.
class StatsBinder : public QObject {
    Q_OBJECT
public:
    explicit StatsBinder(Application& app);
    ~StatsBinder() override;

    recording::StatsView& view() { return m_view; }
    // Null until first opened.
    recording::Stats* window() const { return m_window.get(); }

    void Statistics_Click();

private:
    void bringMainForward();

    Application& m_app;
    recording::StatsView m_view;
    std::unique_ptr<recording::Stats> m_window;
};

} // namespace vexlor::app
