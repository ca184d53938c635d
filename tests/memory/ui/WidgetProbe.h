#pragma once

// What the window tests read off a control, and the grid click as the logic counts rows.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

namespace vexlor::testing {

// A frame's title, a label's or button's text; a picture button's tooltip.
inline QString caption(const QWidget* w)
{
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text().isEmpty() ? b->toolTip() : b->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    return {};
}

inline QStringList items(const QWidget* w)
{
    QStringList list;
    if (auto* c = qobject_cast<const QComboBox*>(w))
        for (int i = 0; i < c->count(); ++i)
            list << c->itemText(i);
    return list;
}

inline int maxLength(const QWidget* w)
{
    if (auto* c = qobject_cast<const QComboBox*>(w))
        w = c->lineEdit();
    auto* e = qobject_cast<const QLineEdit*>(w);
    return e ? e->maxLength() : 0;
}

// Row 0 is the heading.
inline void clickCell(QTableWidget* grid, int row, int col)
{
    if (row == 0) {
        QHeaderView* h = grid->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(col) + 4, h->height() / 2));
    } else {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row - 1, col)).center());
    }
}

// Radio buttons and labels take a click near their left edge, where the text is.
inline void clickLeft(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2)); }

} // namespace vexlor::testing
