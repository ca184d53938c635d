#pragma once

#include <QGroupBox>
#include <array>

class QLabel;

namespace vexlor::app {

class LampLabel;

// "Status": mode, frequency, channel and talkgroup readouts, function lamps, bank lamps.
class StatusFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit StatusFrame(QWidget* parent = nullptr);

    // buttonlbl_0..4 ("DATA", "ATT", "PRI", "DLY", "L/O").
    LampLabel* functionLamp(int index) const;
    // BankLbl_1..10.
    LampLabel* bankLamp(int bank) const;

private:
    std::array<LampLabel*, 5> m_functionLamps {};
    std::array<LampLabel*, 10> m_bankLamps {};
};

} // namespace vexlor::app
