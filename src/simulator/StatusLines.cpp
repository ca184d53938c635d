#include "simulator/StatusLines.h"

#include "link/Wire.h"

namespace vexlor::simulator::lines {

namespace wire = vexlor::link::wire;

namespace {

QByteArray digits(int value, int width) { return wire::digits(value, width).toLatin1(); }
char nf(bool on) { return on ? 'N' : 'F'; }
char letter(int n) { return char(wire::bankLetter(n).unicode()); }

const char* systemText(int trunkType)
{
    static const char* const kNames[] = {"CONV", "E1", "E2-800", "E2-900", "E2-UHF", "E2-Hi", "EDACS"};
    return trunkType >= 0 && trunkType <= 6 ? kNames[trunkType] : "CONV";
}

} // namespace

QByteArray id6(int id) { return digits(id, 6); }
QByteArray freq8(qint32 units) { return digits(units, 8); }

QByteArray channel(int number, const MemoryState::Channel& c)
{
    QByteArray s = "C" + digits(number, 3) + " F" + freq8(c.frequency);
    s += " T";
    s += nf(c.trunk);
    s += " D";
    s += nf(c.delay);
    s += " L";
    s += nf(c.lockout);
    // The receiver's remaining fields; the program reads none of them.
    s += " AF RF N000";
    return s;
}

QByteArray frequency(int offset, qint32 units)
{
    return "W" + digits(qBound(0, offset, 999), 3) + " F" + freq8(units);
}

QByteArray flag(const char* name, bool on) { return QByteArray(name) + nf(on); }

QByteArray audio(char state) { return QByteArray("MU") + state; }

QByteArray letters(const char* name, const std::array<bool, 10>& on)
{
    QByteArray s = QByteArray(name) + ' ';
    for (int i = 0; i < 10; ++i)
        if (on[i])
            s += letter(i + 1);
    return s;
}

QByteArray limit(const char* name, qint32 units) { return QByteArray(name) + freq8(units); }

QByteArray mode(int code) { return "MD" + digits(code, 2); }

QByteArray priority(int bank, int ch) { return QByteArray("PC ") + letter(bank) + digits(ch, 3); }

QByteArray trunkBank(int bank, int trunkType)
{
    return QByteArray("TB ") + letter(bank) + ' ' + QByteArray(systemText(trunkType)).leftJustified(10, ' ');
}

QByteArray idChannel(int list, int position, int id)
{
    const QByteArray field = id == MemoryState::kClearedId ? QByteArray(6, char(0xFE)) : id6(id);
    return QByteArray("IC ") + letter(list) + char(wire::slotDigit(position).unicode()) + ' ' + field;
}

QByteArray talkgroup(bool start, int id) { return (start ? "ID S " : "ID E ") + id6(id); }

QByteArray searchLockout(qint32 units) { return "SS " + freq8(units); }

} // namespace vexlor::simulator::lines
