#pragma once

#include <QString>

namespace vexlor::link {
class ScannerLink;
}

// The receiver's keys as the virtual keypad shows and presses them.
namespace vexlor::controls {

// The function keys, indexed by key number; 2 is the digit key and has no button.
inline constexpr int kDkeyCount = 15;

bool isDkey(int index);
// "&SCAN" for 0; empty where there is no button.
QString dkeyCaption(int index);
// The channel ranges of the banks above the digits: "1-30" above 1, "271-300" above 0.
QString digitLegend(int digit);

// Sends the keypad's key presses straight to the receiver; errors are ignored.
class KeypadSender {
public:
    explicit KeypadSender(link::ScannerLink& link) : m_link(link) {}

    void dkey_Click(int index);
    void key_Click(int digit);

private:
    link::ScannerLink& m_link;
};

} // namespace vexlor::controls
