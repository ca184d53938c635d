#include "controls/Keypad.h"

#include "link/Commands.h"
#include "link/ScannerLink.h"

#include <array>

namespace vexlor::controls {

namespace {

constexpr std::array<const char*, kDkeyCount> kCaptions {
    "&SCAN", "&MAN", nullptr, ".", "&E", "&PRI", "L/&O", "Lmt",
    "&Hld", "S&RCH", "S&VC", "D&AT", "&DLY", "&TRNK", "L&gt",
};

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

bool isDkey(int index) { return index >= 0 && index < kDkeyCount && kCaptions[size_t(index)]; }

QString dkeyCaption(int index) { return isDkey(index) ? QString::fromLatin1(kCaptions[size_t(index)]) : QString(); }

QString digitLegend(int digit)
{
    if (digit < 0 || digit > 9)
        return {};
    const int bank = digit == 0 ? 10 : digit;
    return QStringLiteral("%1-%2").arg(bank * 30 - 29).arg(bank * 30);
}

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
    case KeypadKey::Kind::Function: return isDkey(key.index) ? link::cmd::key(key.index) : QString();
    case KeypadKey::Kind::Digit: return link::cmd::keyDigit(key.index);
    case KeypadKey::Kind::Close: break;
    }
    return {};
}

monitor::CompactView::Key compactViewKey(QChar typed)
{
    using Action = monitor::CompactView::Key::Action;
    if (typed == kEscape || typed == QLatin1Char(' '))
        return {Action::Close, {}};
    if (typed.unicode() <= 127) {
        const QChar c = typed.toUpper();
        if (c == QLatin1Char('K'))
            return {Action::Keypad, {}};
        if (c == QLatin1Char('U'))
            return {Action::PopUp, {}};
    }
    const auto key = keypadKeyFor(typed);
    if (!key)
        return {Action::None, {}};
    return {Action::Send, commandFor(*key)};
}

void KeypadSender::dkey_Click(int index)
{
    if (isDkey(index))
        m_link.Write(link::cmd::key(index));
}

void KeypadSender::key_Click(int digit)
{
    if (digit >= 0 && digit <= 9)
        m_link.Write(link::cmd::keyDigit(digit));
}

} // namespace vexlor::controls
