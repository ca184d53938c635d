#pragma once

namespace vexlor::link {
class ScannerLink;
}
namespace vexlor::monitor {
class MainDisplay;
}

namespace vexlor::controls {

// The main keys, the Mode menu, the audio and backlight commands, centre
// tuning and the search-limit refresh. Each writes its lines and waits for
// nothing: the decoded answers move the lamps, checks and pictures.
class ModeCommands {
public:
    ModeCommands(link::ScannerLink& link, monitor::MainDisplay& display);

    // Picture buttons 0..6: SCAN, MAN, TRNK, Hld, Lmt, SVC, SRCH.
    void Button_Click(int index);

    // Mode menu: one key each, no query, readouts kept.
    void Scan_Click();
    void Manual_Click();
    void Trunk_Click();
    void Search_Click();
    void ServiceSearch_Click();

    // Audio items, with the check mark as the receiver last reported it.
    void MonitorMode_Click(bool checked);
    void Mute_Click(bool checked);

    // Backlight: the shown picture steps off, automatic, permanent, off.
    void LightOff_Click();
    void LightAuto_Click();
    void LightOn_Click();
    void LightAutomaticMnu_Click();
    void LightPermanent_Click();
    void LightOffMnu_Click();

    // Nothing is sent; the decoder moves the pointer while this is on.
    void CenterTuningOnOff_Click();

    // A click on "Searching": the answer fills the limits.
    void Frame1_Click();

private:
    void automaticLight();
    void permanentLight();
    void lightOff();

    link::ScannerLink& m_link;
    monitor::MainDisplay& m_display;
};

} // namespace vexlor::controls
