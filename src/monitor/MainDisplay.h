#pragma once

#include <QObject>
#include <QString>
#include <array>

namespace vexlor::monitor {

// Every readout of the main window, named after its control.
struct MainDisplayState {
    QString ModeLbl;
    QString FrequencyBox;
    QString ChLbl;
    QString NameLbl;
    QString TypeLbl;
    QString IDbox;
    QString IDNameLbl;
    QString IDTypeLbl;
    QString IDchLbl;
    QString IDlbl0; // entry 0 of IDlbl: the talkgroup of the current ID channel
    QString TrunkingNameLbl;
    QString TrunkingTypeLbl;
    QString FreqBankLbl;
    QString SystemLbl;
    QString LLbox;
    QString LUbox;
    // Decoded limit answers so far: an answer equal to the last one still
    // refills a box the operator has typed in.
    unsigned LLanswers = 0;
    unsigned LUanswers = 0;

    bool PriLbl = false;   // visible
    bool SQopen = false;   // visible
    bool IDListen = false; // visible

    // Lamps: true is red (on), false black. Index 0 of the first two is unused.
    std::array<bool, 11> BankLbl {};
    std::array<bool, 11> IDlbl {};
    std::array<bool, 5> buttonlbl {}; // 0 DATA, 1 ATT, 2 PRI, 3 DLY, 4 L/O

    // Backlight pictures (visible) and their menu items (checked).
    bool LightOn = false;
    bool LightAuto = false;
    bool LightOff = true;
    bool LightPermanent = false;
    bool LightOffMnu = false;
    bool LightAutomaticMnu = false;

    // Audio menu checks.
    bool Mute = false;
    bool MonitorMode = false;

    // Centre tuning: the menu check, which also shows the pointer, and its x.
    bool CenterTuningOnOff = false;
    double TunLine = 2000;

    // Remote link status.
    QString TcpstatusBox;
    bool TCPConnectionCmd = true; // visible
    bool TCPConnectOnCmd = false; // visible

    bool operator==(const MainDisplayState&) const = default;
};

// The state plus a changed() signal; writers change `s` and then publish().
class MainDisplay : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    MainDisplayState s;

    // Emits changed() once if anything differs from the last published state.
    void publish();
    const MainDisplayState& published() const { return m_published; }

Q_SIGNALS:
    void changed();

private:
    MainDisplayState m_published;
};

} // namespace vexlor::monitor
