#include "memory/BankGrid.h"

#include "link/Wire.h"
#include "memory/Cell.h"
#include "memory/MemoryTables.h"

#include <algorithm>
#include <cmath>

namespace vexlor::memory {

namespace {

using MT = MemoryTables;
namespace wire = link::wire;

const QString kCrLf = QStringLiteral("\r\n");
const QChar kTab = QLatin1Char('\t');

bool blank(const QString& text) { return MT::trimBlanks(text).isEmpty(); }

// Cells of one pasted line up to its last tab; a line without a tab is one cell.
QStringList streamCells(const QString& line)
{
    const qsizetype last = line.lastIndexOf(kTab);
    return last < 0 ? QStringList {line} : line.left(last).split(kTab);
}

// 10·(leading number) − 10 + |number in the last two characters|: 3-5 is 25, 10-10 is 100.
double slotNumber(const QString& label)
{
    return 10 * wire::leadingNumber(label) - 10 + std::abs(wire::leadingNumber(label.right(2)));
}

} // namespace

BankGrid::BankGrid(Kind kind) : m_kind(kind) { m_rows.append(emptyRow()); }

void BankGrid::restore(const Snapshot& s)
{
    if (s.rows.isEmpty())
        return;
    m_rows = s.rows;
    m_keys = s.keys;
    select(s.sel.row, s.sel.col, s.sel.rowEnd, s.sel.colEnd);
}

QString BankGrid::cell(int row, int col) const
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount())
        return QString();
    return m_rows[row][col];
}

