#pragma once

#include <QObject>
#include <QString>

namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::monitor {

class CompactDisplay;
class MainDisplay;

// The compact view's own behaviour: entering it, its buttons and keys, pop-up
// mode, closing and the tray icon's double-click. The decoder fills its labels;
// the windows follow CompactDisplay and the signals below.
class CompactView : public QObject {
    Q_OBJECT
public:
    // What a typed character does in the view.
    struct Key {
        enum class Action { None, Close, Keypad, PopUp, Send };
        Action action = Action::None;
        QString command; // the line for Send
    };
    // Esc and space close, K opens the keypad, U pops the view up; the rest as on the keypad.
    static Key keyFor(QChar typed);

    CompactView(CompactDisplay& compact, const MainDisplay& main, link::ScannerLink& link,
                QObject* parent = nullptr);

    // "Smart &View Mode": pop-up mode stays hidden, any other becomes always shown.
    void SmartViewMode();
    // "&PopUp Smart View Mode".
    void PopUpSmartViewMode();

    void ScanCmd_Click();
    void ManCmd_Click();
    void SearchCmd_Click();
    void HoldCmd_Click();
    void KeypadCmd_Click();
    void PopUpLbl_Click();
    void KeyPress(const Key& key);

    // Esc, space or the close box.
    void closeView();
    // A double-click on the tray icon.
    void trayDoubleClick();

Q_SIGNALS:
    // The tray icon stands in for the main window while the view is in use.
    void trayIconAdded(const QString& tip);
    void trayIconRemoved();
    void mainWindowShown(bool shown);
    void keypadRequested();
    // The view is to come forward even though its state did not change.
    void raiseRequested();

private:
    CompactDisplay& m_compact;
    const MainDisplay& m_main;
    link::ScannerLink& m_link;
};

} // namespace vexlor::monitor
