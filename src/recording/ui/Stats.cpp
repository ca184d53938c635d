#include "recording/ui/Stats.h"

#include "recording/StatsView.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cmath>

namespace vexlor::recording {

namespace {
const char* const kHelp[4] = {"LEFT Click    - Sort Primary", "RIGHT Click - Sort Secondary",
                              "DEFAULT      - Descending", "SHIFT           - Ascending"};
}

Stats::Stats(StatsView& view, QWidget* parent) : QWidget(parent, Qt::Window), m_view(view)
{
    setObjectName(QStringLiteral("Stats"));
    setWindowTitle(QStringLiteral("Statistics"));
    resize(900, 700);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("StatsTabs"));

    auto* tablePage = new QWidget(tabs);
    auto* tableColumn = new QVBoxLayout(tablePage);
    m_list = new QTableView(tablePage);
    m_list->setObjectName(QStringLiteral("FreqList"));
    m_list->setModel(&view.table());
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAlternatingRowColors(true);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->viewport()->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    connect(&view.table(), &QAbstractItemModel::modelAboutToBeReset, this, &Stats::holdPlace);
    connect(&view.table(), &QAbstractItemModel::modelReset, this, &Stats::restorePlace);
    const int ch = m_list->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int widths[StatsTable::ColumnCount] = {5, 5, 6, 11, 7, 9, 19, 19, 24};
    for (int c = 0; c < StatsTable::ColumnCount; ++c)
        m_list->setColumnWidth(c, widths[c] * ch);
    // The name shows beside what was heard; a press still sorts by the column's own number.
    m_list->horizontalHeader()->moveSection(StatsTable::Name, StatsTable::FreqId + 1);
    // Recorded time beside the time heard.
    m_list->horizontalHeader()->moveSection(m_list->horizontalHeader()->visualIndex(StatsTable::Recorded),
                                            m_list->horizontalHeader()->visualIndex(StatsTable::Time) + 1);
    m_list->horizontalHeader()->setStretchLastSection(true);
    tableColumn->addWidget(m_list, 1);
    tabs->addTab(tablePage, QStringLiteral("Table"));

