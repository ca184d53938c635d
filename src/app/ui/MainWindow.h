#pragma once

#include "app/ui/ReadoutScaler.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QKeyEvent;
class QToolButton;

namespace vexlor::app {

class CenterTuningScale;
class ConsolePanel;
class KeyBar;
class LampLabel;
class StatusFrame;
class TrunkingFrame;

// The main window's view: its regions, controls and menu, each named after
// its control. It renders and exposes; the composition root connects the
// controls and actions to the logic. Its only behaviour of its own is showing
// or hiding the console ("See Data") and closing on "Exit".
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // A menu item or sub-menu by its name ("SeeCode", "TCPremote").
    QAction* action(const QString& name) const;
    // Any control by its name ("ModeLbl", "Button_3").
    template <typename T = QWidget>
    T* control(const QString& name) const
    {
        return findChild<T*>(name);
    }

    LampLabel* bankLamp(int bank) const;      // BankLbl_1..10
    LampLabel* idLamp(int index) const;       // IDlbl_0..10
    LampLabel* functionLamp(int index) const; // buttonlbl_0..4
    QToolButton* keyButton(int index) const;  // Button_0..6
    CenterTuningScale* centerTuning() const { return m_tuning; }

    // Asked before the window closes; false keeps it open (unsaved edits the operator went back to).
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }

    // The readouts and names that grow with the window.
    ReadoutScaler& readouts() { return m_readouts; }

    bool isConsoleShown() const { return m_consoleShown; }
    // Also sets the window to its height for that state and the "See Data" check mark.
    void setConsoleShown(bool shown);

Q_SIGNALS:
    // The window is being closed by any means; the shut-down sequence runs
    // here, after which the window closes. Emitted once.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Holds the minimum size where no window manager does (a bare X server).
    void resizeEvent(QResizeEvent* event) override;
    // Keeps the text boxes from taking the menu's accelerators as their own keys.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildHiddenControls(QWidget* host);
    bool isMenuShortcut(const QKeyEvent& key) const;

    StatusFrame* m_status = nullptr;
    TrunkingFrame* m_trunking = nullptr;
    CenterTuningScale* m_tuning = nullptr;
    KeyBar* m_keys = nullptr;
    ConsolePanel* m_console = nullptr;
    bool m_consoleShown = true;
    bool m_closingEmitted = false;
    ReadoutScaler m_readouts;
    std::function<bool()> m_closeGuard;
};

} // namespace vexlor::app
