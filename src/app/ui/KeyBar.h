#pragma once

#include <QWidget>
#include <array>

class QToolButton;

namespace vexlor::app {

// The receiver's main keys as picture buttons, the keypad button and the backlight picture.
class KeyBar : public QWidget {
    Q_OBJECT
public:
    explicit KeyBar(QWidget* parent = nullptr);

    // Button_0..6: SCAN, MAN, TRNK, Hld, Lmt, SVC, SRCH.
    QToolButton* keyButton(int index) const;

private:
    std::array<QToolButton*, 7> m_keys {};
};

} // namespace vexlor::app
