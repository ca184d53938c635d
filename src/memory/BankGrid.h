#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace vexlor::memory {

// The working copy behind one grid of the bank editor: text cells, row 0 a
// header that carries only the sort markers, a selection, and the edit
// operations of the editor's buttons. No widget: the window renders it.
class BankGrid {
public:
    enum class Kind { Channels, IDs };

    // Anchor (row, col) and extent (rowEnd, colEnd), in either order.
    struct Selection {
        int row = 0;
        int col = 0;
        int rowEnd = 0;
        int colEnd = 0;
        friend bool operator==(const Selection&, const Selection&) = default;
    };

    struct SortKey {
        int column = 0;
        bool descending = false;
        friend bool operator==(const SortKey&, const SortKey&) = default;
    };

    // The whole grid, as undo keeps it.
    struct Snapshot {
        QList<QStringList> rows;
        Selection sel;
        QList<SortKey> keys;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };

    // Far beyond the 30 channels or 100 IDs of a bank; a paste of a huge text stops here.
    static constexpr int kMaxDataRows = 3000;

    explicit BankGrid(Kind kind);

    Snapshot snapshot() const { return {m_rows, m_sel, m_keys}; }
    void restore(const Snapshot& s);

    Kind kind() const { return m_kind; }
    int columnCount() const { return m_kind == Kind::Channels ? 7 : 5; }
    int rowCount() const { return int(m_rows.size()); } // the header included
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);
    QStringList row(int r) const { return m_rows.value(r); }
    // Data rows only (row 1 on); the header keeps its markers.
    QList<QStringList> dataRows() const { return m_rows.mid(1); }
    void setDataRows(const QList<QStringList>& rows);

    // A row's identity: its channel number (Channels) or the slot of its label (IDs); 0 for none.
    int identity(const QStringList& row) const;
    // The data row other than `except` whose identity is `key`; 0 for none.
    int rowHolding(int key, int except) const;
    // The channel a channel row's number names, as Save reads it; 0 for none.
    static int channelOf(const QString& cell);
    // The slot of an ID label: 10·(leading number) − 10 + |last two characters|; 0 when invalid.
    static int slotOfLabel(const QString& label);

    void select(int row, int col, int rowEnd, int colEnd);
    const Selection& selection() const { return m_sel; }
    // 0 nothing or the whole grid, 1 one cell, 2 one row across several
    // columns, 3 one whole column, 4 any other block.
    int selectionKind() const;

    // Channel rows: mode, flags and frequency in their one form; ID rows: the lock-out flag.
    void normalise(int row);

    void selectAll();
    // Tab after every cell, rows joined by CR LF and none after the last;
    // empty when the selection starts in the header.
    QString copy() const;
    // The copied text; the cut cells are blanked or their rows removed.
    QString cut();
    void paste(const QString& text);
    void deleteRows();
    void addRow();
    void insertRow();

    // A press on header cell `column`: the left button makes the only key,
    // another adds a key or sets an existing key's direction.
    void headerPressed(int column, bool leftButton, bool shiftOnly);
    const QList<SortKey>& sortKeys() const { return m_keys; }
    void sort();

private:
    struct Block {
        int top, left, bottom, right;
    };
    Block block() const;
    int lastRow() const { return rowCount() - 1; }
    bool full() const { return lastRow() >= kMaxDataRows; }
    int lastColumn() const { return columnCount() - 1; }
    QStringList emptyRow() const { return QStringList(columnCount(), QString()); }
    // The last cell written, as row and column; the top left one when nothing was.
    // No frequency (Channels) or no ID (IDs): a row that sorts last.
    bool isBlankRow(const QStringList& row) const;
    // A pasted cell. A row's identity is never pasted over: column 0 takes a
    // pasted value only in a row without one, and never one another row holds.
    void pasteCell(int row, int col, const QString& text);
    std::pair<int, int> pasteStream(const QStringList& stream, int top, int left, int bottom, int right);
    bool lessThan(const QStringList& a, const QStringList& b) const;
    int compare(const QStringList& a, const QStringList& b, int column) const;
    void markHeader();

    Kind m_kind;
    QList<QStringList> m_rows;
    Selection m_sel;
    QList<SortKey> m_keys;
};

} // namespace vexlor::memory
