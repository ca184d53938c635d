#include "app/HelpBinder.h"

#include "app/Application.h"
#include "app/SecondaryWindow.h"
#include "app/Version.h"
#include "app/ui/MainWindow.h"
#include "utilities/HelpTexts.h"
#include "utilities/Links.h"
#include "utilities/ui/About.h"
#include "utilities/ui/HelpWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>

namespace vexlor::app {

namespace ht = utilities::helptexts;

using Link = utilities::Links::Link;

HelpBinder::HelpBinder(Application& app) : m_app(app)
{
    m_links = std::make_unique<utilities::Links>(
        app.platform().shell, app.platform().dialogs,
        [&ini = app.INIObj()] { return ini.links(); },
        documentationPath());
    const std::pair<const char*, Link> links[] = {
        {"URLkelto", Link::WebSite},
        {"URLmailKelto", Link::Mail},
        {"URLmailingListGeneralInformations", Link::ListPage},
        {"URLmailingListPost", Link::ListPost},
        {"URLmailingListSubscribe", Link::ListSubscribe},
        {"URLmailingListUnsubscribe", Link::ListUnsubscribe},
    };
    for (const auto& [item, link] : links) {
        if (QAction* a = app.window().action(QLatin1String(item))) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, [this, l = link] {
                if (!m_app.finished())
                    m_links->open(l);
            });
        }
    }
    if (QAction* a = app.window().action(QStringLiteral("Aboutit"))) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [this] {
            if (m_app.finished())
                return;
            if (!m_about)
                m_about = std::make_unique<utilities::About>(*m_links, versionText());
            showSecondaryWindow(m_app.window(), *m_about);
        });
    }

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

QString HelpBinder::documentationPath()
{
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/vexlor/README.md");
    if (QFileInfo(installed).isFile())
        return QFileInfo(installed).canonicalFilePath();
    return QStringLiteral(VEXLOR_SOURCE_README);
}

utilities::HelpWindow* HelpBinder::window(const QString& name) const
{
    const auto it = m_windows.find(name);
    return it == m_windows.end() ? nullptr : it->second.get();
}

} // namespace vexlor::app

#include "moc_HelpBinder.cpp"