    auto* chartPage = new QWidget(tabs);
    auto* chartColumn = new QVBoxLayout(chartPage);
    auto* chartRow = new QHBoxLayout;
    auto* chartLabel = new QLabel(QStringLiteral("The 20 busiest rows"), chartPage);
    m_chartBy = new QComboBox(chartPage);
    m_chartBy->setObjectName(QStringLiteral("ChartCmb"));
    m_chartBy->addItem(QStringLiteral("by hits"));
    m_chartBy->addItem(QStringLiteral("by time"));
    chartLabel->setBuddy(m_chartBy);
    chartRow->addWidget(chartLabel);
    chartRow->addWidget(m_chartBy);
    chartRow->addStretch(1);
    m_chart = new QChartView(chartPage);
    m_chart->setObjectName(QStringLiteral("ChartView"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    chartColumn->addLayout(chartRow);
    chartColumn->addWidget(m_chart, 1);
    tabs->addTab(chartPage, QStringLiteral("Chart"));

    auto* help = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(QString::fromLatin1(kHelp[i]), this);
        l->setObjectName(QStringLiteral("Label4_%1").arg(i));
        help->addWidget(l);
    }

    m_run = new QPushButton(this);
    m_run->setObjectName(QStringLiteral("Run"));
    auto* exportCmd = new QPushButton(QStringLiteral("Export CSV..."), this);
    exportCmd->setObjectName(QStringLiteral("ExportCmd"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKCmd"));

    // Keeps its place when hidden, so nothing moves while the grid refreshes.
    m_wait = new QLabel(QStringLiteral("Please wait a moment ..."), this);
    m_wait->setObjectName(QStringLiteral("WaitLbl"));
    QSizePolicy keep = m_wait->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_wait->setSizePolicy(keep);
    m_wait->hide();

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(help);
    bottom->addStretch(1);
    bottom->addWidget(m_wait);
    bottom->addWidget(m_run);
    bottom->addWidget(exportCmd);
    bottom->addWidget(ok);

    auto* column = new QVBoxLayout(this);
    column->addWidget(tabs, 1);
    column->addLayout(bottom);

    connect(m_run, &QPushButton::clicked, &view, &StatsView::Run_Click);
    connect(exportCmd, &QPushButton::clicked, &view, &StatsView::ExportCmd_Click);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    connect(m_chartBy, &QComboBox::activated, &view,
            [&view](int i) { view.setChartMeasure(i == 0 ? ChartMeasure::Hits : ChartMeasure::Time); });
    connect(&view, &StatsView::runChanged, this, &Stats::renderRun);
    connect(&view, &StatsView::updatingChanged, this, &Stats::renderUpdating);
    connect(&view, &StatsView::refreshed, this, &Stats::renderChart);
    renderRun();
    renderChart();
}

void Stats::closeEvent(QCloseEvent* e)
{
    m_view.close();
    QWidget::closeEvent(e);
}

bool Stats::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_list->horizontalHeader()->viewport() && e->type() == QEvent::MouseButtonPress) {
        const auto* me = static_cast<QMouseEvent*>(e);
        const int column = m_list->horizontalHeader()->logicalIndexAt(me->position().toPoint());
        if (column >= 0)
            m_view.FreqList_MouseDown(column, me->button() == Qt::LeftButton,
                                      me->modifiers().testFlag(Qt::ShiftModifier));
        return true;
    }
    // A press on a cell sorts by its column too; the cell is still selected.
    if (watched == m_list->viewport() && e->type() == QEvent::MouseButtonPress) {
        const auto* me = static_cast<QMouseEvent*>(e);
        const int column = m_list->columnAt(me->position().toPoint().x());
        if (column >= 0 && m_list->rowAt(me->position().toPoint().y()) >= 0)
            m_view.FreqList_MouseDown(column, me->button() == Qt::LeftButton,
                                      me->modifiers().testFlag(Qt::ShiftModifier));
    }
    return QWidget::eventFilter(watched, e);
}

void Stats::holdPlace()
{
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    m_heldKey = selected.isEmpty() ? QString() : m_view.table().keyAt(selected.first().row());
    m_heldScroll = m_list->verticalScrollBar()->value();
}

void Stats::restorePlace()
{
    // The grid stays where the operator left it: the same record selected, the same scroll.
    if (const int row = m_heldKey.isEmpty() ? -1 : m_view.table().rowOfKey(m_heldKey); row >= 0)
        m_list->selectionModel()->select(m_view.table().index(row, 0),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->verticalScrollBar()->setValue(m_heldScroll);
}

void Stats::renderRun()
{
    const StatsView::RunLook look = m_view.run();
    m_run->setText(look.text);
    m_run->setStyleSheet(look.background ? QStringLiteral("background-color: #%1; border: 1px solid gray; border-radius: 3px; padding: 4px 10px;")
                                               .arg(*look.background, 6, 16, QLatin1Char('0'))
                                         : QString());
}

void Stats::renderUpdating(bool updating)
{
    m_wait->setText(QStringLiteral("Updating..."));
    m_wait->setVisible(updating);
    if (updating && isVisible())
        m_wait->repaint();
}

void Stats::renderChart()
{
    m_chartBy->setCurrentIndex(m_view.chartMeasure() == ChartMeasure::Hits ? 0 : 1);
    const QList<ChartBar> bars = m_view.chartBars();
    const bool byHits = m_view.chartMeasure() == ChartMeasure::Hits;

    auto* set = new QBarSet(byHits ? QStringLiteral("Hits") : QStringLiteral("Seconds"));
    QStringList labels;
    double top = 0;
    // The chart draws its first category at the bottom; the busiest goes on top.
    for (auto it = bars.crbegin(); it != bars.crend(); ++it) {
        set->append(it->value);
        labels << it->label;
        top = std::max(top, it->value);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setLabelsVisible(true);

    auto* chart = new QChart;
    chart->addSeries(series);
    chart->setTitle(bars.isEmpty() ? QStringLiteral("Nothing heard yet")
                                   : (byHits ? QStringLiteral("Hits") : QStringLiteral("Carrier time, seconds")));
    chart->legend()->hide();
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    // Twenty labels must fit beside their bars without being cut short.
    QFont small = categories->labelsFont();
    small.setPointSizeF(std::min(small.pointSizeF(), 8.0));
    categories->setLabelsFont(small);
    chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    // About five ticks at round steps; hits are counted in whole steps.
    const double raw = std::max(top * 1.05, 1.0) / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * magnitude >= raw) {
            step = m * magnitude;
            break;
        }
    if (byHits)
        step = std::max(1.0, std::ceil(step));
    auto* values = new QValueAxis;
    values->setTickType(QValueAxis::TicksDynamic);
    values->setTickAnchor(0);
    values->setTickInterval(step);
    values->setRange(0, step * std::ceil(std::max(top * 1.05, 1.0) / step));
    values->setLabelFormat(step < 1 ? QStringLiteral("%.1f") : QStringLiteral("%.0f"));
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);

    QChart* old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;
}

} // namespace vexlor::recording

#include "moc_Stats.cpp"
