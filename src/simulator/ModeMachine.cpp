#include "simulator/ModeMachine.h"

#include "link/Wire.h"
#include "simulator/StatusLines.h"

#include <algorithm>
#include <cmath>

namespace vexlor::simulator {

namespace {
constexpr int kKeyScan = 0, kKeyManual = 1, kKeyDigit = 2, kKeyDot = 3, kKeyE = 4, kKeyPriority = 5,
              kKeyLockout = 6, kKeyLimit = 7, kKeyHold = 8, kKeySearch = 9, kKeyService = 10,
              kKeyData = 11, kKeyDelay = 12, kKeyTrunk = 13, kKeyLight = 14;
} // namespace

ModeMachine::ModeMachine(MemoryState& memory, FunctionFlags& flags) : m_memory(memory), m_flags(flags)
{
    followChannel();
}

void ModeMachine::setMode(int m)
{
    if (m != m_mode)
        ++m_modeRevision;
    m_mode = m;
    m_entry.clear();
}

bool ModeMachine::edacs() const { return m_memory.bank(m_trunkBank).trunkType == 6; }

void ModeMachine::followChannel()
{
    m_frequency = m_memory.channel(m_channel).frequency;
    m_offset = lines::kCentredOffset;
}

void ModeMachine::restOnChannel(int number)
{
    if (number < 1 || number > MemoryState::kChannels)
        return;
    m_channel = number;
    followChannel();
}

void ModeMachine::restOnFrequency(qint32 units)
{
    m_frequency = units;
    m_offset = lines::kCentredOffset;
}

void ModeMachine::hearId(int id) { m_currentId = id; }

void ModeMachine::restOnIdChannel(int list, int position)
{
    m_idList = list;
    m_idPosition = position;
    m_currentId = std::max(0, m_memory.id(m_trunkBank, list, position));
}

void ModeMachine::goToChannel(int number)
{
    setMode(Manual);
    restOnChannel(number);
}

bool ModeMachine::tune(qint32 units)
{
    if (m_mode != Manual && m_mode != Direct)
        return false;
    setMode(Direct);
    restOnFrequency(units);
    return true;
}

bool ModeMachine::goToIdChannel(int list, int position)
{
    if (!isIdMode(m_mode))
        return false;
    setMode(pick(ManualIdM));
    restOnIdChannel(list, position);
    return true;
}

bool ModeMachine::canProgram(int number) const
{
    // A memory write from the computer also drops a search, as the program
    // key does: the "Lmt" key of a conventional upload leaves one running.
    if (m_mode == Manual || m_mode == Direct || isSearchMode(m_mode))
        return true;
    if (m_mode == TrunkProgramM || m_mode == TrunkProgramE)
        return MemoryState::bankOfChannel(number) == m_trunkBank;
    return false;
}

void ModeMachine::programmed(int number)
{
    m_lastProgrammed = number;
    if (isProgrammingMode(m_mode)) {
        m_programChannel = number;
        m_frequency = m_memory.channel(number).frequency;
    } else {
        setMode(Manual);
        restOnChannel(number);
    }
}

int ModeMachine::heldChannel() const
{
    if (m_mode == TrunkProgramM || m_mode == TrunkProgramE)
        return m_lastProgrammed ? m_lastProgrammed : m_programChannel;
    return isChannelMode(m_mode) ? m_channel : 0;
}

bool ModeMachine::delay() const
{
    const int ch = heldChannel();
    return ch ? m_memory.channel(ch).delay : m_flags.searchDelay;
}

bool ModeMachine::setDelay(bool on)
{
    const int ch = heldChannel();
    if (!ch) {
        m_flags.searchDelay = on;
        return true;
    }
    MemoryState::Channel c = m_memory.channel(ch);
    c.delay = on;
    m_memory.setChannel(ch, c);
    return true;
}

bool ModeMachine::lockout() const
{
    if (const int ch = heldChannel())
        return m_memory.channel(ch).lockout;
    if (isSearchMode(m_mode) || m_mode == Direct)
        return m_memory.isSearchLockedOut(m_frequency);
    if (isIdMode(m_mode))
        return m_memory.isIdLockedOut(m_trunkBank, m_currentId);
    return false;
}

bool ModeMachine::setLockout(bool on)
{
    if (const int ch = heldChannel()) {
        MemoryState::Channel c = m_memory.channel(ch);
        c.lockout = on;
        m_memory.setChannel(ch, c);
        return true;
    }
    if (isSearchMode(m_mode) || m_mode == Direct) {
        if (m_frequency == 0)
            return false;
        if (!on) {
            m_memory.removeSearchLockout(m_frequency);
            return true;
        }
        return m_memory.addSearchLockout(m_frequency);
    }
    if (isIdMode(m_mode) && m_currentId != 0) {
        if (!on) {
            m_memory.unlockId(m_trunkBank, m_currentId);
            return true;
        }
        return m_memory.lockOutId(m_trunkBank, m_currentId);
    }
    return false;
}

int ModeMachine::chooseTrunkBank() const
{
    const int own = MemoryState::bankOfChannel(m_channel);
    if (m_memory.bank(own).trunkType > 0)
        return own;
    // Held on a conventional channel, the key has no system to go to.
    if (m_mode == Manual)
        return 0;
    for (int b = 1; b <= MemoryState::kBanks; ++b)
        if (m_memory.bankActive(b) && m_memory.bank(b).trunkType > 0)
            return b;
    for (int b = 1; b <= MemoryState::kBanks; ++b)
        if (m_memory.bank(b).trunkType > 0)
            return b;
    return 0;
}

void ModeMachine::enterTrunkBank(int bank, int motorolaMode)
{
    m_trunkBank = bank;
    setMode(pick(motorolaMode));
    // Idle on the system's first frequency, as on its control channel.
    const int first = MemoryState::firstChannelOf(bank);
    m_frequency = 0;
    for (int c = first; c < first + MemoryState::kChannelsPerBank; ++c) {
        if (m_memory.channel(c).frequency != 0) {
            m_frequency = m_memory.channel(c).frequency;
            break;
        }
    }
    m_offset = lines::kCentredOffset;
    restOnIdChannel(m_idList, m_idPosition);
}

bool ModeMachine::digitKey(int digit)
{
    if (digit < 0 || digit > 9)
        return false;
    const int n = digit == 0 ? 10 : digit;
    if (m_mode == TrunkProgram) {
        m_programBankChoice = n;
        return true;
    }
    if (m_mode == Scan || m_mode == ScanIdM || m_mode == ScanIdE) {
        // The number keys switch banks (or ID lists) in and out of the scan;
        // the last one stays in.
        const bool lists = m_mode != Scan;
        auto on = lists ? m_memory.activeLists() : m_memory.activeBanks();
        on[n - 1] = !on[n - 1];
        bool any = false;
        for (bool b : on)
            any = any || b;
        if (!any)
            return false;
        lists ? m_memory.setActiveLists(on) : m_memory.setActiveBanks(on);
        return true;
    }
    if (m_entry.size() < 10)
        m_entry += char('0' + digit);
    return true;
}

bool ModeMachine::enterKey()
{
    if (m_mode == TrunkProgram) {
        const int b = m_programBankChoice;
        const int type = m_memory.bank(b).trunkType;
        if (b == 0 || type == 0)
            return false;
        m_trunkBank = b;
        setMode(type == 6 ? TrunkProgramE : TrunkProgramM);
        m_programChannel = MemoryState::firstChannelOf(b);
        m_lastProgrammed = 0;
        return true;
    }
    if (m_entry.contains('.')) {
        const qint32 units = qint32(std::lround(link::wire::leadingNumber(QString::fromLatin1(m_entry)) * 10000.0));
        m_entry.clear();
        if (!MemoryState::inBand(units) || isTrunkMode(m_mode))
            return false;
        setMode(Direct);
        restOnFrequency(units);
        return true;
    }
    m_entry.clear();
    return true;
}

bool ModeMachine::manualKey()
{
    if (m_mode == ScanIdM || m_mode == ScanIdE) {
        setMode(m_mode + 1);
        return true;
    }
    if (m_mode == ManualIdM || m_mode == ManualIdE) {
        const int slot = (m_idList - 1) * MemoryState::kSlotsPerList + m_idPosition; // 1..100
        const int next = slot % (MemoryState::kLists * MemoryState::kSlotsPerList) + 1;
        restOnIdChannel((next - 1) / MemoryState::kSlotsPerList + 1, (next - 1) % MemoryState::kSlotsPerList + 1);
        return true;
    }
    const QByteArray entry = m_entry;
    if (!entry.isEmpty() && !entry.contains('.')) {
        const int ch = entry.toInt();
        if (ch < 1 || ch > MemoryState::kChannels) {
            m_entry.clear();
            return false;
        }
        goToChannel(ch);
        return true;
    }
    if (m_mode == Manual) {
        restOnChannel(m_channel % MemoryState::kChannels + 1);
        return true;
    }
    goToChannel(m_channel);
    return true;
}

bool ModeMachine::holdKey()
{
    switch (m_mode) {
    case Scan: setMode(Manual); return true;
    case LimitSearch: case ServiceSearch: case IdSearchM: case IdSearchE:
    case ScanIdM: case ScanIdE:
        setMode(m_mode + 1);
        return true;
    case SearchHold: case ServiceSearchHold: case IdSearchHoldM: case IdSearchHoldE:
    case ManualIdM: case ManualIdE:
        setMode(m_mode - 1);
        return true;
    default: return true;
    }
}

bool ModeMachine::key(int code, bool held, int digit)
{
    switch (code) {
    case kKeyScan:
        // Held on an ID (where an ID list read leaves it) or searching IDs, the
        // key resumes the system's ID scan; from the ID scan itself it leaves
        // trunking.
        if (isIdMode(m_mode) && m_mode != ScanIdM && m_mode != ScanIdE) {
            setMode(pick(ScanIdM));
            return true;
        }
        setMode(Scan);
        followChannel();
        return true;
    case kKeyManual: return manualKey();
    case kKeyDigit: return digitKey(digit);
    case kKeyDot:
        if (!m_entry.contains('.') && m_entry.size() < 10)
            m_entry += '.';
        return true;
    case kKeyE: return enterKey();
    case kKeyPriority: m_flags.priority = !m_flags.priority; return true;
    case kKeyLockout: return setLockout(!lockout());
    case kKeyLimit:
        if (m_mode == TrunkProgramM || m_mode == TrunkProgramE) {
            // Step: what was just programmed is kept as a trunk frequency,
            // and the next channel of the bank is the one to program.
            if (m_lastProgrammed) {
                MemoryState::Channel c = m_memory.channel(m_lastProgrammed);
                c.trunk = c.frequency != 0;
                m_memory.setChannel(m_lastProgrammed, c);
            }
            const int base = m_lastProgrammed ? m_lastProgrammed : m_programChannel;
            const int first = MemoryState::firstChannelOf(m_trunkBank);
            m_programChannel = first + (base - first + 1) % MemoryState::kChannelsPerBank;
            m_lastProgrammed = 0;
            return true;
        }
        if (isTrunkMode(m_mode))
            return true;
        setMode(LimitSearch);
        return true;
    case kKeyHold: return holdKey();
    case kKeySearch:
        if (isIdMode(m_mode))
            setMode(pick(IdSearchM));
        else
            setMode(LimitSearch);
        return true;
    case kKeyService: setMode(ServiceSearch); return true;
    case kKeyData: m_flags.dataSkip = !m_flags.dataSkip; return true;
    case kKeyDelay: return setDelay(!delay());
    case kKeyTrunk: {
        if (held) {
            setMode(TrunkProgram);
            m_programBankChoice = 0;
            return true;
        }
        const int b = chooseTrunkBank();
        if (b == 0)
            return false;
        enterTrunkBank(b, ScanIdM);
        return true;
    }
    case kKeyLight: m_flags.backlight = !m_flags.backlight; return true;
    default: return false;
    }
}

} // namespace vexlor::simulator
