#pragma once

#include <QString>
#include <QStringList>

namespace vexlor::app {

struct CommandLine {
    QString port;     // --port DEVICE: this run only
    QString dataDir;  // --data-dir DIR: working directory for every file
    bool simulate = false;
    bool showVersion = false;
    bool showHelp = false;
    QString error;    // non-empty: the arguments could not be used

    // The arguments without the program name.
    static CommandLine parse(const QStringList& args);
    static QString helpText();
    static QString versionLine();
};

} // namespace vexlor::app
