#include "memory/ui/DirectoryGrid.h"

#include <QHeaderView>
#include <QScrollBar>

namespace vexlor::memory {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kPointSize = 8.0;
} // namespace

DirectoryGrid::DirectoryGrid(const QString& name, const QList<int>& widthsTwips, int stretchColumn, QWidget* parent)
    : QTableWidget(0, int(widthsTwips.size()), parent)
{
    setObjectName(name);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setAlternatingRowColors(true);
    // The column widths were chosen for an 8 point face; a larger one would cut "Normal" and "1-10".
    QFont small = font();
    if (small.pointSizeF() > kPointSize) {
        small.setPointSizeF(kPointSize);
        setFont(small);
    }
    // The first column numbers the rows already.
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumSectionSize(1);
    for (int c = 0; c < widthsTwips.size(); ++c) {
        const int px = qRound(widthsTwips[c] * logicalDpiX() / kTwipsPerInch);
        m_widths << px;
        setHorizontalHeaderItem(c, new QTableWidgetItem);
        if (px == 0)
            setColumnHidden(c, true);
        else
            setColumnWidth(c, px);
    }
    if (stretchColumn >= 0 && stretchColumn < columnCount())
        header->setSectionResizeMode(stretchColumn, QHeaderView::Stretch);
    setMinimumWidth(fitWidth());

    connect(this, &QTableWidget::cellClicked, this, [this](int row, int col) { Q_EMIT clicked(row + 1, col); });
    connect(header, &QHeaderView::sectionClicked, this, [this](int col) { Q_EMIT clicked(0, col); });
}

int DirectoryGrid::fitWidth() const
{
    // Room for the vertical scroll bar too, so it never pushes a column out of sight.
    int w = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int px : m_widths)
        w += px;
    return w;
}

QSize DirectoryGrid::sizeHint() const
{
    QSize hint = QTableWidget::sizeHint();
    hint.setWidth(fitWidth());
    return hint;
}

void DirectoryGrid::render(const QStringList& headings, const QList<QStringList>& rows, int currentRow, int currentCol)
{
    const int scrolled = verticalScrollBar()->value();
    for (int c = 0; c < columnCount(); ++c) {
        QTableWidgetItem* item = horizontalHeaderItem(c);
        const QString text = headings.value(c);
        if (item->text() != text)
            item->setText(text);
    }
    if (rowCount() != rows.size())
        setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            const QString text = rows[r].value(c);
            QTableWidgetItem* cell = item(r, c);
            if (!cell) {
                setItem(r, c, new QTableWidgetItem(text));
            } else if (cell->text() != text) {
                cell->setText(text);
            }
        }
    }
    verticalScrollBar()->setValue(scrolled);

    // The logic's row 0 is the heading: no cell of the body is chosen then.
    const int wantRow = currentRow > 0 ? currentRow - 1 : -1;
    const int wantCol = currentRow > 0 ? currentCol : -1;
    if (this->currentRow() != wantRow || this->currentColumn() != wantCol) {
        if (wantRow < 0) {
            setCurrentCell(-1, -1);
            clearSelection();
        } else {
            setCurrentCell(wantRow, wantCol);
        }
    }
}

} // namespace vexlor::memory

#include "moc_DirectoryGrid.cpp"
