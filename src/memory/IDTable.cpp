#include "memory/IDTable.h"

namespace vexlor::memory {

namespace {
const Cell kNoIdCell;
}

const Cell& IDTable::at(int bank, int slot, int col) const
{
    return contains(bank, slot, col) ? m_cells[size_t(bank)][size_t(slot)][size_t(col)] : kNoIdCell;
}

void IDTable::set(int bank, int slot, int col, const Cell& value)
{
    if (contains(bank, slot, col))
        m_cells[size_t(bank)][size_t(slot)][size_t(col)] = value;
}

void IDTable::clearSlot(int bank, int slot)
{
    if (contains(bank, slot, 0))
        m_cells[size_t(bank)][size_t(slot)].fill(Cell());
}

void IDTable::clear()
{
    // Most cells are empty, and testing one costs far less than assigning it.
    for (auto& bank : m_cells)
        for (auto& slot : bank)
            for (Cell& cell : slot)
                if (!cell.isEmpty())
                    cell.clear();
}

} // namespace vexlor::memory
