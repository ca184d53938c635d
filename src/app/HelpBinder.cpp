#include "app/HelpBinder.h"

#include "app/Application.h"
#include "app/SecondaryWindow.h"
#include "app/ui/MainWindow.h"
#include "utilities/HelpTexts.h"
#include "utilities/ui/HelpWindow.h"

#include <QAction>

namespace vexlor::app {

namespace ht = utilities::helptexts;

HelpBinder::HelpBinder(Application& app) : m_app(app)
{
    const std::pair<const char*, ht::Help (*)()> items[] = {
        {"HelpTypes", &ht::typeHelp},
        {"HelpCenterTuningMnu", &ht::centerTuningHelp},
        {"TcpConnectionHelpMnu", &ht::tcpHelp},
        {"HelpICQmnu", &ht::communityHelp},
    };
    for (const auto& [item, help] : items) {
        QAction* a = app.window().action(QLatin1String(item));
        if (!a)
            continue;
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [this, h = help] {
            if (m_app.finished())
                return;
            const ht::Help text = h();
            auto& w = m_windows[text.name];
            if (!w)
                w = std::make_unique<utilities::HelpWindow>(text.name, text.caption, text.text);
            showSecondaryWindow(m_app.window(), *w);
        });
    }
}

HelpBinder::~HelpBinder() = default;

utilities::HelpWindow* HelpBinder::window(const QString& name) const
{
    const auto it = m_windows.find(name);
    return it == m_windows.end() ? nullptr : it->second.get();
}

} // namespace vexlor::app
