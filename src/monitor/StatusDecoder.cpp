#include "monitor/StatusDecoder.h"

#include "link/Commands.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/MemoryTables.h"
#include "monitor/CompactDisplay.h"
#include "monitor/FreqLockoutList.h"
#include "monitor/MainDisplay.h"
#include "monitor/ModeTable.h"
#include "platform/Clock.h"
#include "recording/ActivityLog.h"
#include "recording/MeasureIntfc.h"

#include <algorithm>

namespace vexlor::monitor {

namespace wire = link::wire;

namespace {
constexpr double kLogAfterCloseSeconds = 2.0;
constexpr double kSecondsPerDay = 86400.0;
const QString kUnknownName = QStringLiteral("------------");
const QString kUnknownType = QStringLiteral("---");

// 1-based field of a line, as the receiver's layout numbers them.
QString field(const QString& line, int from, int width = -1)
{
    return line.mid(from - 1, width);
}

QChar charAt(const QString& line, int pos)
{
    return pos - 1 < line.size() ? line[pos - 1] : QChar();
}

double tuningX(int offset)
{
    return std::clamp((offset - 96) * 35.72 + 1500.0, 750.0, 3250.0);
}
} // namespace

StatusDecoder::StatusDecoder(const Parts& parts, QObject* parent) : QObject(parent), m_p(parts) {}

void StatusDecoder::DecodeStatusLines() { decode(m_p.link.ReplyLines()); }

void StatusDecoder::decode(const QStringList& lines)
{
    for (const QString& line : lines)
        decodeLine(line);
    m_p.display.publish();
    m_p.compact.publish();
}

void StatusDecoder::decodeLine(const QString& line)
{
    switch (charAt(line, 1).toLatin1()) {
    case 'C': onChannel(line); break;
    case '+': onSquelchOpen(); break;
    case '-': onSquelchClosed(); break;
    case 'W': onFrequency(line); break;
    default: break;
    }

    const QString five = line.left(5);
    if (five == QLatin1String("ID S "))
        onCallStart(line);
    else if (five == QLatin1String("ID E "))
        onCallEnd(line);

    const QString two = line.left(2);
    if (two == QLatin1String("MD")) onMode(line);
    else if (two == QLatin1String("PC")) onPriority(line);
    else if (two == QLatin1String("TB")) onTrunkBank(line);
    else if (two == QLatin1String("IC")) onIdChannel(line);
    else if (two == QLatin1String("SS")) onSearchLockout(line);
    else if (two == QLatin1String("DL")) {
        onFlag(line, 3);
        if (oldMODE && isHold(*oldMODE))
            m_p.link.Write(link::cmd::kLO);
    }
    else if (two == QLatin1String("LO")) onFlag(line, 4);
    else if (two == QLatin1String("PR")) onFlag(line, 2);
    else if (two == QLatin1String("DS")) onFlag(line, 0);
    else if (two == QLatin1String("AT")) onFlag(line, 1);
    else if (two == QLatin1String("LT")) onBacklight(line, false);
    else if (two == QLatin1String("AL")) onBacklight(line, true);
    else if (two == QLatin1String("MU")) onAudio(line);
    else if (two == QLatin1String("LL")) {
        onLimit(line, true);
        m_p.link.Write(link::cmd::kLU);
    }
    else if (two == QLatin1String("LU")) onLimit(line, false);
    else if (two == QLatin1String("SB")) onActiveSet(line, true);
    else if (two == QLatin1String("IS")) onActiveSet(line, false);
    else if (two == QLatin1String("SI")) LastSIReply = line;
    else if (two == QLatin1String("VR")) LastVRReply = line;
}

void StatusDecoder::onChannel(const QString& line)
{
    auto& d = m_p.display.s;
    auto& c = m_p.compact.s;
    CurrentChannel = wire::leadingInt(field(line, 2, 3));
    // Banks without a priority channel hold 0, which is no channel.
    d.PriLbl = CurrentChannel > 0
        && std::find(PriorityChannels.begin() + 1, PriorityChannels.end(), CurrentChannel)
            != PriorityChannels.end();
    if (const auto name = channelText(CurrentChannel, memory::MemoryTables::kChName)) {
        d.NameLbl = *name;
        c.NameLbl = name->isEmpty() ? d.FrequencyBox : *name;
    }
    d.ChLbl = QString::number(CurrentChannel);
    if (const auto type = channelText(CurrentChannel, memory::MemoryTables::kChType)) {
        d.TypeLbl = *type;
        c.TypeLbl = *type;
    }
    if (LogNext == 1) {
        double since = m_p.clock.secondsSinceMidnight() - LogLastTimer;
        if (since < 0)
            since += kSecondsPerDay; // the squelch closed before midnight
        if (since > kLogAfterCloseSeconds) {
            m_p.log.Logging(d.FrequencyBox, d.TypeLbl, d.NameLbl, d.IDbox, d.IDTypeLbl, d.IDNameLbl);
            LogNext = 0;
        }
    }
    if (charAt(line, 17) == QLatin1Char('F'))
        m_p.meas.CarrierOn(QStringLiteral("C"), QString::number(CurrentChannel), d.FrequencyBox);
}

void StatusDecoder::onSquelchOpen()
{
    auto& c = m_p.compact.s;
    m_p.meas.Tic();
    if (measuresWithoutChannel(ModeCode))
        m_p.meas.CarrierOn(QStringLiteral("X"), QStringLiteral("0"), m_p.display.s.FrequencyBox);
    m_p.display.s.SQopen = true;
    if (popsUpWithSquelch(ModeCode) && c.CompactViewMode == 1)
        c.shown = true;
    c.NameLblVisible = c.TypeLblVisible = true;
}

void StatusDecoder::onSquelchClosed()
{
    auto& d = m_p.display.s;
    auto& c = m_p.compact.s;
    m_p.meas.Toc();
    d.ChLbl.clear();
    d.TypeLbl.clear();
    d.NameLbl.clear();
    if (!(oldMODE && suppressesChannelLog(*oldMODE))) {
        LogNext = 1;
        LogLastTimer = m_p.clock.secondsSinceMidnight();
    }
    c.NameLblVisible = c.TypeLblVisible = c.IDNameLblVisible = c.IDTypeLblVisible = false;
    d.SQopen = false;
    if (popsUpWithSquelch(ModeCode) && c.CompactViewMode == 1)
        c.shown = false;
}

void StatusDecoder::onFrequency(const QString& line)
{
    auto& d = m_p.display.s;
    const QString text = wire::frequencyFromWire(field(line, 7, 8));
    if (text != d.FrequencyBox) {
        d.FrequencyBox = text;
        d.ChLbl.clear();
        d.NameLbl.clear();
    }
    if (d.CenterTuningOnOff)
        d.TunLine = tuningX(wire::leadingInt(field(line, 2, 3)));
}

void StatusDecoder::onCallStart(const QString& line)
{
    auto& d = m_p.display.s;
    auto& c = m_p.compact.s;
    d.IDbox = field(line, 6, 6);
    const int b = trunkBank();
    const std::optional<int> slot = m_p.tables.slotOfId(b, d.IDbox);
    if (!slot) {
        d.IDNameLbl = kUnknownName;
        d.IDTypeLbl = kUnknownType;
        c.IDNameLbl = kUnknownName;
    } else {
        d.IDNameLbl = idText(b, *slot, memory::MemoryTables::kIdName).value_or(QString());
        c.IDNameLbl = d.IDNameLbl.isEmpty() ? d.IDbox : d.IDNameLbl;
        c.IDNameLblVisible = true;
        d.IDTypeLbl = idText(b, *slot, memory::MemoryTables::kIdType).value_or(QString());
        // In the talkgroup modes the type readout shows the talkgroup's type.
        d.TypeLbl = d.IDTypeLbl;
        c.IDTypeLbl = d.IDTypeLbl;
        c.IDTypeLblVisible = true;
    }
    d.IDListen = true;
    if (popsUpWithCalls(ModeCode) && c.CompactViewMode == 1)
        c.shown = true;
    m_p.log.Logging(d.FrequencyBox, QStringLiteral("   "), d.NameLbl, d.IDbox, d.IDTypeLbl, d.IDNameLbl);
    m_p.meas.CarrierOn(slot ? QStringLiteral("T") : QStringLiteral("T*"), QString::number(b), d.IDbox);
}

void StatusDecoder::onCallEnd(const QString& line)
{
    auto& c = m_p.compact.s;
    m_p.display.s.IDbox = field(line, 6, 6);
    m_p.display.s.IDListen = false;
    if (popsUpWithCalls(ModeCode) && c.CompactViewMode == 1)
        c.shown = false;
    c.IDNameLblVisible = c.IDTypeLblVisible = false;
    m_p.meas.CarrierOff();
}

void StatusDecoder::onMode(const QString& line)
{
    auto& d = m_p.display.s;
    auto& c = m_p.compact.s;
    const int code = modeCode(field(line, 3, 2));
    if (clearsIdReadouts(code)) {
        d.IDbox.clear();
        d.IDNameLbl.clear();
        d.IDTypeLbl.clear();
    }
    ModeCode = code;
    if (const auto caption = modeCaption(ModeCode))
        d.ModeLbl = *caption;
    if (!isTrunking(ModeCode)) {
        std::fill(d.IDlbl.begin() + 1, d.IDlbl.end(), false);
        d.FreqBankLbl.clear();
        d.SystemLbl.clear();
        d.TypeLbl.clear();
        d.IDbox.clear();
        d.IDNameLbl.clear();
        d.IDTypeLbl.clear();
        d.IDListen = false;
    } else {
        for (const auto q : {link::cmd::kIS, link::cmd::kIC, link::cmd::kTB})
            m_p.link.Write(q);
    }
    c.ModeLbl = d.ModeLbl;
    if (!oldMODE || ModeCode != *oldMODE)
        c.caption = d.ModeLbl;
    oldMODE = ModeCode;
}

void StatusDecoder::onPriority(const QString& line)
{
    const int bank = wire::bankNumber(charAt(line, 4));
    if (bank)
        PriorityChannels[bank] = wire::leadingInt(field(line, 5, 3));
}

void StatusDecoder::onTrunkBank(const QString& line)
{
    auto& d = m_p.display.s;
    const int bank = wire::bankNumber(charAt(line, 4));
    if (bank) {
        d.NameLbl = m_p.tables.bankName(bank);
        d.FreqBankLbl = QString::number(bank);
    }
    d.SystemLbl = field(line, 6, 10);
    if (bank)
        Q_EMIT trunkSystemReported(bank, d.SystemLbl);
}

void StatusDecoder::onIdChannel(const QString& line)
{
    auto& d = m_p.display.s;
    const int list = wire::bankNumber(charAt(line, 4));
    const int position = wire::slotPosition(charAt(line, 5));
    if (list)
        d.IDchLbl = QStringLiteral("%1-%2").arg(list).arg(position);
    QString id = field(line, 7, 7);
    id.replace(QChar(0xFE), QLatin1Char('='));
    d.IDlbl0 = id;
    const int b = trunkBank();
    for (int i = 1; i <= 100; ++i) {
        if (idText(b, i, memory::MemoryTables::kIdId) == d.IDlbl0) {
            d.TrunkingNameLbl = idText(b, i, memory::MemoryTables::kIdName).value_or(QString());
            d.TrunkingTypeLbl = idText(b, i, memory::MemoryTables::kIdType).value_or(QString());
        }
    }
}

void StatusDecoder::onSearchLockout(const QString& line)
{
    const QString raw = field(line, 4, 8);
    if (wire::leadingNumber(raw) != 0)
        m_p.lockouts.add(raw, wire::frequencyFromWire(raw));
}

void StatusDecoder::onFlag(const QString& line, int lamp)
{
    m_p.display.s.buttonlbl[size_t(lamp)] = charAt(line, 3) == QLatin1Char('N');
}

void StatusDecoder::onBacklight(const QString& line, bool automatic)
{
    auto& d = m_p.display.s;
    const bool on = charAt(line, 3) == QLatin1Char('N');
    if (!automatic) {
        d.LightOn = on;
        d.LightAuto = false;
        d.LightOff = !on;
        d.LightPermanent = on;
        d.LightOffMnu = !on;
        d.LightAutomaticMnu = false;
    } else if (on) {
        d.LightOn = false;
        d.LightAuto = true;
        d.LightOff = false;
        d.LightPermanent = false;
        d.LightOffMnu = false;
        d.LightAutomaticMnu = true;
    } else {
        d.LightOn = false;
        d.LightAuto = false;
        d.LightOff = true;
    }
}

void StatusDecoder::onAudio(const QString& line)
{
    auto& d = m_p.display.s;
    const QChar v = charAt(line, 3);
    d.Mute = v == QLatin1Char('N');
    d.MonitorMode = v == QLatin1Char('F');
}

void StatusDecoder::onLimit(const QString& line, bool lower)
{
    auto& d = m_p.display.s;
    (lower ? d.LLbox : d.LUbox) = wire::frequencyFromWire(field(line, 3, 8));
    ++(lower ? d.LLanswers : d.LUanswers);
}

void StatusDecoder::onActiveSet(const QString& line, bool banks)
{
    auto& lamps = banks ? m_p.display.s.BankLbl : m_p.display.s.IDlbl;
    auto& active = banks ? ActiveBanks : ActiveIDLists;
    const QString letters = line.mid(2);
    for (int i = 1; i <= 10; ++i) {
        const QChar letter = wire::bankLetter(i);
        const bool on = letters.contains(letter);
        active[size_t(i)] = on ? QString(letter) : QString();
        lamps[size_t(i)] = on;
    }
}

std::optional<QString> StatusDecoder::channelText(int row, int col) const
{
    if (!memory::ChannelTable::contains(row, col))
        return std::nullopt;
    return m_p.tables.Channels.text(row, col);
}

// Never-set slots hold no ID, so they match nothing.
std::optional<QString> StatusDecoder::idText(int bank, int slot, int col) const
{
    if (!memory::IDTable::contains(bank, slot, col) || bank == 0 || slot == 0)
        return std::nullopt;
    const memory::Cell& cell = m_p.tables.IDs.at(bank, slot, col);
    if (cell.isEmpty())
        return std::nullopt;
    return cell.display();
}

int StatusDecoder::trunkBank() const { return wire::leadingInt(m_p.display.s.FreqBankLbl); }

} // namespace vexlor::monitor

#include "moc_StatusDecoder.cpp"
