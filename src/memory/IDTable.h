#pragma once

#include "memory/Cell.h"

#include <array>

namespace vexlor::memory {

// `IDs`: [bank 0..10][slot 0..100][column 0..5], index 0 of bank and slot
// unused. Bounds-checked like ChannelTable.
class IDTable {
public:
    static constexpr int kBanks = 11;
    static constexpr int kSlots = 101;
    static constexpr int kColumns = 6;

    static bool contains(int bank, int slot, int col)
    {
        return bank >= 0 && bank < kBanks && slot >= 0 && slot < kSlots && col >= 0 && col < kColumns;
    }

    const Cell& at(int bank, int slot, int col) const;
    const Cell& operator()(int bank, int slot, int col) const { return at(bank, slot, col); }
    QString text(int bank, int slot, int col) const { return at(bank, slot, col).display(); }

    void set(int bank, int slot, int col, const Cell& value);
    void clearSlot(int bank, int slot);
    void clear();

    friend bool operator==(const IDTable&, const IDTable&) = default;

private:
    using Slot = std::array<Cell, kColumns>;
    std::array<std::array<Slot, kSlots>, kBanks> m_cells;
};

} // namespace vexlor::memory
