#pragma once

class QWidget;

namespace vexlor::app {

// Shows a secondary window above the main one. It is not the main window's
// child, so its control names stay its own.
void showSecondaryWindow(QWidget& main, QWidget& window);

} // namespace vexlor::app
