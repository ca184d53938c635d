#pragma once

#include <QList>
#include <QStringList>
#include <QTableWidget>

namespace vexlor::memory {

// The read-only grid of a directory window. The logic counts the heading as
// row 0 and the data rows from 1; clicked() reports in those terms.
class DirectoryGrid : public QTableWidget {
    Q_OBJECT
public:
    // Widths in twips; a width of 0 hides the column. stretchColumn takes any extra room.
    DirectoryGrid(const QString& name, const QList<int>& widthsTwips, int stretchColumn, QWidget* parent = nullptr);

    // Applies only what differs, so the scroll position and the selection stay.
    void render(const QStringList& headings, const QList<QStringList>& rows, int currentRow, int currentCol);

    QSize sizeHint() const override;

Q_SIGNALS:
    void clicked(int row, int col);

private:
    int fitWidth() const;

    QList<int> m_widths; // pixels
};

} // namespace vexlor::memory
