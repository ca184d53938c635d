#include "memory/BankSearch.h"

#include "memory/BankGrid.h"
#include "memory/MemoryTables.h"

namespace vexlor::memory::banksearch {

namespace {

using MT = MemoryTables;

// Frequency or ID, and name: the same columns in both grids.
constexpr int kSearched[] = {1, 3};

} // namespace

QList<QStringList> channelRows(const MemoryTables& tables, int bank)
{
    QList<QStringList> rows;
    const int first = MT::firstChannel(bank);
    for (int n = first; n < first + MT::kChannelsPerBank; ++n) {
        QStringList row {QString::number(n)};
        for (int col = MT::kChFrequency; col <= MT::kChMode; ++col)
            row << tables.Channels.text(n, col);
        rows << row;
    }
    return rows;
}

QList<QStringList> idRows(const MemoryTables& tables, int bank)
{
    QList<QStringList> rows;
    for (int s = 1; s <= MT::kSlots; ++s) {
        if (tables.IDs.at(bank, s, MT::kIdId).isBlank())
            continue;
        QStringList row {MT::slotLabel(s)};
        for (int col = MT::kIdId; col <= MT::kIdLO; ++col)
            row << tables.IDs.text(bank, s, col);
        rows << row;
    }
    return rows;
}

std::optional<Place> findNext(const MemoryTables& tables, const QString& text, const Place& from, const BankGrid& shown)
{
    if (text.isEmpty())
        return std::nullopt;
    const auto holds = [&text](const QString& cell) { return cell.contains(text, Qt::CaseInsensitive); };
    std::optional<Place> first;
    for (int bank = 1; bank <= MT::kBanks; ++bank) {
        const auto consider = [&](const Place& p) {
            if (!first)
                first = p;
            return from < p;
        };
        if (holds(tables.bankName(bank)) && consider({bank, 0, 0, 0}))
            return Place {bank, 0, 0, 0};
        for (int tab = 1; tab <= 2; ++tab) {
            const QList<QStringList> rows = bank == from.bank && tab == from.tab ? shown.dataRows()
                : tab == 1 ? channelRows(tables, bank) : idRows(tables, bank);
            for (qsizetype r = 0; r < rows.size(); ++r) {
                for (int col : kSearched) {
                    const Place p {bank, tab, int(r) + 1, col};
                    if (holds(rows[r].value(col)) && consider(p))
                        return p;
                }
            }
        }
    }
    return first;
}

} // namespace vexlor::memory::banksearch
