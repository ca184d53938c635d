#include "controls/ModeCommands.h"

#include "link/Commands.h"
#include "link/ScannerLink.h"
#include "monitor/MainDisplay.h"

#include <QString>
#include <initializer_list>

namespace vexlor::controls {

namespace cmd = link::cmd;

namespace {

// Key codes of the receiver's keypad.
constexpr int kScanKey = 0;
constexpr int kManualKey = 1;
constexpr int kLimitKey = 7;
constexpr int kHoldKey = 8;
constexpr int kSearchKey = 9;
constexpr int kServiceKey = 10;
constexpr int kTrunkKey = 13;

} // namespace

ModeCommands::ModeCommands(link::ScannerLink& link, monitor::MainDisplay& display)
    : m_link(link), m_display(display)
{
}

void ModeCommands::Button_Click(int index)
{
    auto send = [this](std::initializer_list<QString> lines) {
        for (const QString& line : lines)
            m_link.Write(line);
    };
    switch (index) {
    case 0: send({cmd::kMD, cmd::kSB, cmd::key(kScanKey)}); break;
    case 1: send({cmd::kWI, cmd::key(kManualKey)}); break;
    case 2: send({cmd::key(kTrunkKey)}); break;
    case 3: send({cmd::key(kHoldKey)}); break;
    case 4: send({cmd::key(kLimitKey)}); break;
    case 5: send({cmd::key(kServiceKey)}); break;
    case 6: send({cmd::key(kSearchKey)}); break;
    default: return;
    }
    // A new mode starts without the last talkgroup.
    auto& s = m_display.s;
    s.IDbox.clear();
    s.IDTypeLbl.clear();
    s.IDNameLbl.clear();
    s.IDListen = false;
    m_display.publish();
}

void ModeCommands::Scan_Click() { m_link.Write(cmd::key(kScanKey)); }
void ModeCommands::Manual_Click() { m_link.Write(cmd::key(kManualKey)); }
void ModeCommands::Trunk_Click() { m_link.Write(cmd::key(kTrunkKey)); }
void ModeCommands::Search_Click() { m_link.Write(cmd::key(kSearchKey)); }
void ModeCommands::ServiceSearch_Click() { m_link.Write(cmd::key(kServiceKey)); }

// Checked means that mode is on, so the click asks for neither.
void ModeCommands::MonitorMode_Click(bool checked)
{
    m_link.Write(checked ? cmd::kMUA : cmd::kMUF);
    m_link.Write(cmd::kMU);
}

void ModeCommands::Mute_Click(bool checked)
{
    m_link.Write(checked ? cmd::kMUA : cmd::kMUN);
    m_link.Write(cmd::kMU);
}

void ModeCommands::automaticLight()
{
    m_link.Write(cmd::autoBacklight(true));
    m_link.Write(cmd::kAL);
}

void ModeCommands::permanentLight()
{
    m_link.Write(cmd::autoBacklight(false));
    m_link.Write(cmd::kAL);
    m_link.Write(cmd::backlight(true));
    m_link.Write(cmd::kLT);
}

void ModeCommands::lightOff()
{
    m_link.Write(cmd::backlight(false));
    m_link.Write(cmd::kLT);
}

void ModeCommands::LightOff_Click() { automaticLight(); }
void ModeCommands::LightAuto_Click() { permanentLight(); }
void ModeCommands::LightOn_Click() { lightOff(); }
void ModeCommands::LightAutomaticMnu_Click() { automaticLight(); }
void ModeCommands::LightPermanent_Click() { permanentLight(); }
void ModeCommands::LightOffMnu_Click() { lightOff(); }

void ModeCommands::CenterTuningOnOff_Click()
{
    m_display.s.CenterTuningOnOff = !m_display.published().CenterTuningOnOff;
    m_display.publish();
}

void ModeCommands::Frame1_Click() { m_link.Write(cmd::kLL); }

} // namespace vexlor::controls
