#pragma once

#include "memory/ui/DirectoryGrid.h"

class QLineEdit;

namespace vexlor::memory {

class BankGrid;

// One grid of the bank editor: renders a BankGrid (its row 0 is the header,
// data rows count from 1) and reports selections, header presses, the edit
// keys and the in-place editor's text in those terms.
class BankGridView : public DirectoryGrid {
    Q_OBJECT
public:
    BankGridView(const QString& name, const QList<int>& widthsTwips, const QString& editorName, QWidget* parent = nullptr);

    // The column titles the heading shows, each followed by its sort mark.
    void setTitles(const QStringList& titles);
    void render(const BankGrid& grid, bool editing);
    // Opens the in-place editor over data row `row`.
    void showEditor(int row, int col, const QString& text);

Q_SIGNALS:
    void cellsSelected(int row, int col, int rowEnd, int colEnd);
    void headerPressed(int column, bool leftButton, bool shiftOnly);
    void editWanted(int row, int col);
    void editFinished(const QString& text);
    void editCancelled();
    // Ctrl+A, X, C and V: the edit buttons 0..3.
    void editKey(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void reportSelection();

    QLineEdit* m_editor = nullptr;
    QStringList m_titles;
    bool m_rendering = false;
};

} // namespace vexlor::memory
