#include "simulator/MemoryState.h"

#include "link/FrequencyPlan.h"

#include <cmath>

namespace vexlor::simulator {

namespace {

qint32 units(double mhz) { return qint32(std::lround(mhz * 10000.0)); }

struct Preset {
    int channel;
    double mhz;
    bool delay;
    bool lockout;
};

// Bank 1 VHF public service, bank 2 UHF business and GMRS, bank 3 marine and
// air band, bank 4 an 800 MHz trunked system, bank 5 the amateur bands.
const Preset kConventional[] = {
    {1, 154.1300, true, false},  {2, 154.2500, false, false}, {3, 154.3250, true, false},
    {4, 154.4300, false, false}, {5, 155.4750, false, false}, {6, 155.7600, true, false},
    {7, 158.7300, false, false}, {8, 159.0300, false, false}, {9, 153.8600, false, false},
    {10, 154.6800, false, true}, {11, 151.1450, false, false}, {12, 156.2100, true, false},
    {31, 453.2500, false, false}, {32, 453.5000, true, false}, {33, 460.1250, false, false},
    {34, 460.3750, false, false}, {35, 462.5625, false, false}, {36, 462.6125, false, false},
    {37, 467.5625, false, false}, {38, 464.5000, false, true}, {39, 451.8000, false, false},
    {40, 456.8000, true, false},
    {61, 156.8000, true, false}, {62, 156.4500, false, false}, {63, 156.6500, false, false},
    {64, 157.1000, false, false}, {65, 119.1000, false, false}, {66, 121.5000, false, false},
    {67, 123.4500, false, false}, {68, 118.3000, false, false},
    {121, 146.5200, false, false}, {122, 146.9400, true, false}, {123, 147.1200, false, false},
    {124, 145.3100, false, false}, {125, 446.0000, false, false}, {126, 442.5500, false, false},
};

const double kTrunkBank4[] = {851.0125, 851.2625, 852.0375, 853.4625, 854.3125, 855.4875};

const int kTalkgroupsA[] = {2032, 2064, 2096, 4112, 4144, 10016, 10048, 16400};
const int kTalkgroupsB[] = {20016, 20048, 20080, 30032, 30064};

const MemoryState::Bank& emptyBank()
{
    static const MemoryState::Bank b {};
    return b;
}

} // namespace

MemoryState::MemoryState()
{
    for (int b = 1; b <= kBanks; ++b)
        m_banks[b - 1].priorityChannel = firstChannelOf(b);
    m_lower = units(144.0);
    m_upper = units(148.0);
}

MemoryState MemoryState::factoryLoaded()
{
    MemoryState m;
    for (const Preset& p : kConventional)
        m.m_channels[p.channel - 1] = Channel {units(p.mhz), false, p.delay, p.lockout};
    int ch = firstChannelOf(4);
    for (double mhz : kTrunkBank4)
        m.m_channels[ch++ - 1] = Channel {units(mhz), true, false, false};
    m.m_banks[3].trunkType = 2;
    int i = 0;
    for (int id : kTalkgroupsA)
        m.m_banks[3].ids[0][i++] = id;
    m.m_banks[3].ids[0][i] = kClearedId;
    i = 0;
    for (int id : kTalkgroupsB)
        m.m_banks[3].ids[1][i++] = id;
    m.m_banks[3].lockedIds.insert(30032);
    m.m_activeBanks = {true, true, true, true, true, false, false, false, false, false};
    m.m_activeLists = {true, true, false, false, false, false, false, false, false, false};
    m.m_searchLockouts[0] = units(145.8000);
    m.m_searchLockouts[1] = units(147.3000);
    m.m_revision = 0;
    return m;
}

bool MemoryState::inBand(qint32 u) { return link::plan::inBand(u); }

MemoryState::Channel MemoryState::channel(int number) const
{
    return valid(number, kChannels) ? m_channels[number - 1] : Channel {};
}

void MemoryState::setChannel(int number, const Channel& value)
{
    if (!valid(number, kChannels) || m_channels[number - 1] == value)
        return;
    m_channels[number - 1] = value;
    touch();
}

const MemoryState::Bank& MemoryState::bank(int number) const
{
    return valid(number, kBanks) ? m_banks[number - 1] : emptyBank();
}

void MemoryState::setTrunkType(int b, int type)
{
    if (!valid(b, kBanks) || type < 0 || type > 6)
        return;
    m_banks[b - 1].trunkType = type;
    if (type == 0) {
        // A conventional-only bank holds no trunk frequencies.
        for (int c = firstChannelOf(b); c < firstChannelOf(b) + kChannelsPerBank; ++c)
            m_channels[c - 1].trunk = false;
    }
    touch();
}

void MemoryState::setPriorityChannel(int b, int channel)
{
    if (!valid(b, kBanks) || !valid(channel, kChannels))
        return;
    m_banks[b - 1].priorityChannel = channel;
    touch();
}

int MemoryState::id(int b, int list, int position) const
{
    if (!valid(b, kBanks) || !valid(list, kLists) || !valid(position, kSlotsPerList))
        return 0;
    return m_banks[b - 1].ids[list - 1][position - 1];
}

void MemoryState::setId(int b, int list, int position, int value)
{
    if (!valid(b, kBanks) || !valid(list, kLists) || !valid(position, kSlotsPerList) || value < kClearedId
        || value > kMaxId)
        return;
    m_banks[b - 1].ids[list - 1][position - 1] = value;
    touch();
}

bool MemoryState::isIdLockedOut(int b, int value) const
{
    return valid(b, kBanks) && m_banks[b - 1].lockedIds.contains(value);
}

bool MemoryState::lockOutId(int b, int value)
{
    if (!valid(b, kBanks))
        return false;
    QSet<int>& set = m_banks[b - 1].lockedIds;
    if (set.contains(value))
        return true;
    if (set.size() >= kMaxLockedIds)
        return false;
    set.insert(value);
    touch();
    return true;
}

bool MemoryState::unlockId(int b, int value)
{
    if (!valid(b, kBanks) || !m_banks[b - 1].lockedIds.remove(value))
        return false;
    touch();
    return true;
}

void MemoryState::setActiveBanks(const std::array<bool, kBanks>& on)
{
    if (on == m_activeBanks)
        return;
    m_activeBanks = on;
    touch();
}

void MemoryState::setActiveLists(const std::array<bool, kLists>& on)
{
    if (on == m_activeLists)
        return;
    m_activeLists = on;
    touch();
}

void MemoryState::setLowerLimit(qint32 u)
{
    if (u == m_lower)
        return;
    m_lower = u;
    touch();
}

void MemoryState::setUpperLimit(qint32 u)
{
    if (u == m_upper)
        return;
    m_upper = u;
    touch();
}

qint32 MemoryState::searchLockout(int slot) const
{
    return valid(slot, kSearchLockouts) ? m_searchLockouts[slot - 1] : 0;
}

void MemoryState::setSearchLockout(int slot, qint32 u)
{
    if (!valid(slot, kSearchLockouts) || m_searchLockouts[slot - 1] == u)
        return;
    m_searchLockouts[slot - 1] = u;
    touch();
}

bool MemoryState::isSearchLockedOut(qint32 u) const
{
    if (u == 0)
        return false;
    for (qint32 f : m_searchLockouts)
        if (f == u)
            return true;
    return false;
}

bool MemoryState::addSearchLockout(qint32 u)
{
    if (isSearchLockedOut(u))
        return true;
    for (qint32& f : m_searchLockouts) {
        if (f == 0) {
            f = u;
            touch();
            return true;
        }
    }
    return false;
}

void MemoryState::removeSearchLockout(qint32 u)
{
    for (qint32& f : m_searchLockouts) {
        if (f == u && u != 0) {
            f = 0;
            touch();
        }
    }
}

bool MemoryState::sameMemories(const MemoryState& o) const
{
    return m_channels == o.m_channels && m_banks == o.m_banks && m_activeBanks == o.m_activeBanks
        && m_activeLists == o.m_activeLists && m_searchLockouts == o.m_searchLockouts
        && m_lower == o.m_lower && m_upper == o.m_upper;
}

} // namespace vexlor::simulator
