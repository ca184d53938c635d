#include "../ScriptedReceiver.h"
#include "memory/BankEditor.h"
#include "memory/ui/Banks.h"
#include "platform/qt/QtClipboard.h"
#include "TestSuite.h"
#include "WidgetProbe.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

namespace tst_banks_window {
namespace {

using namespace vexlor;
using memory::BankEditor;
using MT = memory::MemoryTables;

namespace {

struct Rig : testing::ScriptedReceiver {
    platform::QtClipboard clipboard;
    BankEditor logic {{dialogs, clipboard, tables, *stores, {}}};
    memory::Banks window {logic};

    Rig()
    {
        tables.Channels.set(2, MT::kChName, QStringLiteral("Tower"));
        logic.open();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    template <class T = QWidget>
    T* find(const QString& name) const { return window.findChild<T*>(name); }
    QTableWidget* grid() const { return find<QTableWidget>(QStringLiteral("ChannelGrid")); }
    QString shown(int row, int col) const { return grid()->item(row - 1, col)->text(); }
};

} // namespace

class TestBanksWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsAsSpecified()
    {
        Rig rig;
        const QStringList captions {"A", "X", "C", "V", "-", "+", "i"};
        const QStringList tips {"Select All", "CUT Selected Text", "Copy Selected Text", "Paste from Clipboard",
                                "Delete Row", "Add New Row", "Insert New Row"};
        for (int i = 0; i < 7; ++i) {
            auto* b = rig.find<QAbstractButton>(QStringLiteral("C_%1").arg(i));
            QVERIFY(b);
            QCOMPARE(b->text(), captions[i]);
            QCOMPARE(b->toolTip(), tips[i]);
        }
        QCOMPARE(rig.find<QAbstractButton>(QStringLiteral("Cancel_2"))->toolTip(), QStringLiteral("Save Data, Close Form"));
        // The titles are the heading a press sorts by.
        QStringList titles;
        for (const char* name : {"ChannelGrid", "IDGrid"}) {
            const auto* grid = rig.find<QTableWidget>(QLatin1String(name));
            for (int c = 0; c < grid->columnCount(); ++c)
                titles << grid->horizontalHeaderItem(c)->text();
        }
        QCOMPARE(titles, (QStringList {"CH", "FREQ", "TYPE", "NAME", "DLY", "L/O", "MODE", "LIST", "ID", "TYPE", "NAME", "L/O"}));
        auto* tabs = rig.find<QTabWidget>(QStringLiteral("SSTab1"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Scan List IDs(01)"));
        QCOMPARE(rig.find<QLineEdit>(QStringLiteral("BankNameBox"))->maxLength(), 61);
    }

    void editSortUndoAndFind()
    {
        Rig rig;
        auto* bar = rig.find<QTabWidget>(QStringLiteral("SSTab1"))->findChild<QTabBar*>();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(rig.logic.state().tab, 1);
        QTableWidget* grid = rig.grid();
        const int nameWidth = grid->columnWidth(3);
        QCOMPARE(nameWidth, qRound(2600 * grid->logicalDpiX() / 1440.0));
        rig.window.resize(rig.window.width() + 300, rig.window.height());
        QCOMPARE(grid->columnWidth(3), nameWidth);

        // In place: "y" in DLY becomes "=".
        const QRect cell = grid->visualItemRect(grid->item(0, 4));
        // The press of a double click comes first: the view wants it on the same cell.
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        auto* edt = rig.find<QLineEdit>(QStringLiteral("edtC"));
        QTRY_VERIFY(edt->isVisible() && edt->hasFocus());
        QCOMPARE(edt->geometry(), cell);
        QTest::keyClicks(edt, QStringLiteral("y"));
        QTest::keyClick(edt, Qt::Key_Return);
        QVERIFY(!edt->isVisible());
        QCOMPARE(rig.shown(1, 4), QStringLiteral("="));

        // A right press on NAME adds it as a key; Shift makes it descending.
        QHeaderView* header = grid->horizontalHeader();
        const QPoint name(header->sectionViewportPosition(3) + 4, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 4, 4));
        QTest::mouseClick(header->viewport(), Qt::RightButton, Qt::ShiftModifier, name);
        QCOMPARE(grid->horizontalHeaderItem(3)->text(), QStringLiteral("NAME (2D)"));

        // Ctrl+Z takes back the sorts and the edit, in turn.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&rig.window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(grid->horizontalHeaderItem(3)->text(), QStringLiteral("NAME"));
        QCOMPARE(rig.shown(1, 4), QString());

        // Ctrl+F, then Enter: the match's bank, tab and cell.
        QTest::keyClick(&rig.window, Qt::Key_F, Qt::ControlModifier);
        auto* box = rig.find<QLineEdit>(QStringLiteral("FindBox"));
        QTRY_VERIFY(box->hasFocus());
        rig.tables.IDs.set(6, 11, MT::kIdName, QStringLiteral("Harbour"));
        rig.tables.IDs.set(6, 11, MT::kIdId, QStringLiteral("000011"));
        QTest::keyClicks(box, QStringLiteral("harb"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(rig.find<QScrollBar>(QStringLiteral("HScroll1"))->value(), 6);
        QCOMPARE(rig.find<QTabWidget>(QStringLiteral("SSTab1"))->currentIndex(), 2);
        auto* ids = rig.find<QTableWidget>(QStringLiteral("IDGrid"));
        QCOMPARE(ids->currentItem()->text(), QStringLiteral("Harbour"));
    }

    void copyAndPasteThroughTheSystemClipboard()
    {
        Rig rig;
        rig.logic.SSTab1_Click(1);
        QTableWidget* grid = rig.grid();
        testing::clickCell(grid, 2, 3);
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Tower\t"));
        testing::clickCell(grid, 5, 3);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rig.shown(5, 3), QStringLiteral("Tower"));
        // The "V" button pastes what another program put there.
        QGuiApplication::clipboard()->setText(QStringLiteral("Gate"));
        testing::clickCell(grid, 6, 3);
        rig.find<QAbstractButton>(QStringLiteral("C_3"))->click();
        QCOMPARE(rig.shown(6, 3), QStringLiteral("Gate"));

        // A button pressed while a cell is open acts after the cell keeps its text.
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(6, 3)).center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(6, 3)).center());
        QTest::keyClicks(rig.find<QLineEdit>(QStringLiteral("edtC")), QStringLiteral("Yard"));
        QTest::mouseClick(rig.find<QAbstractButton>(QStringLiteral("C_5")), Qt::LeftButton);
        QCOMPARE(rig.shown(7, 3), QStringLiteral("Yard"));
        QCOMPARE(grid->rowCount(), 31);
    }

    void keepsItsPlaceForTheRun()
    {
        Rig rig;
        rig.window.setGeometry(120, 90, 700, 560);
        const QRect before = rig.window.geometry();
        rig.find<QAbstractButton>(QStringLiteral("Cancel_1"))->click();
        QVERIFY(!rig.window.isVisible());
        rig.window.show();
        QCOMPARE(rig.window.geometry(), before);
    }
};

VEXLOR_TEST_MAIN(TestBanksWindow)

} // namespace
} // namespace tst_banks_window

#include "tst_banks_window.moc"
