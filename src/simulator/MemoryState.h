#pragma once

#include <QList>
#include <QSet>

#include <array>

namespace vexlor::simulator {

// What the receiver keeps in its memory: channels, banks, talkgroup lists,
// scan selections and search settings. Frequencies are wire units (100 Hz).
// Every change bumps revision(), so the owner knows when to save.
class MemoryState {
public:
    static constexpr int kChannels = 300;
    static constexpr int kBanks = 10;
    static constexpr int kChannelsPerBank = 30;
    static constexpr int kLists = 10;
    static constexpr int kSlotsPerList = 10;
    static constexpr int kSearchLockouts = 50;
    static constexpr int kMaxLockedIds = 100;
    static constexpr int kMaxId = 999999;
    // A slot that was cleared: the receiver shows it blank and writes its
    // blank glyph (0xFE) for every digit.
    static constexpr int kClearedId = -1;

    struct Channel {
        qint32 frequency = 0; // 0: empty
        bool trunk = false;
        bool delay = false;
        bool lockout = false;
        bool operator==(const Channel&) const = default;
    };

    struct Bank {
        int trunkType = 0; // 0 conventional, 1-5 Motorola, 6 EDACS
        int priorityChannel = 0;
        std::array<std::array<int, kSlotsPerList>, kLists> ids {}; // 0: empty slot
        QSet<int> lockedIds;
        bool operator==(const Bank&) const = default;
    };

    MemoryState();

    // A plausible programmed receiver: conventional VHF/UHF banks and one
    // trunked bank with talkgroups, so scanning shows traffic at once.
    static MemoryState factoryLoaded();

    // The receiver's coverage; 0 (an empty channel) is not in it.
    static bool inBand(qint32 units);
    static int bankOfChannel(int channel) { return (channel - 1) / kChannelsPerBank + 1; }
    static int firstChannelOf(int bank) { return (bank - 1) * kChannelsPerBank + 1; }

    quint64 revision() const { return m_revision; }

    // Channels 1..300; out of range reads as an empty channel.
    Channel channel(int number) const;
    void setChannel(int number, const Channel& value);

    // Banks 1..10.
    const Bank& bank(int number) const;
    void setTrunkType(int bank, int type);
    void setPriorityChannel(int bank, int channel);
    int id(int bank, int list, int position) const;
    void setId(int bank, int list, int position, int id);
    bool isIdLockedOut(int bank, int id) const;
    // False when the bank's lock-out list is full.
    bool lockOutId(int bank, int id);
    // True when the ID had been locked out.
    bool unlockId(int bank, int id);

    bool bankActive(int bank) const { return valid(bank, kBanks) && m_activeBanks[bank - 1]; }
    bool listActive(int list) const { return valid(list, kLists) && m_activeLists[list - 1]; }
    void setActiveBanks(const std::array<bool, kBanks>& on);
    void setActiveLists(const std::array<bool, kLists>& on);
    const std::array<bool, kBanks>& activeBanks() const { return m_activeBanks; }
    const std::array<bool, kLists>& activeLists() const { return m_activeLists; }

    qint32 lowerLimit() const { return m_lower; }
    qint32 upperLimit() const { return m_upper; }
    void setLowerLimit(qint32 units);
    void setUpperLimit(qint32 units);

    // Slots 1..50, 0 for an empty slot.
    qint32 searchLockout(int slot) const;
    void setSearchLockout(int slot, qint32 units);
    bool isSearchLockedOut(qint32 units) const;
    // Into the first free slot; false when all 50 are taken.
    bool addSearchLockout(qint32 units);
    void removeSearchLockout(qint32 units);

    bool sameMemories(const MemoryState& other) const;

private:
    static bool valid(int n, int count) { return n >= 1 && n <= count; }
    void touch() { ++m_revision; }

    std::array<Channel, kChannels> m_channels {};
    std::array<Bank, kBanks> m_banks {};
    std::array<bool, kBanks> m_activeBanks {};
    std::array<bool, kLists> m_activeLists {};
    std::array<qint32, kSearchLockouts> m_searchLockouts {};
    qint32 m_lower = 0;
    qint32 m_upper = 0;
    quint64 m_revision = 0;
};

} // namespace vexlor::simulator
