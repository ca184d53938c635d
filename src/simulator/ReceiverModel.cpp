#include "simulator/ReceiverModel.h"

#include "simulator/StatusLines.h"

namespace vexlor::simulator {

namespace {

using M = ModeMachine;

const QByteArray kOk = "OK";
const QByteArray kOff = "OFF";
const QByteArray kNg = "NG";
const QByteArray kErr = "ERR";

QList<QByteArray> one(const QByteArray& line) { return {line}; }

bool allDigits(const QByteArray& s)
{
    if (s.isEmpty())
        return false;
    for (char ch : s)
        if (ch < '0' || ch > '9')
            return false;
    return true;
}

// n digits at position from, exactly; -1 when they are not there.
int number(const QByteArray& s, qsizetype from, qsizetype n)
{
    const QByteArray part = s.mid(from, n);
    return part.size() == n && allDigits(part) ? part.toInt() : -1;
}

int letterNumber(char ch) { return ch >= 'A' && ch <= 'J' ? ch - 'A' + 1 : 0; }

// Position digit of an ID list: "1".."9", and "0" for 10.
int positionDigit(char ch)
{
    if (ch == '0')
        return 10;
    return ch >= '1' && ch <= '9' ? ch - '0' : 0;
}

// A talkgroup field: up to six digits, blank-padded on the right.
int talkgroupField(const QByteArray& field)
{
    QByteArray f = field;
    while (f.endsWith(' '))
        f.chop(1);
    if (f.size() > 6 || !allDigits(f))
        return -1;
    return f.toInt();
}

bool printable(const QByteArray& s)
{
    for (char ch : s)
        if (ch < 0x20 || ch > 0x7e)
            return false;
    return true;
}

} // namespace

ReceiverModel::ReceiverModel(quint32 seed, const MemoryState& memory)
    : m_memory(memory), m_mode(m_memory, m_flags), m_activity(m_memory, m_mode, seed)
{
}

QList<QByteArray> ReceiverModel::handle(const QByteArray& commandLine)
{
    if (commandLine.isEmpty())
        return {};
    if (!printable(commandLine))
        return one(kErr);
    // Out of remote mode the receiver still answers, but writes nothing on its
    // own until a key or "QUN" takes it back.
    if ((commandLine.startsWith("KEY") && commandLine != "KEY04H") || commandLine == "QUN")
        m_remote = true;
    return dispatch(commandLine);
}

QList<QByteArray> ReceiverModel::advance(qint64 ms)
{
    QList<QByteArray> heard = m_activity.advance(ms);
    if (!m_statusOutput || !m_remote)
        return {};
    if (!m_talkgroupOutput)
        heard.removeIf([](const QByteArray& l) { return l.startsWith("ID "); });
    return heard;
}

QList<QByteArray> ReceiverModel::dispatch(const QByteArray& c)
{
    if (c.startsWith("KEY"))
        return key(c);
    if (c == "QUF" || c == "QUN") {
        m_statusOutput = c == "QUN";
        return one(kOk);
    }
    if (c == "IDF" || c == "IDN") {
        m_talkgroupOutput = c == "IDN";
        return one(kOk);
    }
    if (c == "MU")
        return one(lines::audio(m_flags.audio));
    if (c == "MUN" || c == "MUF" || c == "MUA") {
        m_flags.audio = c[2];
        return one(lines::audio(m_flags.audio));
    }
    if (c == "WI")
        return one(lines::frequency(m_mode.offset(), m_mode.frequency()));
    if (c == "MD")
        return one(lines::mode(m_mode.mode()));
    if (c == "SQ")
        return one(lines::flag("SQ", m_activity.receiving()));
    if (c == "SI")
        return one("SI BC245XLT");
    if (c == "VR")
        return one("VR 1.02");
    if (c == "AFF" || c == "AFN")
        return one(kOk);
    const QByteArray two = c.left(2);
    if (two == "DL" || two == "LO" || two == "PR" || two == "DS" || two == "AT" || two == "LT" || two == "AL")
        return flagCommand(c);
    if (two == "SB" || two == "IS")
        return selection(c);
    if (two == "LL" || two == "LU")
        return limit(c);
    if (two == "MA" || two == "PM" || two == "RF" || two == "PC" || two == "SS")
        return channelCommand(c);
    if (two == "TB" || two == "IC" || two == "TR" || two == "TG")
        return trunkCommand(c);
    if (c.startsWith("ILD ") || c.startsWith("ILR "))
        return idLockout(c);
    return one(kErr);
}

QList<QByteArray> ReceiverModel::key(const QByteArray& c)
{
    const int code = number(c, 3, 2);
    if (code < 0 || code > 14)
        return one(kErr);
    const QByteArray rest = c.mid(5);
    int digit = -1;
    bool held = false;
    if (code == 2) {
        // The number key carries its digit after one blank.
        if (rest.size() != 2 || rest[0] != ' ' || rest[1] < '0' || rest[1] > '9')
            return one(kErr);
        digit = rest[1] - '0';
    } else if (rest == "H") {
        held = true;
    } else if (!rest.isEmpty()) {
        return one(kErr);
    }
    if (code == 4 && held) {
        // Out of remote mode: the receiver stops talking until it is spoken to.
        m_remote = false;
        return one(kOk);
    }
    return one(m_mode.key(code, held, digit) ? kOk : kNg);
}

QList<QByteArray> ReceiverModel::flagCommand(const QByteArray& c)
{
    const QByteArray name = c.left(2);
    if (c.size() > 3 || (c.size() == 3 && c[2] != 'N' && c[2] != 'F'))
        return one(kErr);
    const bool set = c.size() == 3;
    const bool on = set && c[2] == 'N';
    if (name == "DL") {
        if (set)
            m_mode.setDelay(on);
        return one(lines::flag("DL", m_mode.delay()));
    }
    if (name == "LO") {
        if (set && !m_mode.setLockout(on))
            return one(kNg);
        return one(lines::flag("LO", m_mode.lockout()));
    }
    bool* target = name == "PR" ? &m_flags.priority
        : name == "DS"          ? &m_flags.dataSkip
        : name == "AT"          ? &m_flags.attenuator
        : name == "LT"          ? &m_flags.backlight
                                : &m_flags.autoLight;
    if (set)
        *target = on;
    return one(lines::flag(name.constData(), *target));
}

QList<QByteArray> ReceiverModel::selection(const QByteArray& c)
{
    const bool banks = c.startsWith("SB");
    const char* name = banks ? "SB" : "IS";
    if (c.size() == 2)
        return one(lines::letters(name, banks ? m_memory.activeBanks() : m_memory.activeLists()));
    if (c[2] != ' ')
        return one(kErr);
    std::array<bool, 10> on {};
    bool any = false;
    for (char ch : c.mid(3)) {
        const int n = letterNumber(ch);
        if (n == 0)
            return one(kErr);
        on[n - 1] = true;
        any = true;
    }
    // At least one bank or list stays in the scan.
    if (!any)
        return one(kNg);
    banks ? m_memory.setActiveBanks(on) : m_memory.setActiveLists(on);
    return one(lines::letters(name, on));
}

QList<QByteArray> ReceiverModel::limit(const QByteArray& c)
{
    const bool lower = c.startsWith("LL");
    const char* name = lower ? "LL" : "LU";
    if (c.size() != 2) {
        const int units = number(c, 2, 8);
        if (units < 0 || c.size() != 10)
            return one(kErr);
        if (!MemoryState::inBand(units))
            return one(kNg);
        lower ? m_memory.setLowerLimit(units) : m_memory.setUpperLimit(units);
    }
    return one(lines::limit(name, lower ? m_memory.lowerLimit() : m_memory.upperLimit()));
}

QList<QByteArray> ReceiverModel::channelCommand(const QByteArray& c)
{
    const QByteArray two = c.left(2);
    if (two == "MA") {
        if (c.size() == 2) {
            if (!M::isChannelMode(m_mode.mode()))
                return one(kNg);
            return one(lines::channel(m_mode.channel(), m_memory.channel(m_mode.channel())));
        }
        const int ch = number(c, 2, 3);
        if (c.size() != 5 || ch < 1 || ch > MemoryState::kChannels)
            return one(kErr);
        m_mode.goToChannel(ch);
        return one(lines::channel(ch, m_memory.channel(ch)));
    }
    if (two == "PM") {
        const int ch = number(c, 2, 3);
        if (ch < 1 || ch > MemoryState::kChannels)
            return one(kErr);
        if (c.size() == 5)
            return one(lines::channel(ch, m_memory.channel(ch)));
        const int units = number(c, 6, 8);
        if (c.size() != 14 || c[5] != ' ' || units < 0)
            return one(kErr);
        if ((units != 0 && !MemoryState::inBand(units)) || !m_mode.canProgram(ch))
            return one(kNg);
        // Programming starts the channel afresh; delay and lock-out follow,
        // and in trunk programming the step key stores it as a trunk frequency.
        MemoryState::Channel fresh;
        fresh.frequency = units;
        m_memory.setChannel(ch, fresh);
        m_mode.programmed(ch);
        return one(kOk);
    }
    if (two == "RF") {
        const int units = number(c, 2, 8);
        if (c.size() != 10 || units < 0)
            return one(kErr);
        if (!MemoryState::inBand(units) || !m_mode.tune(units))
            return one(kNg);
        return one(kOk);
    }
    if (two == "PC") {
        const int bank = c.size() == 4 && c[2] == ' ' ? letterNumber(c[3]) : 0;
        if (bank == 0)
            return one(kErr);
        return one(lines::priority(bank, m_memory.bank(bank).priorityChannel));
    }
    // "SS" + slot 01..50
    const int slot = number(c, 2, 2);
    if (c.size() != 4 || slot < 1 || slot > MemoryState::kSearchLockouts)
        return one(kErr);
    return one(lines::searchLockout(m_memory.searchLockout(slot)));
}

QList<QByteArray> ReceiverModel::trunkCommand(const QByteArray& c)
{
    const QByteArray two = c.left(2);
    const int bank = m_mode.trunkBank();
    const bool inTrunk = M::isTrunkMode(m_mode.mode()) && bank != 0;
    if (two == "TB") {
        if (c != "TB")
            return one(kErr);
        return one(inTrunk ? lines::trunkBank(bank, m_memory.bank(bank).trunkType) : kNg);
    }
    if (c == "IC") {
        if (!inTrunk)
            return one(kNg);
        return one(lines::idChannel(m_mode.idList(), m_mode.idPosition(),
                                    m_memory.id(bank, m_mode.idList(), m_mode.idPosition())));
    }
    if (two == "IC") {
        // "IC " + list letter + position digit
        const int list = c.size() == 5 && c[2] == ' ' ? letterNumber(c[3]) : 0;
        const int position = list ? positionDigit(c[4]) : 0;
        if (position == 0)
            return one(kErr);
        if (!m_mode.goToIdChannel(list, position))
            return one(kNg);
        return one(lines::idChannel(list, position, m_memory.id(bank, list, position)));
    }
    if (two == "TR") {
        // "TR " + bank letter + " " + type digit
        const int b = c.size() == 6 && c[2] == ' ' && c[4] == ' ' ? letterNumber(c[3]) : 0;
        const int type = b ? c[5] - '0' : -1;
        if (type < 0 || type > 6)
            return one(kErr);
        m_memory.setTrunkType(b, type);
        return one(kOk);
    }
    // "TG " + bank letter + " " + list letter + position digit + " " + ID
    if (c.size() < 9 || c[2] != ' ' || c[4] != ' ' || c[7] != ' ')
        return one(kErr);
    const int b = letterNumber(c[3]);
    const int list = letterNumber(c[5]);
    const int position = positionDigit(c[6]);
    const int id = talkgroupField(c.mid(8));
    if (b == 0 || list == 0 || position == 0 || id < 0)
        return one(kErr);
    m_memory.setId(b, list, position, id);
    return one(kOk);
}

QList<QByteArray> ReceiverModel::idLockout(const QByteArray& c)
{
    const int id = talkgroupField(c.mid(4));
    if (id < 0 || c.size() < 5)
        return one(kErr);
    const int bank = m_mode.trunkBank();
    if (bank == 0 || id == 0)
        return one(kNg);
    if (c.startsWith("ILD"))
        return one(m_memory.unlockId(bank, id) ? kOk : kOff);
    return one(m_memory.lockOutId(bank, id) ? kOk : kNg);
}

} // namespace vexlor::simulator
