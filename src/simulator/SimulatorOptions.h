#pragma once

#include "simulator/FaultOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vexlor::simulator {

// How one simulator run is set up, from vexlor-sim's arguments or by the
// program that embeds it.
struct SimulatorOptions {
    quint32 seed = 0;
    bool seedGiven = false;  // otherwise a fresh seed every run
    QString linkPath;        // symlink to the slave; empty: one in a private temporary folder
    QString scriptFile;      // receptions from a script instead of at random
    QString stateFile;       // memories kept across runs; empty: factory memories, not saved
    QString traceFile;       // every byte the simulator reads and writes
    bool activity = true;    // receptions at random when no script is given
    bool showHelp = false;
    bool showVersion = false;
    FaultOptions faults;

    // The arguments without the program name.
    static std::optional<SimulatorOptions> parse(const QStringList& args, QString* error);
    static QString helpText();
};

} // namespace vexlor::simulator
