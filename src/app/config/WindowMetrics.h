#pragma once

#include <QSize>

namespace vexlor::app {

// The main window's size in twips (1/1440 inch), with and without the console.
inline constexpr int kMainWidthTwips = 7485;
inline constexpr int kMainHeightConsoleTwips = 8205;
inline constexpr int kMainHeightCompactTwips = 6120;

int twipsToPixels(int twips, double dpi);
// In pixels at the screen's logical resolution.
QSize mainWindowSize(bool consoleShown, double dpiX, double dpiY);

} // namespace vexlor::app
