#pragma once

#include <QWidget>
#include <array>

class QLabel;
class QPushButton;

namespace vexlor::controls {

class KeypadSender;

// The virtual keypad: the receiver's function keys (dkey_i, i the key number),
// its digit keys (key_0..key_9) and the legends Label1_i (Label1_0..9 above
// the digits, Label1_10 above ".", Label1_11 above "&E", Label1_12 beside "&PRI").
// A typed character clicks the button it stands for; Esc closes.
class Keypad : public QWidget {
    Q_OBJECT
public:
    explicit Keypad(KeypadSender& sender, QWidget* parent = nullptr);

    QPushButton* dkey(int index) const;
    QPushButton* key(int digit) const;

protected:
    // Also reached from a focused button, which ignores plain characters.
    void keyPressEvent(QKeyEvent* event) override;
    // Keeps a focused button from pressing itself on space or Enter.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* makeDkey(int index);
    QPushButton* makeKey(int digit);
    QLabel* makeLegend(int index, const QString& text);

    KeypadSender& m_sender;
    std::array<QPushButton*, 15> m_dkeys {};
    std::array<QPushButton*, 10> m_keys {};
};

} // namespace vexlor::controls
