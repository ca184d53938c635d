#include "memory/ChannelTable.h"

namespace vexlor::memory {

namespace {
const Cell kNone;
}

const Cell& ChannelTable::at(int row, int col) const
{
    return contains(row, col) ? m_cells[size_t(row)][size_t(col)] : kNone;
}

void ChannelTable::set(int row, int col, const Cell& value)
{
    if (contains(row, col))
        m_cells[size_t(row)][size_t(col)] = value;
}

void ChannelTable::clearRow(int row)
{
    if (contains(row, 0))
        m_cells[size_t(row)].fill(Cell());
}

void ChannelTable::clear()
{
    // Most cells are empty, and testing one costs far less than assigning it.
    for (auto& row : m_cells)
        for (Cell& cell : row)
            if (!cell.isEmpty())
                cell.clear();
}

} // namespace vexlor::memory
