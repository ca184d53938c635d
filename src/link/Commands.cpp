#include "link/Commands.h"

#include "link/Wire.h"

namespace vexlor::link::cmd {

namespace {

constexpr int kTalkgroupWidth = 6;

QString channel3(int channel) { return wire::digits(channel, 3); }

QString onOff(QLatin1String prefix, bool on)
{
    return prefix + (on ? QLatin1Char('N') : QLatin1Char('F'));
}

QString letters(QLatin1String prefix, const Selection& on)
{
    QString text = prefix;
    for (int i = 0; i < int(on.size()); ++i) {
        if (on[size_t(i)])
            text += wire::bankLetter(i + 1);
    }
    return text;
}

} // namespace

QString talkgroupField(const QString& id) { return id.left(kTalkgroupWidth).leftJustified(kTalkgroupWidth); }

QString pmRead(int channel) { return QLatin1String("PM") + channel3(channel); }

QString pmProgram(int channel, double mhz)
{
    return pmRead(channel) + QLatin1Char(' ') + wire::wireFrequency(mhz);
}

QString memoryChannel(int channel) { return QLatin1String("MA") + channel3(channel); }

QString trunkType(int bank, int type)
{
    return QLatin1String("TR ") + wire::bankLetter(bank) + QLatin1Char(' ') + QString::number(type);
}

QString storeTalkgroup(int bank, int list, int slot, const QString& id)
{
    return QLatin1String("TG ") + wire::bankLetter(bank) + QLatin1Char(' ') + wire::bankLetter(list)
        + wire::slotDigit(slot) + QLatin1Char(' ') + talkgroupField(id);
}

QString idLockoutRelease(const QString& id) { return QLatin1String("ILD ") + talkgroupField(id); }

QString idLockout(const QString& id) { return QLatin1String("ILR ") + talkgroupField(id); }

QString tune(double mhz) { return QLatin1String("RF") + wire::wireFrequency(mhz); }

QString idChannel(int list, int slot)
{
    return QLatin1String("IC ") + wire::bankLetter(list) + wire::slotDigit(slot);
}

QString key(int code) { return QLatin1String("KEY") + wire::digits(code, 2); }

QString keyHeld(int code) { return key(code) + QLatin1Char('H'); }

QString keyDigit(int digit)
{
    // The digit key takes one digit only: bank 10 is keyed as 0.
    const int last = ((digit % 10) + 10) % 10;
    return QLatin1String("KEY02 ") + QChar(char16_t('0' + last));
}

QString delay(bool on) { return onOff(kDL, on); }
QString lockout(bool on) { return onOff(kLO, on); }
QString priority(bool on) { return onOff(kPR, on); }
QString dataSkip(bool on) { return onOff(kDS, on); }
QString attenuator(bool on) { return onOff(kAT, on); }
QString backlight(bool on) { return onOff(kLT, on); }
QString autoBacklight(bool on) { return onOff(kAL, on); }

QString setBanks(const Selection& on) { return letters(QLatin1String("SB "), on); }
QString setIdLists(const Selection& on) { return letters(QLatin1String("IS "), on); }

QString restoreBanks(const QString& reply)
{
    const QString command = reply.trimmed();
    return command == kSB ? command + QLatin1Char(' ') : command;
}

QString lowerLimit(double mhz) { return kLL + wire::wireFrequency(mhz); }
QString upperLimit(double mhz) { return kLU + wire::wireFrequency(mhz); }

QString priorityChannel(int bank) { return QLatin1String("PC ") + wire::bankLetter(bank); }

QString lockoutSearch(int index) { return QLatin1String("SS") + wire::digits(index, 2); }

} // namespace vexlor::link::cmd
