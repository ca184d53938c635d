#pragma once

#include <QString>
#include <QStringList>

namespace vexlor::remote {

// vexlor-remote HOST [PORT] [--user NAME] [--password P] [--wait SECONDS]
struct ClientOptions {
    QString host;
    quint16 port = 1025;
    QString user;
    QString password;
    // How long a busy link is tried again before giving up.
    int waitSeconds = 30;
    bool showHelp = false;
    bool showVersion = false;
    QString error; // set when the arguments cannot be used

    // defaultUser and defaultPassword come from the environment.
    static ClientOptions parse(const QStringList& args, const QString& defaultUser,
                               const QString& defaultPassword = {});
    static QString helpText();
};

} // namespace vexlor::remote
