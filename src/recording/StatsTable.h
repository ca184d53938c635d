#pragma once

#include "recording/SampleEvent.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <array>

namespace vexlor::recording {

// The statistics grid: one row per record, sorted on up to five columns.
// Column 0 numbers the rows in the collection's order; First and Last are the
// wall-clock times of the first and latest hit.
class StatsTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, Type, Loc, FreqId, Hits, Time, First, Last, Name, Recorded, ColumnCount };
    static constexpr int kSortKeys = 5;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    QString cell(int row, int column) const { return shown(row).text[column]; }
    // The record a shown row stands for, and the row showing a record (-1: none).
    QString keyAt(int row) const { return shown(row).source.key(); }
    int rowOfKey(const QString& key) const;
    // The title without its sort mark.
    static QString title(int column);
    // The title with " (rank D|U)" when the column is a sort key.
    QString header(int column) const;

    // Where the Name column's texts come from; asked again at every refresh, as names change.
    void setNames(NameOf nameOf) { m_nameOf = std::move(nameOf); }
    // Rebuilds the rows from the records, in their order, then sorts.
    void refresh(const QList<SampleEvent>& records);
    // A left press: this column becomes the only key.
    void sortPrimary(int column, bool ascending);
    // Another button: sets the direction of this column's key, or adds it as
    // the next key. With all five keys taken by other columns nothing changes.
    void sortSecondary(int column, bool ascending);
    void clearSort();

    // 0 marks an unused entry, except that the first may hold column 0.
    const std::array<int, kSortKeys>& SortColumns() const { return m_sortColumns; }
    // +1 descending, -1 ascending, 0 unused.
    const std::array<int, kSortKeys>& SortDirections() const { return m_sortDirections; }

    // The rows as shown, as CSV: plain titles first, CR LF line ends.
    QByteArray toCsv() const;

    static QString formatTime(double seconds);
    static QString formatStamp(const QDateTime& t);

private:
    struct Row {
        SampleEvent source; // what the cells were made from
        std::array<QString, ColumnCount> text;
        std::array<double, ColumnCount> number {};
    };

    static Row makeRow(const SampleEvent& e, int number, const QString& name);
    const Row& shown(int row) const { return m_rows.at(m_order.at(row)); }
    bool inUse(int entry) const;
    void sortRows();

    // In the collection's order, kept between refreshes: a row is made again
    // only when its record changed, so a refresh of a long run stays quick.
    QList<Row> m_rows;
    // Display position -> index in m_rows.
    QList<int> m_order;
    std::array<int, kSortKeys> m_sortColumns {};
    std::array<int, kSortKeys> m_sortDirections {};
    NameOf m_nameOf;
};

} // namespace vexlor::recording
