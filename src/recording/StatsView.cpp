#include "recording/StatsView.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/SafeWrite.h"
#include "recording/MeasureIntfc.h"

#include <QDir>
#include <QFileInfo>

namespace vexlor::recording {

using platform::Dialogs;

StatsView::StatsView(const MeasureIntfc& meas, const platform::Clock& clock, Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_meas(meas), m_clock(clock), m_dialogs(dialogs), m_table(this)
{
    m_timer.setObjectName(QStringLiteral("StatsTimer"));
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &StatsView::StatsTimer_Timer);
}

StatsView::RunLook StatsView::run() const
{
    switch (m_runState) {
    case RunState::Running:
        return {QStringLiteral("Run"), 0x00ff00u};
    case RunState::Paused:
        return {QStringLiteral("Pause"), 0xff0000u};
    case RunState::Initial:
        break;
    }
    return {QStringLiteral("Pause 5 second updates"), std::nullopt};
}

QList<ChartBar> StatsView::chartBars() const { return busiest(m_shown, m_chartBy, 20, m_nameOf); }

void StatsView::setNames(NameOf nameOf)
{
    m_nameOf = nameOf;
    m_table.setNames(std::move(nameOf));
}

void StatsView::open()
{
    m_table.clearSort();
    m_runState = RunState::Initial;
    refresh();
    m_lastRefresh = m_clock.monotonicMs();
    m_timer.start();
    Q_EMIT runChanged();
}

void StatsView::StatsTimer_Timer()
{
    const qint64 now = m_clock.monotonicMs();
    if (now - m_lastRefresh <= kRefreshMs)
        return;
    m_lastRefresh = now;
    refresh();
}

void StatsView::Run_Click()
{
    if (m_timer.isActive())
        m_timer.stop();
    else
        m_timer.start();
    m_runState = m_timer.isActive() ? RunState::Running : RunState::Paused;
    Q_EMIT runChanged();
}

void StatsView::FreqList_MouseDown(int column, bool leftButton, bool shift)
{
    if (leftButton)
        m_table.sortPrimary(column, shift);
    else
        m_table.sortSecondary(column, shift);
    refresh();
}

void StatsView::setChartMeasure(ChartMeasure by)
{
    if (by == m_chartBy)
        return;
    m_chartBy = by;
    Q_EMIT refreshed();
}

void StatsView::ExportCmd_Click()
{
    // The dialog may move the working directory, where every other file lives.
    const QString cwd = QDir::currentPath();
    const auto chosen = m_dialogs.openFile(
        {QStringLiteral("Export CSV"), QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*"), 1, true});
    QDir::setCurrent(cwd);
    if (!chosen || chosen->isEmpty())
        return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");

    // Written whole or not at all: a failed export never leaves half a file.
    const auto w = platform::safewrite::replace(path, m_table.toCsv());
    if (w.written)
        return;
    Dialogs::Message m(QStringLiteral("The statistics could not be saved to %1.").arg(QDir::toNativeSeparators(path)),
                       {}, Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    m.informative = w.reason + QStringLiteral("\nAny earlier file of that name is unchanged.");
    m_dialogs.message(m);
}

void StatsView::close()
{
    m_timer.stop();
    Q_EMIT mainWindowWanted();
}

void StatsView::refresh()
{
    m_updating = true;
    Q_EMIT updatingChanged(true);
    m_shown = m_meas.Measurements();
    m_table.refresh(m_shown);
    m_updating = false;
    Q_EMIT updatingChanged(false);
    Q_EMIT refreshed();
}

} // namespace vexlor::recording

#include "moc_StatsView.cpp"
