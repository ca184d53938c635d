#include "recording/StatsTable.h"

#include <QLocale>
#include <algorithm>

namespace vexlor::recording {

namespace {

bool isTextColumn(int column) { return column == StatsTable::Type || column == StatsTable::FreqId; }

// The leading number of a cell, thousands separators ignored; 0 when there is none.
double numericValue(const QString& text)
{
    QString digits;
    digits.reserve(text.size());
    for (const QChar c : text.trimmed()) {
        if (c == QLatin1Char(','))
            continue;
        const bool sign = (c == QLatin1Char('-') || c == QLatin1Char('+')) && digits.isEmpty();
        if (!sign && !c.isDigit() && c != QLatin1Char('.'))
            break;
        digits.append(c);
    }
    return digits.toDouble();
}

QByteArray csvField(const QString& text)
{
    QByteArray f = text.toUtf8();
    if (f.contains(',') || f.contains('"') || f.contains('\r') || f.contains('\n'))
        f = '"' + f.replace("\"", "\"\"") + '"';
    return f;
}

} // namespace

int StatsTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int StatsTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant StatsTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_rows.at(index.row()).text[index.column()];
    if (role == Qt::TextAlignmentRole && !isTextColumn(index.column()) && index.column() < First)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant StatsTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return header(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString StatsTable::title(int column)
{
    static const char* const kTitles[ColumnCount] = {"", "Type", "Loc", "Freq/ID", "Hits", "Time", "First", "Last"};
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(kTitles[column]) : QString();
}

QString StatsTable::header(int column) const
{
    QString h = title(column);
    for (int i = 0; i < kSortKeys && inUse(i); ++i) {
        if (m_sortColumns[i] == column) {
            h += QStringLiteral(" (%1%2)").arg(i + 1).arg(m_sortDirections[i] > 0 ? QLatin1Char('D')
                                                                                 : QLatin1Char('U'));
            break;
        }
    }
    return h;
}

QString StatsTable::formatTime(double seconds)
{
    static const QLocale kGrouped(QLocale::English, QLocale::UnitedStates);
    return kGrouped.toString(seconds, 'f', 1);
}

QString StatsTable::formatStamp(const QDateTime& t)
{
    return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
}

bool StatsTable::inUse(int entry) const
{
    return m_sortColumns[entry] != 0 || (entry == 0 && m_sortDirections[0] != 0);
}

void StatsTable::refresh(const QList<SampleEvent>& records)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(records.size());
    int number = 0;
    for (const SampleEvent& e : records) {
        Row r;
        r.text = {QString::number(++number), e.ScanMode, e.Index, e.Identity, QString::number(e.Hits),
                  formatTime(e.ElapsedTime), formatStamp(e.FirstHit), formatStamp(e.LastHit)};
        // Compared as the cells read, so equal-looking times are equal.
        for (int c : {Number, Loc, Hits, Time})
            r.number[c] = numericValue(r.text[c]);
        r.number[First] = e.FirstHit.isValid() ? double(e.FirstHit.toMSecsSinceEpoch()) : 0;
        r.number[Last] = e.LastHit.isValid() ? double(e.LastHit.toMSecsSinceEpoch()) : 0;
        m_rows.append(std::move(r));
    }
    sortRows();
    endResetModel();
}

void StatsTable::sortRows()
{
    int keys = 0;
    while (keys < kSortKeys && inUse(keys))
        ++keys;
    if (keys == 0)
        return;
    std::stable_sort(m_rows.begin(), m_rows.end(), [this, keys](const Row& a, const Row& b) {
        for (int i = 0; i < keys; ++i) {
            const int c = m_sortColumns[i];
            int order;
            if (isTextColumn(c))
                order = a.text[c].compare(b.text[c], Qt::CaseSensitive);
            else
                order = a.number[c] < b.number[c] ? -1 : (a.number[c] > b.number[c] ? 1 : 0);
            if (order != 0)
                return m_sortDirections[i] > 0 ? order > 0 : order < 0;
        }
        return false;
    });
}

void StatsTable::clearSort()
{
    m_sortColumns.fill(0);
    m_sortDirections.fill(0);
}

void StatsTable::sortPrimary(int column, bool ascending)
{
    if (column < 0 || column >= ColumnCount)
        return;
    clearSort();
    m_sortColumns[0] = column;
    m_sortDirections[0] = ascending ? -1 : 1;
}

void StatsTable::sortSecondary(int column, bool ascending)
{
    if (column < 0 || column >= ColumnCount)
        return;
    for (int i = 0; i < kSortKeys; ++i) {
        if (inUse(i) && m_sortColumns[i] != column)
            continue;
        m_sortColumns[i] = column;
        m_sortDirections[i] = ascending ? -1 : 1;
        return;
    }
}

QByteArray StatsTable::toCsv() const
{
    QByteArray out;
    for (int c = 0; c < ColumnCount; ++c)
        out += (c ? "," : "") + csvField(title(c));
    out += "\r\n";
    for (const Row& r : m_rows) {
        for (int c = 0; c < ColumnCount; ++c)
            out += (c ? "," : "") + csvField(r.text[c]);
        out += "\r\n";
    }
    return out;
}

} // namespace vexlor::recording
