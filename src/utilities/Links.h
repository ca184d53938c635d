#pragma once

#include "utilities/LinkTargets.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace vexlor::platform {
class Dialogs;
class Shell;
}

namespace vexlor::utilities {

// The Help menu's links and the about window's link labels. Web links open the
// shipped documentation until a web address is configured; mail links need a
// configured address, and the operator is told when there is none. Nothing is
// ever sent to an address the operator did not give.
class Links {
public:
    enum class Link { WebSite, Mail, ListPage, ListPost, ListSubscribe, ListUnsubscribe, AboutMail, ScannerPage };

    struct Target {
        QUrl url;         // valid when there is something to open
        QString problem;  // otherwise, what to tell the operator
    };

    // targets is read at each use, so an edited configuration counts at once.
    Links(platform::Shell& shell, platform::Dialogs& dialogs, std::function<LinkTargets()> targets,
          QString documentation);

    Target target(Link link) const;
    // Opens the target with the desktop's handler; a desktop without one fails quietly.
    void open(Link link);

    // The subject of the about window's mail.
    static QString aboutSubject();

private:
    Target webTarget(const QString& configured, const char* key) const;
    static Target mailTarget(const QString& configured, const char* key, const QString& subject = {});

    platform::Shell& m_shell;
    platform::Dialogs& m_dialogs;
    std::function<LinkTargets()> m_targets;
    QString m_documentation;
};

} // namespace vexlor::utilities
