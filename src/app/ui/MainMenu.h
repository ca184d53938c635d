#pragma once

class QMenuBar;

namespace vexlor::app {

// Fills the main window's menu bar. Every QAction (and every sub-menu's
// action) carries its item's name as objectName. Only "See Data", "Setup",
// "Remote Control Off" and "Exit" start enabled; the composition root enables
// the others as it connects them. The audio and light items mirror the
// receiver: clicking one leaves its check mark as it was, so a handler reads
// the state before the click and only the decoded answer changes the mark.
void buildMainMenu(QMenuBar* bar);

} // namespace vexlor::app
