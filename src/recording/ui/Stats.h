#pragma once

#include <QWidget>

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace vexlor::recording {

class StatsView;

// The statistics window, modeless and reused: the grid, a chart of the
// busiest rows, and the buttons. Each event is one call on StatsView.
class Stats : public QWidget {
    Q_OBJECT
public:
    explicit Stats(StatsView& view, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void renderRun();
    void renderUpdating(bool updating);
    void renderChart();
    void holdPlace();
    void restorePlace();

    StatsView& m_view;
    QTableView* m_list = nullptr;
    QLabel* m_wait = nullptr;
    QPushButton* m_run = nullptr;
    QComboBox* m_chartBy = nullptr;
    QChartView* m_chart = nullptr;
    // Where the operator left the grid, across a refresh or a sort.
    QString m_heldKey;
    int m_heldScroll = 0;
};

} // namespace vexlor::recording