void BankGrid::setCell(int row, int col, const QString& text)
{
    // A line break in a cell would break the line that exports it.
    if (row >= 0 && row < rowCount() && col >= 0 && col < columnCount())
        m_rows[row][col] = QString(text).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

void BankGrid::setDataRows(const QList<QStringList>& rows)
{
    m_rows.resize(1);
    for (QStringList r : rows) {
        r.resize(columnCount());
        m_rows.append(r);
    }
    // A selection below the new last row would reach past the grid.
    select(m_sel.row, m_sel.col, m_sel.rowEnd, m_sel.colEnd);
}

int BankGrid::channelOf(const QString& cell)
{
    const double value = wire::leadingNumber(cell);
    return value >= 1 && value <= MT::kChannels ? wire::leadingInt(Cell::decimal(value).left(3)) : 0;
}

namespace {

// A whole text that is one number, as the label's parts must be.
bool numeric(QStringView text)
{
    bool ok = false;
    MT::trimBlanks(text).toDouble(&ok);
    return ok;
}

} // namespace

int BankGrid::slotOfLabel(const QString& label)
{
    const QString l = MT::trimBlanks(label);
    const qsizetype dash = l.indexOf(QLatin1Char('-'));
    if (dash < 0 || !numeric(QStringView(l).left(dash)) || !numeric(QStringView(l).mid(dash + 1)))
        return 0;
    // A list or position with a fraction names no slot: "1.5-5" is not slot 10.
    for (const QString& part : {l.left(dash), l.mid(dash + 1)}) {
        const double value = wire::leadingNumber(part);
        if (value != std::floor(value))
            return 0;
    }
    const double slot = slotNumber(l);
    return slot >= 1 && slot <= MT::kSlots && slot == std::floor(slot) ? int(slot) : 0;
}

int BankGrid::identity(const QStringList& row) const
{
    return m_kind == Kind::Channels ? channelOf(row.value(0)) : slotOfLabel(row.value(0));
}

int BankGrid::rowHolding(int key, int except) const
{
    for (int r = 1; key != 0 && r <= lastRow(); ++r) {
        if (r != except && identity(m_rows[r]) == key)
            return r;
    }
    return 0;
}

void BankGrid::pasteCell(int row, int col, const QString& text)
{
    if (col == 0) {
        if (identity(m_rows[row]) != 0)
            return;
        QStringList probe = m_rows[row];
        probe[0] = text;
        if (rowHolding(identity(probe), row) != 0)
            return;
    }
    m_rows[row][col] = text;
}

void BankGrid::select(int row, int col, int rowEnd, int colEnd)
{
    auto rowIn = [this](int r) { return std::clamp(r, 0, lastRow()); };
    auto colIn = [this](int c) { return std::clamp(c, 0, lastColumn()); };
    m_sel = {rowIn(row), colIn(col), rowIn(rowEnd), colIn(colEnd)};
}

BankGrid::Block BankGrid::block() const
{
    return {std::min(m_sel.row, m_sel.rowEnd), std::min(m_sel.col, m_sel.colEnd), std::max(m_sel.row, m_sel.rowEnd),
            std::max(m_sel.col, m_sel.colEnd)};
}

int BankGrid::selectionKind() const
{
    const Block b = block();
    if (b.top == 0 || (b.top == 1 && b.bottom == lastRow() && b.left == 0 && b.right == lastColumn()))
        return 0;
    if (b.top == b.bottom && b.left == b.right)
        return 1;
    if (b.top == b.bottom)
        return 2;
    if (b.top == 1 && b.bottom == lastRow() && b.left == b.right)
        return 3;
    return 4;
}

void BankGrid::normalise(int row)
{
    if (row < 1 || row >= rowCount())
        return;
    QStringList& r = m_rows[row];
    auto flag = [&](int col) { r[col] = blank(r[col]) ? QString() : QStringLiteral("="); };
    if (m_kind == Kind::IDs) {
        flag(4);
        return;
    }
    r[6] = r[6].left(3).toUpper() == QLatin1String("TRU") ? QStringLiteral("Trunk") : QStringLiteral("Normal");
    flag(5);
    flag(4);
    const double value = wire::leadingNumber(r[1]);
    r[1] = wire::formatMHz(r[1].contains(QLatin1Char('.')) ? value : value * 0.0001);
}

void BankGrid::selectAll() { select(rowCount() > 1 ? 1 : 0, 0, lastRow(), lastColumn()); }

QString BankGrid::copy() const
{
    const Block b = block();
    if (b.top < 1)
        return QString();
    QStringList lines;
    for (int r = b.top; r <= b.bottom; ++r) {
        QString line;
        for (int c = b.left; c <= b.right; ++c)
            line += m_rows[r][c] + kTab;
        lines << line;
    }
    return lines.join(kCrLf);
}

QString BankGrid::cut()
{
    const Block b = block();
    // Nothing selected: nothing is cut, where the whole grid would otherwise go.
    if (b.top < 1)
        return QString();
    const QString text = copy();
    const int kind = selectionKind();
    for (int r = b.top; r <= b.bottom; ++r) {
        for (int c = b.left; c <= b.right; ++c) {
            if (r == 1 || kind == 1 || kind == 3 || kind == 4)
                m_rows[r][c] = QStringLiteral(" ");
        }
    }
    if (kind == 0) {
        m_rows.resize(2);
    } else if (kind == 2 && rowCount() > 2) {
        m_rows.remove(b.top, b.bottom - b.top + 1);
    }
    select(std::min(b.top, lastRow()), b.left, std::min(b.top, lastRow()), b.left);
    return text;
}

std::pair<int, int> BankGrid::pasteStream(const QStringList& stream, int top, int left, int bottom, int right)
{
    std::pair<int, int> last {top, left};
    qsizetype next = 0;
    for (int r = top; r <= bottom && next < stream.size(); ++r) {
        for (int c = left; c <= right && next < stream.size(); ++c) {
            pasteCell(r, c, stream[next++]);
            last = {r, c};
        }
        normalise(r);
    }
    if (bottom != lastRow() || right != lastColumn())
        return last;
    while (next < stream.size() && !full()) {
        m_rows.append(emptyRow());
        for (int c = 0; c <= lastColumn() && next < stream.size(); ++c) {
            pasteCell(lastRow(), c, stream[next++]);
            last = {lastRow(), c};
        }
        normalise(lastRow());
    }
    return last;
}

void BankGrid::paste(const QString& text)
{
    // Lines end in CR LF, LF or CR, whichever the clipboard's program used.
    const QString unified = QString(text).replace(kCrLf, QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = unified.split(QLatin1Char('\n'));
    QStringList stream;
    for (const QString& line : lines)
        stream << streamCells(line);
    const Block b = block();
    switch (selectionKind()) {
    case 0:
        // Every line that ends in a line break fills a row, the rows in their
        // order and new ones after them; the text after the last one does not.
        for (qsizetype i = 0; i + 1 < lines.size() && (i + 1 <= lastRow() || !full()); ++i) {
            const int r = int(i) + 1;
            if (r > lastRow())
                m_rows.append(emptyRow());
            QStringList cells = lines[i].split(kTab);
            cells.resize(columnCount());
            for (int c = 0; c <= lastColumn(); ++c)
                pasteCell(r, c, cells[c]);
            normalise(r);
        }
        select(0, 0, 0, 0);
        break;
    case 1:
        if (lines.size() == 1 && !text.contains(kTab)) {
            pasteCell(b.top, b.left, text);
            normalise(b.top);
        } else {
            // The selection grows over what was pasted, so Copy or Cut next takes all of it.
            const auto [row, col] = pasteStream(stream, b.top, b.left, lastRow(), lastColumn());
            select(b.top, b.left, row, row > b.top ? lastColumn() : col);
        }
        break;
    case 2: {
        const QStringList cells = lines.first().split(kTab);
        for (int c = 0; c < columnCount() && c < cells.size(); ++c)
            pasteCell(b.top, c, cells[c]);
        normalise(b.top);
        break;
    }
    case 3: {
        int r = 1;
        for (const QString& value : stream) {
            if (r > lastRow())
                break;
            if (value.isEmpty())
                continue;
            pasteCell(r, b.left, value);
            normalise(r++);
        }
        break;
    }
    default: pasteStream(stream, b.top, b.left, b.bottom, b.right); break;
    }
}

void BankGrid::deleteRows()
{
    const Block b = block();
    if (b.top < 1)
        return;
    for (int n = b.top; n <= b.bottom && rowCount() > 2 && b.top <= lastRow(); ++n)
        m_rows.removeAt(b.top);
    const int row = std::min(b.top, lastRow());
    select(row, b.left, row, b.left);
}

void BankGrid::addRow()
{
    if (!full())
        m_rows.append(emptyRow());
}

void BankGrid::insertRow()
{
    if (m_sel.row >= 1 && m_sel.row <= lastRow() && !full())
        m_rows.insert(m_sel.row, emptyRow());
}

void BankGrid::headerPressed(int column, bool leftButton, bool shiftOnly)
{
    if (column < 0 || column > lastColumn())
        return;
    const SortKey key {column, shiftOnly};
    if (leftButton) {
        m_keys = {key};
    } else {
        const auto at = std::find_if(m_keys.begin(), m_keys.end(), [column](const SortKey& k) { return k.column == column; });
        if (at != m_keys.end())
            at->descending = shiftOnly;
        else
            m_keys.append(key);
    }
    markHeader();
    sort();
}

void BankGrid::markHeader()
{
    QStringList& header = m_rows[0];
    header = emptyRow();
    for (qsizetype i = 0; i < m_keys.size(); ++i)
        header[m_keys[i].column] = QStringLiteral(" (%1%2)").arg(i + 1).arg(QLatin1Char(m_keys[i].descending ? 'D' : 'U'));
}

int BankGrid::compare(const QStringList& a, const QStringList& b, int column) const
{
    if (m_kind == Kind::Channels && column <= 1) {
        const double x = wire::leadingNumber(a[column]), y = wire::leadingNumber(b[column]);
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    if (m_kind == Kind::IDs && column == 0) {
        const double x = slotNumber(a[0]), y = slotNumber(b[0]);
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    return QString::compare(a[column], b[column], Qt::CaseSensitive);
}

bool BankGrid::isBlankRow(const QStringList& row) const
{
    if (m_kind == Kind::Channels)
        return wire::leadingNumber(row.value(1)) == 0;
    return row.value(1).trimmed().isEmpty();
}

bool BankGrid::lessThan(const QStringList& a, const QStringList& b) const
{
    // Rows never filled (000.0000, no ID) go last whichever way the keys run.
    if (const bool blankA = isBlankRow(a); blankA != isBlankRow(b))
        return !blankA;
    for (const SortKey& k : m_keys) {
        const int c = compare(a, b, k.column);
        if (c != 0)
            return k.descending ? c > 0 : c < 0;
    }
    return false;
}

void BankGrid::sort()
{
    if (m_keys.isEmpty() || rowCount() < 3)
        return;
    std::stable_sort(m_rows.begin() + 1, m_rows.end(),
                     [this](const QStringList& a, const QStringList& b) { return lessThan(a, b); });
}

} // namespace vexlor::memory
