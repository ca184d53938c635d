#pragma once

namespace vexlor::simulator {

// The receiver's global switches, as its flag lines report them.
struct FunctionFlags {
    bool priority = false;   // PR
    bool dataSkip = false;   // DS
    bool attenuator = false; // AT
    bool backlight = false;  // LT: permanent light
    bool autoLight = true;   // AL
    bool searchDelay = false; // DL outside the channel modes
    char audio = 'A';        // MU: 'N' muted, 'F' discriminator, 'A' normal
};

} // namespace vexlor::simulator
