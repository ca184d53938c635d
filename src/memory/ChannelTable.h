#pragma once

#include "memory/Cell.h"

#include <array>

namespace vexlor::memory {

// `Channels`: rows 0..300 (row 0 unused) of ten columns. Out-of-range reads
// give an empty cell and out-of-range writes are ignored, since decoders index
// it with whatever channel number the receiver sends.
class ChannelTable {
public:
    static constexpr int kRows = 301;
    static constexpr int kColumns = 10;

    static bool contains(int row, int col) { return row >= 0 && row < kRows && col >= 0 && col < kColumns; }

    const Cell& at(int row, int col) const;
    const Cell& operator()(int row, int col) const { return at(row, col); }
    QString text(int row, int col) const { return at(row, col).display(); }

    void set(int row, int col, const Cell& value);
    void clearRow(int row);
    void clear();

    friend bool operator==(const ChannelTable&, const ChannelTable&) = default;

private:
    std::array<std::array<Cell, kColumns>, kRows> m_cells;
};

} // namespace vexlor::memory
