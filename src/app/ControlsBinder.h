#pragma once

#include "controls/DirectEntry.h"
#include "controls/FunctionLamps.h"
#include "controls/IdLockoutReview.h"
#include "controls/LockoutReview.h"
#include "controls/ModeCommands.h"
#include "link/Console.h"

#include <QObject>
#include <memory>

class QLabel;
class QWidget;

namespace vexlor::controls {
class FreqLockout;
class IDLockout;
}

namespace vexlor::app {

class Application;
class EntryBox;

// Connects the main window's keys, lamps, entry boxes, console, name labels
// and menu items to the operator-control logic, and owns the two lock-out
// review windows (made on first use, then reused).
class ControlsBinder : public QObject {
    Q_OBJECT
public:
    explicit ControlsBinder(Application& app);
    ~ControlsBinder() override;

    controls::ModeCommands& modes() { return m_modes; }
    controls::DirectEntry& entry() { return m_entry; }
    link::Console& console() { return m_console; }
    controls::LockoutReview& freqLockouts() { return m_freqReview; }
    controls::IdLockoutReview& idLockouts() { return m_idReview; }
    // Null until first opened.
    controls::FreqLockout* freqLockoutWindow() const { return m_freqWindow.get(); }
    controls::IDLockout* idLockoutWindow() const { return m_idWindow.get(); }

private:
    void bindKeys();
    void bindMenu();
    void bindEntry();
    void bindConsole();
    void bindFonts();
    void showFreqLockout();
    void showIdLockout();
    void showWindow(QWidget* window);
    EntryBox* entryBox(controls::DirectEntry::Box box) const;

    Application& m_app;
    controls::ModeCommands m_modes;
    controls::FunctionLamps m_lamps;
    controls::DirectEntry m_entry;
    link::Console m_console;
    controls::LockoutReview m_freqReview;
    controls::IdLockoutReview m_idReview;
    std::unique_ptr<controls::FreqLockout> m_freqWindow;
    std::unique_ptr<controls::IDLockout> m_idWindow;
};

} // namespace vexlor::app
