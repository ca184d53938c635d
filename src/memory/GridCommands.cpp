#include "memory/GridCommands.h"

namespace vexlor::memory {

GridCommand::GridCommand(GridHost& host, int bank, int tab, const QString& text)
    : QUndoCommand(text), m_host(host), m_bank(bank), m_tab(tab)
{
}

void GridCommand::undo() { m_host.showGrid(m_bank, m_tab).restore(m_before); }

void GridCommand::redo()
{
    BankGrid& grid = m_host.showGrid(m_bank, m_tab);
    if (m_done) {
        grid.restore(m_after);
        return;
    }
    m_done = true;
    m_before = grid.snapshot();
    apply(grid);
    m_after = grid.snapshot();
    // The rows alone decide: a change that only moved the selection is nothing to undo.
    setObsolete(m_after.rows == m_before.rows);
}

EditCellCommand::EditCellCommand(GridHost& host, int bank, int tab, int row, int col, const QString& text)
    : GridCommand(host, bank, tab, QStringLiteral("Edit Cell")), m_row(row), m_col(col), m_text(text)
{
}

void EditCellCommand::apply(BankGrid& grid)
{
    grid.setCell(m_row, m_col, m_text);
    grid.normalise(m_row);
}

CutCommand::CutCommand(GridHost& host, int bank, int tab) : GridCommand(host, bank, tab, QStringLiteral("Cut")) {}

void CutCommand::apply(BankGrid& grid) { grid.cut(); }

PasteCommand::PasteCommand(GridHost& host, int bank, int tab, const QString& text)
    : GridCommand(host, bank, tab, QStringLiteral("Paste")), m_text(text)
{
}

void PasteCommand::apply(BankGrid& grid) { grid.paste(m_text); }

DeleteRowsCommand::DeleteRowsCommand(GridHost& host, int bank, int tab)
    : GridCommand(host, bank, tab, QStringLiteral("Delete Row"))
{
}

void DeleteRowsCommand::apply(BankGrid& grid) { grid.deleteRows(); }

AddRowCommand::AddRowCommand(GridHost& host, int bank, int tab) : GridCommand(host, bank, tab, QStringLiteral("Add Row")) {}

void AddRowCommand::apply(BankGrid& grid) { grid.addRow(); }

InsertRowCommand::InsertRowCommand(GridHost& host, int bank, int tab)
    : GridCommand(host, bank, tab, QStringLiteral("Insert Row"))
{
}

void InsertRowCommand::apply(BankGrid& grid) { grid.insertRow(); }

SortCommand::SortCommand(GridHost& host, int bank, int tab, int column, bool leftButton, bool shiftOnly)
    : GridCommand(host, bank, tab, QStringLiteral("Sort")), m_column(column), m_left(leftButton), m_shift(shiftOnly)
{
}

void SortCommand::apply(BankGrid& grid) { grid.headerPressed(m_column, m_left, m_shift); }

} // namespace vexlor::memory
