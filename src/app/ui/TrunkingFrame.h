#pragma once

#include <QGroupBox>
#include <array>

namespace vexlor::app {

class LampLabel;

// "Trunking": the system, the trunk bank, the current ID channel and the ID-list lamps.
class TrunkingFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit TrunkingFrame(QWidget* parent = nullptr);

    // IDlbl_0 is the talkgroup of the current ID channel; IDlbl_1..10 the list lamps.
    LampLabel* idLamp(int index) const;

private:
    std::array<LampLabel*, 11> m_idLamps {};
};

} // namespace vexlor::app
