#include "memory/ui/BankGridView.h"

#include "memory/BankGrid.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace vexlor::memory {

BankGridView::BankGridView(const QString& name, const QList<int>& widthsTwips, const QString& editorName, QWidget* parent)
    : DirectoryGrid(name, widthsTwips, -1, parent)
{
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    // Presses on the header sort; they must not select a column as well.
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->viewport()->installEventFilter(this);
    horizontalHeader()->setToolTip(QStringLiteral(
        "Click: sort by this column alone. Other button: add it as a further key.\nHold Shift for descending order."));

    m_editor = new QLineEdit(viewport());
    m_editor->setObjectName(editorName);
    m_editor->setFrame(false);
    m_editor->hide();
    m_editor->installEventFilter(this);

    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int col) { Q_EMIT editWanted(row + 1, col); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &BankGridView::reportSelection);
}

void BankGridView::setTitles(const QStringList& titles)
{
    m_titles = titles;
    for (int c = 0; c < columnCount(); ++c)
        horizontalHeaderItem(c)->setText(titles.value(c));
}

void BankGridView::reportSelection()
{
    if (m_rendering)
        return;
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) {
        Q_EMIT cellsSelected(0, 0, 0, 0);
        return;
    }
    const QTableWidgetSelectionRange& r = ranges.first();
    Q_EMIT cellsSelected(r.topRow() + 1, r.leftColumn(), r.bottomRow() + 1, r.rightColumn());
}

void BankGridView::render(const BankGrid& grid, bool editing)
{
    m_rendering = true;
    const BankGrid::Selection& sel = grid.selection();
    QStringList heading = grid.row(0);
    for (int c = 0; c < heading.size(); ++c)
        heading[c] = m_titles.value(c) + heading[c];
    DirectoryGrid::render(heading, grid.dataRows(), sel.row, sel.col);
    const int top = std::min(sel.row, sel.rowEnd), bottom = std::max(sel.row, sel.rowEnd);
    const int left = std::min(sel.col, sel.colEnd), right = std::max(sel.col, sel.colEnd);
    if (top >= 1) {
        const QTableWidgetSelectionRange want(top - 1, left, bottom - 1, right);
        const QList<QTableWidgetSelectionRange> have = selectedRanges();
        if (have.size() != 1 || have.first().topRow() != want.topRow() || have.first().bottomRow() != want.bottomRow()
            || have.first().leftColumn() != want.leftColumn() || have.first().rightColumn() != want.rightColumn()) {
            clearSelection();
            setRangeSelected(want, true);
        }
    }
    m_rendering = false;
    if (!editing && m_editor->isVisible())
        m_editor->hide();
}

void BankGridView::showEditor(int row, int col, const QString& text)
{
    const QModelIndex index = model()->index(row - 1, col);
    if (!index.isValid())
        return;
    scrollTo(index);
    m_editor->setGeometry(visualRect(index));
    m_editor->setText(text);
    m_editor->selectAll();
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
}

bool BankGridView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const int col = horizontalHeader()->logicalIndexAt(press->position().toPoint());
        if (col >= 0)
            Q_EMIT headerPressed(col, press->button() == Qt::LeftButton, press->modifiers() == Qt::ShiftModifier);
        return true;
    }
    if (watched != m_editor)
        return DirectoryGrid::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            Q_EMIT editCancelled();
            m_editor->hide();
            setFocus();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            setFocus(); // leaving the editor is what commits it
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && m_editor->isVisible()) {
        // Switching to another program or a menu is not leaving the cell.
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) {
            m_editor->hide();
            Q_EMIT editFinished(m_editor->text());
        }
    }
    return DirectoryGrid::eventFilter(watched, event);
}

void BankGridView::keyPressEvent(QKeyEvent* event)
{
    const std::pair<QKeySequence::StandardKey, int> keys[] = {
        {QKeySequence::SelectAll, 0}, {QKeySequence::Cut, 1}, {QKeySequence::Copy, 2}, {QKeySequence::Paste, 3}};
    for (const auto& [sequence, index] : keys) {
        if (event->matches(sequence)) {
            Q_EMIT editKey(index);
            return;
        }
    }
    if ((event->key() == Qt::Key_F2 || event->key() == Qt::Key_Return) && currentRow() >= 0) {
        Q_EMIT editWanted(currentRow() + 1, currentColumn());
        return;
    }
    DirectoryGrid::keyPressEvent(event);
}

} // namespace vexlor::memory

#include "moc_BankGridView.cpp"
