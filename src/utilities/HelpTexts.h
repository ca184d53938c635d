#pragma once

#include <QString>

// The texts of the help windows, as plain functions so they can be checked
// without a window.
namespace vexlor::utilities::helptexts {

struct Help {
    QString name;    // the window's object name
    QString caption;
    QString text;
};

// "Help on 'Type'": the seventeen type codes, one per line, tab-indented, "AIR = Aviation".
Help typeHelp();
Help centerTuningHelp();
Help tcpHelp();
Help communityHelp();

} // namespace vexlor::utilities::helptexts
