#pragma once

#include <QString>
#include <QStringList>

namespace vexlor::app {

struct CommandLine {
    QString port;     // --port DEVICE: this run only
    QString dataDir;  // --data-dir DIR: working directory for every file
    bool desktop = false; // --desktop: the XDG data folder, as the menu entry starts it
    bool simulate = false;
    bool fast = false; // --fast: with --simulate, a line without pacing
    bool showVersion = false;
    bool showHelp = false;
    // Memory operations without a window; at most one of the three.
    QString exportFile; // --export FILE
    QString importFile; // --import FILE
    QString backupFile; // --backup FILE
    bool upload = false; // --upload: send what --import brought
    QString traceFile;   // --trace FILE: every byte on the serial line
    QString web;         // --web [ADDRESS:]PORT: the web remote on, for this run
    // --line-wait SECONDS: how long the end of a run waits for a dropped
    // line to return, to send the receiver what it was owed.
    int lineWaitSeconds = 30;
    QString error;    // non-empty: the arguments could not be used

    bool isBatch() const { return !exportFile.isEmpty() || !importFile.isEmpty() || !backupFile.isEmpty(); }

    // The arguments without the program name.
    static CommandLine parse(const QStringList& args);
    static QString helpText();
    static QString versionLine();
};

} // namespace vexlor::app
