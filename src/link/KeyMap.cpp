#include "link/KeyMap.h"

#include "link/Commands.h"

#include <array>

namespace vexlor::link {

namespace {

// Typed letters and signs; "H" and "+" both stand for Lmt, "-" for Hld.
struct Mapping {
    char typed;
    int dkey;
};
constexpr std::array<Mapping, 15> kTyped {{
    {'S', 0}, {'M', 1}, {'.', 3}, {'E', 4}, {'P', 5}, {'O', 6}, {'H', 7}, {'+', 7},
    {'-', 8}, {'R', 9}, {'V', 10}, {'A', 11}, {'D', 12}, {'T', 13}, {'G', 14},
}};

} // namespace

std::optional<KeypadKey> keypadKeyFor(QChar typed)
{
    if (typed == kEscape)
        return KeypadKey {KeypadKey::Kind::Close, 0};
    // Only ASCII maps: toUpper would turn some Latin-1 letters into others.
    if (typed.unicode() > 127)
        return std::nullopt;
    const QChar c = typed.toUpper();
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return KeypadKey {KeypadKey::Kind::Digit, c.unicode() - '0'};
    for (const Mapping& m : kTyped) {
        if (c == QLatin1Char(m.typed))
            return KeypadKey {KeypadKey::Kind::Function, m.dkey};
    }
    return std::nullopt;
}

QString commandFor(const KeypadKey& key)
{
    switch (key.kind) {
    case KeypadKey::Kind::Function: return cmd::key(key.index);
    case KeypadKey::Kind::Digit: return cmd::keyDigit(key.index);
    case KeypadKey::Kind::Close: break;
    }
    return {};
}

} // namespace vexlor::link
