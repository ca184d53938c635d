#pragma once

#include "controls/Keypad.h"
#include "monitor/CompactView.h"

#include <QObject>
#include <memory>

namespace vexlor::controls {
class Keypad;
}
namespace vexlor::monitor {
class SmartView;
}
namespace vexlor::utilities {
class TrayIcon;
}

namespace vexlor::app {

class Application;

// Connects the virtual keypad, the compact view and the tray icon to the
// main window; the windows are made on first use and then reused.
class CompactBinder : public QObject {
public:
    explicit CompactBinder(Application& app);
    ~CompactBinder() override;

private:
    void showKeypad();
    monitor::SmartView& smartView();

    Application& m_app;
    controls::KeypadSender m_keys;
    monitor::CompactView m_view;
    // Owned by the application, found there as "picTray".
    utilities::TrayIcon* m_tray = nullptr;
    std::unique_ptr<controls::Keypad> m_keypad;
    std::unique_ptr<monitor::SmartView> m_smartView;
};

} // namespace vexlor::app
