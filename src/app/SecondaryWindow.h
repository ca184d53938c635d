#pragma once

class QWidget;

namespace vexlor::app {

// Shows a secondary window above the main one. It is not the main window's
// child, so its control names stay its own.
void showSecondaryWindow(QWidget& main, QWidget& window);
// Brings the main window to the front, as a closing window asks; a hidden one stays hidden.
void bringForward(QWidget& main);

} // namespace vexlor::app
