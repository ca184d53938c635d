#include "app/CompactBinder.h"

#include "app/Application.h"
#include "app/ui/MainWindow.h"
#include "controls/ui/Keypad.h"
#include "monitor/ui/SmartView.h"
#include "utilities/ui/TrayIcon.h"

#include <QAbstractButton>
#include <QAction>

namespace vexlor::app {

CompactBinder::CompactBinder(Application& app)
    : m_app(app), m_keys(app.link()), m_view(app.compact(), app.display(), app.link())
{
    MainWindow& w = app.window();
    m_tray = new utilities::TrayIcon(w.windowIcon(), &app);
    m_tray->setObjectName(QStringLiteral("picTray"));

    if (auto* b = w.control<QAbstractButton>(QStringLiteral("keypadcmd")))
        connect(b, &QAbstractButton::clicked, this, &CompactBinder::showKeypad);
    auto bindAction = [&](const char* name, auto handler) {
        if (QAction* a = w.action(QLatin1String(name))) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, handler);
        }
    };
    bindAction("VirtualKeypadmnu", [this] { showKeypad(); });
    bindAction("SmartViewMode", [this] {
        smartView();
        m_view.SmartViewMode();
    });
    bindAction("PopUpSmartViewMode", [this] {
        smartView();
        m_view.PopUpSmartViewMode();
    });

    connect(&m_view, &monitor::CompactView::keypadRequested, this, &CompactBinder::showKeypad);
    connect(&m_view, &monitor::CompactView::mainWindowShown, this, [this, &w](bool shown) {
        if (shown)
            w.showNormal();
        else if (m_tray->isAvailable())
            w.hide();
        else
            w.showMinimized(); // no notification area: the task bar is the way back
    });
    connect(&m_view, &monitor::CompactView::trayIconAdded, m_tray, &utilities::TrayIcon::addIcon);
    connect(&m_view, &monitor::CompactView::trayIconRemoved, m_tray, &utilities::TrayIcon::removeIcon);
    connect(m_tray, &utilities::TrayIcon::doubleClicked, this, [this] {
        smartView();
        m_view.trayDoubleClick();
    });
}

CompactBinder::~CompactBinder() = default;

void CompactBinder::showKeypad()
{
    if (!m_keypad) {
        m_keypad = std::make_unique<controls::Keypad>(m_keys);
        m_keypad->setWindowIcon(m_app.window().windowIcon());
    }
    m_keypad->show();
    m_keypad->raise();
    m_keypad->activateWindow();
}

monitor::SmartView& CompactBinder::smartView()
{
    if (!m_smartView) {
        m_smartView = std::make_unique<monitor::SmartView>(m_view, m_app.compact());
        m_smartView->setWindowIcon(m_app.window().windowIcon());
    }
    return *m_smartView;
}

} // namespace vexlor::app
