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
