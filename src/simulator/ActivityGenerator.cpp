#include "simulator/ActivityGenerator.h"

#include "simulator/StatusLines.h"

#include <algorithm>
#include <limits>

namespace vexlor::simulator {

namespace {

using M = ModeMachine;

struct Band {
    qint32 lo, hi, step; // 100 Hz units
};

// Where the service search listens: marine, air, VHF and UHF public service.
const Band kServiceBands[] = {
    {1560500, 1574250, 250},
    {1180000, 1369750, 250},
    {1508150, 1589850, 75},
    {4530000, 4589875, 125},
};

} // namespace

ActivityGenerator::ActivityGenerator(const MemoryState& memory, ModeMachine& mode, quint32 seed)
    : m_memory(memory), m_mode(mode), m_rng(seed)
{
    m_seenMode = m_mode.modeRevision();
    m_nextAt = 500;
}

void ActivityGenerator::setScript(const ActivityScript& script)
{
    m_script = script;
    m_step = 0;
    m_nextAt = m_now;
}

int ActivityGenerator::between(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    return lo + int(m_rng() % quint32(hi - lo + 1));
}

int ActivityGenerator::jitteredOffset()
{
    // Most signals sit close to the centre; a few are well off frequency.
    return lines::kCentredOffset + (chance(85) ? between(-5, 5) : between(-30, 30));
}

QList<QByteArray> ActivityGenerator::advance(qint64 ms)
{
    QList<QByteArray> out;
    const qint64 target = m_now + std::max<qint64>(ms, 0);
    if (!m_script && m_mode.modeRevision() != m_seenMode) {
        // Whatever was heard is gone once the mode changes.
        m_seenMode = m_mode.modeRevision();
        if (m_rx != Idle)
            close(out);
        idleFor(between(600, 2500));
    }
    for (int guard = 0; guard < 100000; ++guard) {
        const qint64 next = m_rx == Idle ? m_nextAt : std::min(m_endAt, m_nextWAt);
        if (next > target)
            break;
        m_now = std::max(m_now, next);
        if (m_rx == Idle) {
            startNext(out);
        } else if (m_endAt <= m_nextWAt) {
            close(out);
        } else {
            m_rxOffset = jitteredOffset();
            m_mode.setOffset(m_rxOffset);
            out << lines::frequency(m_rxOffset, m_rxUnits);
            m_nextWAt = m_now + between(1000, 2500);
        }
    }
    m_now = target;
    return out;
}

void ActivityGenerator::startNext(QList<QByteArray>& out)
{
    if (m_script) {
        runScriptStep(out);
        return;
    }
    if (!m_enabled) {
        idleFor(1000);
        return;
    }
    startRandom(out);
}

void ActivityGenerator::runScriptStep(QList<QByteArray>& out)
{
    const QList<ActivityScript::Step>& steps = m_script->steps();
    if (m_step >= steps.size()) {
        if (!m_script->loops() || steps.isEmpty()) {
            m_nextAt = std::numeric_limits<qint64>::max();
            return;
        }
        m_step = 0;
    }
    const ActivityScript::Step& s = steps[m_step++];
    switch (s.kind) {
    case ActivityScript::Step::Gap: idleFor(s.ms); break;
    case ActivityScript::Step::Line:
        out << s.text;
        idleFor(0);
        break;
    case ActivityScript::Step::Channel:
        if (M::isChannelMode(m_mode.mode()))
            m_mode.restOnChannel(s.value);
        openCarrier(s.value, m_memory.channel(s.value).frequency, s.ms, out);
        break;
    case ActivityScript::Step::Frequency: openCarrier(0, s.units, s.ms, out); break;
    case ActivityScript::Step::Talkgroup: openCall(s.value, s.ms, out); break;
    }
}

void ActivityGenerator::startRandom(QList<QByteArray>& out)
{
    const int mode = m_mode.mode();
    const int conversation = between(1500, 8000);
    if (mode == M::Scan) {
        if (const auto ch = scanChannel()) {
            m_mode.restOnChannel(*ch);
            openCarrier(*ch, m_memory.channel(*ch).frequency, conversation, out);
            return;
        }
    } else if (mode == M::Manual) {
        const int ch = m_mode.channel();
        if (m_memory.channel(ch).frequency != 0 && chance(40)) {
            openCarrier(ch, m_memory.channel(ch).frequency, conversation, out);
            return;
        }
    } else if (mode == M::LimitSearch || mode == M::ServiceSearch) {
        const auto f = mode == M::LimitSearch ? searchFrequency() : serviceFrequency();
        if (f) {
            m_mode.restOnFrequency(*f);
            openCarrier(0, *f, conversation, out);
            return;
        }
    } else if (mode == M::SearchHold || mode == M::ServiceSearchHold || mode == M::Direct) {
        const qint32 f = m_mode.frequency();
        if (f != 0 && chance(40)) {
            openCarrier(0, f, conversation, out);
            return;
        }
    } else if (mode == M::ScanIdM || mode == M::ScanIdE) {
        if (const auto id = scanId()) {
            openCall(*id, conversation, out);
            return;
        }
    } else if (mode == M::IdSearchM || mode == M::IdSearchE) {
        if (const auto id = searchId()) {
            openCall(*id, conversation, out);
            return;
        }
    } else if (mode == M::IdSearchHoldM || mode == M::IdSearchHoldE || mode == M::ManualIdM
               || mode == M::ManualIdE) {
        const int id = m_mode.currentId();
        if (id != 0 && !m_memory.isIdLockedOut(m_mode.trunkBank(), id) && chance(40)) {
            openCall(id, conversation, out);
            return;
        }
    }
    // Nothing on the air here: listen again a little later.
    idleFor(between(800, 3000));
}

void ActivityGenerator::openCarrier(int channel, qint32 units, int ms, QList<QByteArray>& out)
{
    m_rx = Conventional;
    m_rxChannel = channel;
    m_rxUnits = units;
    m_rxOffset = jitteredOffset();
    m_mode.setOffset(m_rxOffset);
    out << QByteArray("+");
    if (channel != 0)
        out << lines::channel(channel, m_memory.channel(channel));
    out << lines::frequency(m_rxOffset, units);
    m_endAt = m_now + ms;
    m_nextWAt = m_now + between(1000, 2500);
}

void ActivityGenerator::openCall(int id, int ms, QList<QByteArray>& out)
{
    m_rx = Talkgroup;
    m_rxId = id;
    m_mode.hearId(id);
    out << lines::talkgroup(true, id);
    m_endAt = m_now + ms;
    m_nextWAt = std::numeric_limits<qint64>::max();
}

void ActivityGenerator::close(QList<QByteArray>& out)
{
    if (m_rx == Conventional) {
        out << QByteArray("-");
        m_mode.setOffset(lines::kCentredOffset);
    } else if (m_rx == Talkgroup) {
        out << lines::talkgroup(false, m_rxId);
    }
    m_rx = Idle;
    if (m_script) {
        idleFor(0);
        return;
    }
    const bool held = m_mode.mode() == M::Manual || m_mode.mode() == M::SearchHold
        || m_mode.mode() == M::ServiceSearchHold || m_mode.mode() == M::Direct;
    idleFor(held ? between(2000, 8000) : between(800, 5000));
}

std::optional<int> ActivityGenerator::scanChannel()
{
    QList<int> candidates;
    for (int c = 1; c <= MemoryState::kChannels; ++c) {
        const MemoryState::Channel ch = m_memory.channel(c);
        if (ch.frequency != 0 && !ch.trunk && !ch.lockout && m_memory.bankActive(MemoryState::bankOfChannel(c)))
            candidates << c;
    }
    if (candidates.isEmpty())
        return std::nullopt;
    return candidates[between(0, int(candidates.size()) - 1)];
}

std::optional<qint32> ActivityGenerator::searchFrequency()
{
    const qint32 lo = std::min(m_memory.lowerLimit(), m_memory.upperLimit());
    const qint32 hi = std::max(m_memory.lowerLimit(), m_memory.upperLimit());
    if (hi == 0)
        return std::nullopt;
    // Busy frequencies are usually the ones somebody programmed.
    QList<qint32> known;
    for (int c = 1; c <= MemoryState::kChannels; ++c) {
        const qint32 f = m_memory.channel(c).frequency;
        if (f >= lo && f <= hi && f != 0 && !m_memory.isSearchLockedOut(f))
            known << f;
    }
    if (!known.isEmpty() && chance(50))
        return known[between(0, int(known.size()) - 1)];
    const qint32 step = lo >= 4060000 ? 125 : 50;
    const int steps = int((hi - lo) / step);
    for (int tries = 0; tries < 8; ++tries) {
        const qint32 f = lo + qint32(between(0, steps)) * step;
        if (MemoryState::inBand(f) && !m_memory.isSearchLockedOut(f))
            return f;
    }
    return std::nullopt;
}

std::optional<qint32> ActivityGenerator::serviceFrequency()
{
    for (int tries = 0; tries < 8; ++tries) {
        const Band& b = kServiceBands[between(0, int(std::size(kServiceBands)) - 1)];
        const qint32 f = b.lo + qint32(between(0, int((b.hi - b.lo) / b.step))) * b.step;
        if (!m_memory.isSearchLockedOut(f))
            return f;
    }
    return std::nullopt;
}

std::optional<int> ActivityGenerator::scanId()
{
    const int bank = m_mode.trunkBank();
    struct Slot {
        int list, position, id;
    };
    QList<Slot> candidates;
    for (int l = 1; l <= MemoryState::kLists; ++l) {
        if (!m_memory.listActive(l))
            continue;
        for (int p = 1; p <= MemoryState::kSlotsPerList; ++p) {
            const int id = m_memory.id(bank, l, p);
            if (id > 0 && !m_memory.isIdLockedOut(bank, id))
                candidates.append({l, p, id});
        }
    }
    if (candidates.isEmpty())
        return std::nullopt;
    const Slot s = candidates[between(0, int(candidates.size()) - 1)];
    m_mode.restOnIdChannel(s.list, s.position);
    return s.id;
}

std::optional<int> ActivityGenerator::searchId()
{
    const int bank = m_mode.trunkBank();
    QList<int> known;
    for (int l = 1; l <= MemoryState::kLists; ++l)
        for (int p = 1; p <= MemoryState::kSlotsPerList; ++p)
            if (const int id = m_memory.id(bank, l, p); id > 0 && !m_memory.isIdLockedOut(bank, id))
                known << id;
    for (int tries = 0; tries < 8; ++tries) {
        int id = 0;
        if (!known.isEmpty() && chance(65))
            id = known[between(0, int(known.size()) - 1)];
        else if (m_memory.bank(bank).trunkType == 6)
            id = between(1, 2047);
        else
            id = between(1, 4095) * 16;
        if (!m_memory.isIdLockedOut(bank, id))
            return id;
    }
    return std::nullopt;
}

} // namespace vexlor::simulator
