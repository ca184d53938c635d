#pragma once

#include "recording/StatsChart.h"
#include "recording/StatsTable.h"

#include <QObject>
#include <QTimer>
#include <optional>

namespace vexlor::platform {
class Clock;
class Dialogs;
}

namespace vexlor::recording {

class MeasureIntfc;

// What the statistics window does: its grid, the five-second refresh, the
// pause label, sorting by header presses, the CSV export and the chart data.
class StatsView : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 175;
    static constexpr qint64 kRefreshMs = 5000;

    // The Run label: its text and, once clicked, its background as 0xRRGGBB.
    struct RunLook {
        QString text;
        std::optional<unsigned> background;
    };

    StatsView(const MeasureIntfc& meas, const platform::Clock& clock, platform::Dialogs& dialogs,
              QObject* parent = nullptr);

    StatsTable& table() { return m_table; }
    const QTimer& StatsTimer() const { return m_timer; }
    RunLook run() const;
    bool updating() const { return m_updating; }
    ChartMeasure chartMeasure() const { return m_chartBy; }
    QList<ChartBar> chartBars() const;
    // The names the grid and the chart show beside what was heard.
    void setNames(NameOf nameOf);

    // The window opened: a fresh sort, a refresh, the timer on.
    void open();
    void StatsTimer_Timer();
    void Run_Click();
    // A press on a column header.
    void FreqList_MouseDown(int column, bool leftButton, bool shift);
    void setChartMeasure(ChartMeasure by);
    // "Export CSV...": asks for a file and writes the grid as shown.
    void ExportCmd_Click();
    // The window closed.
    void close();

Q_SIGNALS:
    void runChanged();
    void updatingChanged(bool updating);
    // The grid was rebuilt; the chart follows it.
    void refreshed();
    void mainWindowWanted();

private:
    void refresh();

    const MeasureIntfc& m_meas;
    // The records as of the last refresh: the chart shows what the grid shows.
    QList<SampleEvent> m_shown;
    const platform::Clock& m_clock;
    platform::Dialogs& m_dialogs;
    StatsTable m_table;
    QTimer m_timer;
    qint64 m_lastRefresh = 0;
    enum class RunState { Initial, Running, Paused } m_runState = RunState::Initial;
    bool m_updating = false;
    ChartMeasure m_chartBy = ChartMeasure::Hits;
    NameOf m_nameOf;
};

} // namespace vexlor::recording
