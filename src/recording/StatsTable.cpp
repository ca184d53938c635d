#include "recording/StatsTable.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vexlor::recording {

namespace {

bool isTextColumn(int column)
{
    return column == StatsTable::Type || column == StatsTable::FreqId || column == StatsTable::Name;
}

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

// Wall-clock order without a time-zone lookup per row (which costs a file access each);
// only the repeated hour at the end of daylight saving can come out of order.
double localMs(const QDateTime& t)
{
    return t.isValid() ? double(t.date().toJulianDay()) * 86400000.0 + t.time().msecsSinceStartOfDay() : 0;
}

QByteArray csvField(const QString& text)
{
    QByteArray f = text.toUtf8();
    if (f.contains(',') || f.contains('"') || f.contains('\r') || f.contains('\n'))
        f = '"' + f.replace("\"", "\"\"") + '"';
    return f;
}

} // namespace

int StatsTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_order.size()); }

int StatsTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant StatsTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_order.size())
        return {};
    if (role == Qt::DisplayRole)
        return shown(index.row()).text[index.column()];
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
    static const char* const kTitles[ColumnCount] = {"", "Type", "Loc", "Freq/ID", "Hits", "Time", "First", "Last", "Name", "Recorded"};
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

// By hand: QLocale and QDateTime::toString are too slow for a refresh of thousands of rows.
QString StatsTable::formatTime(double seconds)
{
    const qint64 tenths = qRound64(std::abs(seconds) * 10);
    QString digits = QString::number(tenths / 10);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return (seconds < 0 && tenths ? QStringLiteral("-") : QString()) + digits + QLatin1Char('.')
        + QLatin1Char(char('0' + tenths % 10));
}

QString StatsTable::formatStamp(const QDateTime& t)
{
    if (!t.isValid())
        return {};
    const QDate d = t.date();
    const QTime h = t.time();
    if (d.year() < 0 || d.year() > 9999)
        return t.toString(Qt::ISODate);
    char text[] = "0000-00-00 00:00:00";
    const auto put = [&text](int at, int value, int width) {
        for (int i = at + width - 1; i >= at; --i, value /= 10)
            text[i] = char('0' + value % 10);
    };
    put(0, d.year(), 4);
    put(5, d.month(), 2);
    put(8, d.day(), 2);
    put(11, h.hour(), 2);
    put(14, h.minute(), 2);
    put(17, h.second(), 2);
    return QString::fromLatin1(text, sizeof text - 1);
}

bool StatsTable::inUse(int entry) const
{
    return m_sortColumns[entry] != 0 || (entry == 0 && m_sortDirections[0] != 0);
}

StatsTable::Row StatsTable::makeRow(const SampleEvent& e, int number, const QString& name)
{
    Row r;
    r.source = e;
    r.text = {QString::number(number), e.ScanMode, e.Index, e.Identity, QString::number(e.Hits),
              formatTime(e.ElapsedTime), formatStamp(e.FirstHit), formatStamp(e.LastHit), name, formatTime(e.RecordedTime)};
    r.number[Number] = number;
    r.number[Loc] = numericValue(e.Index);
    r.number[Hits] = e.Hits;
    // Compared as the cell reads, so equal-looking times are equal.
    r.number[Time] = double(qRound64(e.ElapsedTime * 10)) / 10;
    r.number[Recorded] = double(qRound64(e.RecordedTime * 10)) / 10;
    r.number[First] = localMs(e.FirstHit);
    r.number[Last] = localMs(e.LastHit);
    return r;
}

int StatsTable::rowOfKey(const QString& key) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (keyAt(row) == key)
            return row;
    }
    return -1;
}

void StatsTable::refresh(const QList<SampleEvent>& records)
{
    beginResetModel();
    m_rows.resize(records.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        const SampleEvent& e = records.at(i);
        const SampleEvent& was = m_rows.at(i).source;
        const QString name = m_nameOf ? m_nameOf(e) : QString();
        const bool same = m_rows.at(i).text[Name] == name && was.Hits == e.Hits && was.ElapsedTime == e.ElapsedTime && was.RecordedTime == e.RecordedTime && was.LastHit == e.LastHit
            && was.FirstHit == e.FirstHit && was.Identity == e.Identity && was.Index == e.Index
            && was.ScanMode == e.ScanMode && !m_rows.at(i).text[Number].isEmpty();
        if (!same)
            m_rows[i] = makeRow(e, int(i) + 1, name);
    }
    m_order.resize(m_rows.size());
    std::iota(m_order.begin(), m_order.end(), 0);
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
    std::stable_sort(m_order.begin(), m_order.end(), [this, keys](int ia, int ib) {
        const Row& a = m_rows.at(ia);
        const Row& b = m_rows.at(ib);
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
    for (const int i : m_order) {
        for (int c = 0; c < ColumnCount; ++c)
            out += (c ? "," : "") + csvField(m_rows.at(i).text[c]);
        out += "\r\n";
    }
    return out;
}

} // namespace vexlor::recording

#include "moc_StatsTable.cpp"
