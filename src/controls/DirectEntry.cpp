#include "controls/DirectEntry.h"

#include "link/Commands.h"
#include "link/Console.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "monitor/MainDisplay.h"
#include "monitor/StatusDecoder.h"

#include <algorithm>

namespace vexlor::controls {

namespace cmd = link::cmd;
namespace wire = link::wire;

namespace {

const QLatin1String kManualMode {"Manual Mode"};

// What the operator typed before pressing Enter.
QString beforeBreak(const QString& text)
{
    const auto end = std::find_if(text.cbegin(), text.cend(), link::isLineBreak);
    return text.left(end - text.cbegin());
}

// The set as the lamps' letters; an entry that is not empty is on.
cmd::Selection selection(const std::array<QString, 11>& active)
{
    cmd::Selection on {};
    for (int i = 1; i <= 10; ++i)
        on[size_t(i - 1)] = !active[size_t(i)].isEmpty();
    return on;
}

void toggle(std::array<QString, 11>& active, int i)
{
    QString& entry = active[size_t(i)];
    entry = entry.isEmpty() ? QString(wire::bankLetter(i)) : QString();
}

} // namespace

DirectEntry::DirectEntry(link::ScannerLink& link, const monitor::MainDisplay& display,
                         monitor::StatusDecoder& decoder, QObject* parent)
    : QObject(parent), m_link(link), m_display(display), m_decoder(decoder)
{
}

void DirectEntry::setBox(Box box, const QString& text)
{
    m_boxes[size_t(box)] = text;
    Q_EMIT boxChanged(box, text);
}

void DirectEntry::ChannelBox_Change(const QString& text)
{
    m_boxes[size_t(Box::ChannelBox)] = text;
    if (!link::withoutLineBreaks(text))
        return;
    m_link.Write(cmd::memoryChannel(wire::leadingInt(beforeBreak(text))));
    setBox(Box::ChannelBox, QString());
}

void DirectEntry::DirectFrequencyBox_Change(const QString& text)
{
    m_boxes[size_t(Box::DirectFrequencyBox)] = text;
    if (!link::withoutLineBreaks(text))
        return;
    const double mhz = wire::leadingNumber(beforeBreak(text));
    // A frequency is tuned in manual mode only.
    if (m_display.published().ModeLbl != kManualMode)
        m_link.Write(cmd::memoryChannel(1));
    m_link.Write(cmd::tune(mhz));
    setBox(Box::DirectFrequencyBox, QString());
}

void DirectEntry::IDChannelBox_Change(const QString& text)
{
    const std::optional<QString> typed = link::withoutLineBreaks(text);
    m_boxes[size_t(Box::IDChannelBox)] = typed.value_or(text);
    if (!typed)
        return;
    Q_EMIT boxChanged(Box::IDChannelBox, *typed);
    Q_EMIT focusWanted(Box::IDChannelBoxII);
}

void DirectEntry::IDChannelBoxII_Change(const QString& text)
{
    const std::optional<QString> typed = link::withoutLineBreaks(text);
    m_boxes[size_t(Box::IDChannelBoxII)] = typed.value_or(text);
    if (!typed)
        return;
    // Any list number goes out as its letter, kept to one byte on the line.
    const int list = std::clamp(wire::leadingInt(m_boxes[size_t(Box::IDChannelBox)]), 0, 0xFF - 64);
    // Only the slot's last digit is sent; 10 becomes "0".
    const int last = wire::leadingInt(*typed) % 10;
    const QString command = cmd::idChannel(list, last == 0 ? 10 : qAbs(last));
    m_link.Write(command);
    Q_EMIT tempShown(command);
    setBox(Box::IDChannelBox, QString());
    setBox(Box::IDChannelBoxII, QString());
    Q_EMIT focusWanted(Box::IDChannelBox);
}

void DirectEntry::keepSent(std::array<QString, 11>& active)
{
    QString letters;
    for (int i = 1; i <= 10; ++i)
        letters += active[size_t(i)];
    active[0] = letters;
}

void DirectEntry::BankLbl_Click(int bank)
{
    if (bank < 1 || bank > 10)
        return;
    // The lamps stay as they are until the receiver's next bank line.
    auto& active = m_decoder.ActiveBanks;
    toggle(active, bank);
    keepSent(active);
    m_link.Write(cmd::setBanks(selection(active)));
}

void DirectEntry::IDlbl_Click(int index)
{
    if (index < 0 || index > 10)
        return;
    auto& active = m_decoder.ActiveIDLists;
    if (index > 0)
        toggle(active, index);
    keepSent(active);
    m_link.Write(cmd::setIdLists(selection(active)));
}

void DirectEntry::ApplyLimit_Click(const QString& lower, const QString& upper)
{
    // A box of blanks holds no limit either.
    if (lower.trimmed().isEmpty() || upper.trimmed().isEmpty())
        return;
    m_link.Write(cmd::lowerLimit(wire::leadingNumber(lower)));
    m_link.Write(cmd::upperLimit(wire::leadingNumber(upper)));
}

} // namespace vexlor::controls

#include "moc_DirectEntry.cpp"
