#pragma once

#include "simulator/SimulatorOptions.h"

#include <QString>

namespace vexlor::app {

// Where --simulate keeps the simulated receiver's memories, in the data folder.
inline const QString kSimulatorMemoriesFile = QStringLiteral("simulator-memories.txt");

// The simulator that --simulate runs inside the program. It paces the line
// at the configured speed ("9600,n,8,1"), as a receiver on a cable would,
// unless fast; its memories live in dataFolder across runs.
simulator::SimulatorOptions builtInSimulator(const QString& comSettings, bool fast, const QString& dataFolder);

} // namespace vexlor::app
