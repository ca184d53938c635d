#include "simulator/StateFile.h"

#include "platform/SafeWrite.h"
#include "simulator/TextFile.h"

#include <algorithm>

namespace vexlor::simulator {

namespace {

const QByteArray kHeader = "vexlor-sim-state 1";
constexpr qint64 kMaxFileSize = 1024 * 1024;

QByteArray num(int v, int width) { return QByteArray::number(v).rightJustified(width, '0'); }
char nf(bool on) { return on ? 'N' : 'F'; }
char letter(int n) { return char('A' + n - 1); }

QByteArray letters(const std::array<bool, 10>& on)
{
    QByteArray s;
    for (int i = 0; i < 10; ++i)
        if (on[i])
            s += letter(i + 1);
    return s.isEmpty() ? QByteArray("-") : s;
}

// A cleared talkgroup slot.
constexpr char kClearedField[] = "------";

// Strict field readers: the whole word must be what is expected.
bool readInt(const QByteArray& w, int width, int lo, int hi, int* out)
{
    if (w.size() != width)
        return false;
    for (char ch : w)
        if (ch < '0' || ch > '9')
            return false;
    const int v = w.toInt();
    if (v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

bool readFlag(const QByteArray& w, bool* out)
{
    if (w != "N" && w != "F")
        return false;
    *out = w == "N";
    return true;
}

bool readLetter(const QByteArray& w, int* out)
{
    if (w.size() != 1 || w[0] < 'A' || w[0] > 'J')
        return false;
    *out = w[0] - 'A' + 1;
    return true;
}

bool readLetters(const QByteArray& w, std::array<bool, 10>* out)
{
    *out = {};
    if (w == "-")
        return true;
    for (char ch : w) {
        if (ch < 'A' || ch > 'J')
            return false;
        (*out)[ch - 'A'] = true;
    }
    return !w.isEmpty();
}

bool readFrequency(const QByteArray& w, bool allowEmpty, qint32* out)
{
    int v = 0;
    if (!readInt(w, 8, 0, 99999999, &v))
        return false;
    if (v == 0 ? !allowEmpty : !MemoryState::inBand(v))
        return false;
    *out = v;
    return true;
}

} // namespace

QByteArray StateFile::serialize(const MemoryState& m)
{
    QByteArray out = kHeader + '\n';
    for (int c = 1; c <= MemoryState::kChannels; ++c) {
        const MemoryState::Channel ch = m.channel(c);
        if (ch == MemoryState::Channel {})
            continue;
        out += "channel " + num(c, 3) + ' ' + num(ch.frequency, 8) + ' ' + nf(ch.trunk) + ' ' + nf(ch.delay)
            + ' ' + nf(ch.lockout) + '\n';
    }
    for (int b = 1; b <= MemoryState::kBanks; ++b) {
        const MemoryState::Bank& bank = m.bank(b);
        out += QByteArray("bank ") + letter(b) + ' ' + QByteArray::number(bank.trunkType) + ' '
            + num(bank.priorityChannel, 3) + '\n';
        for (int l = 1; l <= MemoryState::kLists; ++l)
            for (int p = 1; p <= MemoryState::kSlotsPerList; ++p)
                if (const int id = m.id(b, l, p))
                    out += QByteArray("id ") + letter(b) + ' ' + letter(l) + ' ' + num(p, 2) + ' '
                        + (id == MemoryState::kClearedId ? QByteArray(kClearedField) : num(id, 6)) + '\n';
        QList<int> locked = bank.lockedIds.values();
        std::sort(locked.begin(), locked.end());
        for (int id : locked)
            out += QByteArray("lockedid ") + letter(b) + ' ' + num(id, 6) + '\n';
    }
    out += "banks " + letters(m.activeBanks()) + '\n';
    out += "lists " + letters(m.activeLists()) + '\n';
    out += "limits " + num(m.lowerLimit(), 8) + ' ' + num(m.upperLimit(), 8) + '\n';
    for (int s = 1; s <= MemoryState::kSearchLockouts; ++s)
        if (const qint32 f = m.searchLockout(s))
            out += "searchlockout " + num(s, 2) + ' ' + num(f, 8) + '\n';
    out += "end\n";
    return out;
}

std::optional<MemoryState> StateFile::parse(const QByteArray& text, QString* error)
{
    MemoryState m;
    const QList<QByteArray> rows = text.split('\n');
    int line = 0;
    bool ended = false;
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(line).arg(why);
        return std::nullopt;
    };
    for (const QByteArray& raw : rows) {
        ++line;
        const QByteArray row = raw.endsWith('\r') ? raw.chopped(1) : raw;
        if (line == 1) {
            if (row != kHeader)
                return fail(QStringLiteral("not a simulator state file of version 1"));
            continue;
        }
        if (row.isEmpty())
            continue;
        if (ended)
            return fail(QStringLiteral("text after \"end\""));
        const QList<QByteArray> w = row.split(' ');
        const QByteArray& kind = w[0];
        if (kind == "end" && w.size() == 1) {
            ended = true;
        } else if (kind == "channel" && w.size() == 6) {
            int c = 0;
            MemoryState::Channel ch;
            if (!readInt(w[1], 3, 1, MemoryState::kChannels, &c) || !readFrequency(w[2], true, &ch.frequency)
                || !readFlag(w[3], &ch.trunk) || !readFlag(w[4], &ch.delay) || !readFlag(w[5], &ch.lockout))
                return fail(QStringLiteral("bad channel"));
            m.setChannel(c, ch);
        } else if (kind == "bank" && w.size() == 4) {
            int b = 0, type = 0, pri = 0;
            if (!readLetter(w[1], &b) || !readInt(w[2], 1, 0, 6, &type)
                || !readInt(w[3], 3, 1, MemoryState::kChannels, &pri))
                return fail(QStringLiteral("bad bank"));
            // The type first: a conventional type would clear trunk flags read above.
            const auto saved = m;
            m.setTrunkType(b, type);
            for (int c = MemoryState::firstChannelOf(b); c < MemoryState::firstChannelOf(b) + MemoryState::kChannelsPerBank; ++c)
                m.setChannel(c, saved.channel(c));
            m.setPriorityChannel(b, pri);
        } else if (kind == "id" && w.size() == 5) {
            int b = 0, l = 0, p = 0, id = 0;
            if (w[4] == kClearedField)
                id = MemoryState::kClearedId;
            if (!readLetter(w[1], &b) || !readLetter(w[2], &l) || !readInt(w[3], 2, 1, 10, &p)
                || (id == 0 && !readInt(w[4], 6, 1, MemoryState::kMaxId, &id)))
                return fail(QStringLiteral("bad talkgroup"));
            m.setId(b, l, p, id);
        } else if (kind == "lockedid" && w.size() == 3) {
            int b = 0, id = 0;
            if (!readLetter(w[1], &b) || !readInt(w[2], 6, 1, MemoryState::kMaxId, &id) || !m.lockOutId(b, id))
                return fail(QStringLiteral("bad locked-out talkgroup"));
        } else if ((kind == "banks" || kind == "lists") && w.size() == 2) {
            std::array<bool, 10> on {};
            if (!readLetters(w[1], &on))
                return fail(QStringLiteral("bad letters"));
            kind == "banks" ? m.setActiveBanks(on) : m.setActiveLists(on);
        } else if (kind == "limits" && w.size() == 3) {
            qint32 lo = 0, hi = 0;
            if (!readFrequency(w[1], false, &lo) || !readFrequency(w[2], false, &hi))
                return fail(QStringLiteral("bad search limits"));
            m.setLowerLimit(lo);
            m.setUpperLimit(hi);
        } else if (kind == "searchlockout" && w.size() == 3) {
            int s = 0;
            qint32 f = 0;
            if (!readInt(w[1], 2, 1, MemoryState::kSearchLockouts, &s) || !readFrequency(w[2], false, &f))
                return fail(QStringLiteral("bad search lock-out"));
            m.setSearchLockout(s, f);
        } else {
            return fail(QStringLiteral("unknown entry"));
        }
    }
    if (!ended) {
        line = int(rows.size());
        return fail(QStringLiteral("the file ends early"));
    }
    return m;
}

bool StateFile::save(const QString& path, const MemoryState& memory, QString* error)
{
    const auto w = platform::safewrite::replace(path, serialize(memory));
    if (!w.written && error)
        *error = QStringLiteral("%1: %2").arg(path, w.reason);
    return w.written;
}

std::optional<MemoryState> StateFile::load(const QString& path, QString* error)
{
    return loadTextFile<MemoryState>(path, kMaxFileSize, QStringLiteral("state file"), &StateFile::parse, error);
}

} // namespace vexlor::simulator
