#include "app/StatsBinder.h"

#include "app/Application.h"
#include "app/NamesHeard.h"
#include "app/SecondaryWindow.h"
#include "app/ui/MainWindow.h"
#include "recording/ui/Stats.h"

#include <QAction>

namespace vexlor::app {

StatsBinder::StatsBinder(Application& app)
    : m_app(app), m_view(app.meas(), app.platform().clock, app.platform().dialogs)
{
    if (QAction* a = app.window().action(QStringLiteral("Statistics"))) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &StatsBinder::Statistics_Click);
    }
    connect(&m_view, &recording::StatsView::mainWindowWanted, this, &StatsBinder::bringMainForward);
    // A channel's record is named by its channel, a talkgroup's by its bank's ID lists.
    m_view.setNames([&tables = app.tables()](const recording::SampleEvent& e) { return nameHeard(tables, e); });
}

StatsBinder::~StatsBinder() = default;

void StatsBinder::Statistics_Click()
{
    if (m_app.finished())
        return;
    if (!m_window)
        m_window = std::make_unique<recording::Stats>(m_view);
    // Already open: brought forward, keeping its sort and pause.
    const bool open = m_window->isVisible();
    showSecondaryWindow(m_app.window(), *m_window);
    if (!open)
        m_view.open();
}

void StatsBinder::bringMainForward()
{
    if (!m_app.finished())
        bringForward(m_app.window());
}

} // namespace vexlor::app

#include "moc_StatsBinder.cpp"
