#include "app/BuiltInSimulator.h"

#include "platform/SerialSettings.h"

#include <QDir>

namespace vexlor::app {

simulator::SimulatorOptions builtInSimulator(const QString& comSettings, bool fast, const QString& dataFolder)
{
    simulator::SimulatorOptions o;
    // Settings the port cannot take leave it at its default speed, and the line with it.
    if (!fast)
        o.faults.baud = platform::SerialSettings::parse(comSettings).value_or(platform::SerialSettings {}).baud;
    o.stateFile = QDir(dataFolder).absoluteFilePath(kSimulatorMemoriesFile);
    return o;
}

} // namespace vexlor::app
