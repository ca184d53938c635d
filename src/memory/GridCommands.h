#pragma once

#include "memory/BankGrid.h"

#include <QUndoCommand>

namespace vexlor::memory {

// Where the commands find their grid. Undoing a change made in another bank
// or tab brings that bank and tab back first.
class GridHost {
public:
    virtual ~GridHost() = default;
    virtual BankGrid& showGrid(int bank, int tab) = 0;
};

// One change of a grid. The first redo performs it. Undo and every later redo
// put back the whole grid as it was, so they stay right after the grid was
// reloaded in between; a change that changed nothing is dropped.
class GridCommand : public QUndoCommand {
public:
    GridCommand(GridHost& host, int bank, int tab, const QString& text);
    void undo() override;
    void redo() override;

protected:
    virtual void apply(BankGrid& grid) = 0;

private:
    GridHost& m_host;
    int m_bank;
    int m_tab;
    bool m_done = false;
    BankGrid::Snapshot m_before;
    BankGrid::Snapshot m_after;
};

class EditCellCommand : public GridCommand {
public:
    EditCellCommand(GridHost& host, int bank, int tab, int row, int col, const QString& text);

protected:
    void apply(BankGrid& grid) override;

private:
    int m_row;
    int m_col;
    QString m_text;
};

class CutCommand : public GridCommand {
public:
    CutCommand(GridHost& host, int bank, int tab);

protected:
    void apply(BankGrid& grid) override;
};

class PasteCommand : public GridCommand {
public:
    PasteCommand(GridHost& host, int bank, int tab, const QString& text);

protected:
    void apply(BankGrid& grid) override;

private:
    QString m_text;
};

class DeleteRowsCommand : public GridCommand {
public:
    DeleteRowsCommand(GridHost& host, int bank, int tab);

protected:
    void apply(BankGrid& grid) override;
};

class AddRowCommand : public GridCommand {
public:
    AddRowCommand(GridHost& host, int bank, int tab);

protected:
    void apply(BankGrid& grid) override;
};

class InsertRowCommand : public GridCommand {
public:
    InsertRowCommand(GridHost& host, int bank, int tab);

protected:
    void apply(BankGrid& grid) override;
};

class SortCommand : public GridCommand {
public:
    SortCommand(GridHost& host, int bank, int tab, int column, bool leftButton, bool shiftOnly);

protected:
    void apply(BankGrid& grid) override;

private:
    int m_column;
    bool m_left;
    bool m_shift;
};

} // namespace vexlor::memory
