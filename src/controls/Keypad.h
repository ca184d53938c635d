#pragma once

#include "monitor/CompactView.h"

#include <QChar>
#include <QString>
#include <optional>

namespace vexlor::link {
class ScannerLink;
}

// The receiver's keys as the virtual keypad and the compact view press them.
namespace vexlor::controls {

// The function keys, indexed by key number; 2 is the digit key and has no button.
inline constexpr int kDkeyCount = 15;
inline constexpr QChar kEscape {27};

bool isDkey(int index);
// "&SCAN" for 0; empty where there is no button.
QString dkeyCaption(int index);
// The channel ranges of the banks above the digits: "1-30" above 1, "271-300" above 0.
QString digitLegend(int digit);

// A typed character's meaning on the keypad.
struct KeypadKey {
    enum class Kind { Function, Digit, Close };
    Kind kind = Kind::Function;
    int index = 0; // the dkey index or the digit

    bool operator==(const KeypadKey&) const = default;
};

// Case-insensitive; nothing for characters the keypad ignores.
std::optional<KeypadKey> keypadKeyFor(QChar typed);
// The line a function or digit key sends ("KEY07", "KEY02 5"); empty for Close.
QString commandFor(const KeypadKey& key);
// The compact view's mapping: Esc and space close, K opens the keypad,
// U pops the view up; the rest as on the keypad.
monitor::CompactView::Key compactViewKey(QChar typed);

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
