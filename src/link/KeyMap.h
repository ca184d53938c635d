#pragma once

#include <QChar>
#include <QString>
#include <optional>

// Typed characters as the receiver's keys; the keypad and the compact view share them.
namespace vexlor::link {

inline constexpr QChar kEscape {27};

// A typed character's meaning on the keypad.
struct KeypadKey {
    enum class Kind { Function, Digit, Close };
    Kind kind = Kind::Function;
    int index = 0; // the dkey index or the digit

    bool operator==(const KeypadKey&) const = default;
};

// Case-insensitive; nothing for characters the keypad ignores.
std::optional<KeypadKey> keypadKeyFor(QChar typed);
// The line a key from keypadKeyFor sends ("KEY07", "KEY02 5"); empty for Close.
QString commandFor(const KeypadKey& key);

} // namespace vexlor::link
