#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <compare>
#include <optional>

namespace vexlor::memory {

class BankGrid;
class MemoryTables;

// What the bank editor's grids hold when loaded, and the search across all
// banks that moves the editor from one match to the next.
namespace banksearch {

// Channel rows: the number, then the table's columns 1-6.
QList<QStringList> channelRows(const MemoryTables& tables, int bank);
// ID rows of the slots holding an ID: the slot label, then the table's columns 1-4.
QList<QStringList> idRows(const MemoryTables& tables, int bank);

// Tab 0 is the bank's name (row and column 0); tabs 1 and 2 are grid cells.
struct Place {
    int bank = 1;
    int tab = 0;
    int row = 0;
    int col = 0;
    auto operator<=>(const Place&) const = default;
};

// The first place after `from` whose bank name, frequency, ID or name holds
// `text` (any case), going round to bank 1 after bank 10. The grid that is
// showing is searched as it stands, edits and order included.
std::optional<Place> findNext(const MemoryTables& tables, const QString& text, const Place& from, const BankGrid& shown);

} // namespace banksearch

} // namespace vexlor::memory
