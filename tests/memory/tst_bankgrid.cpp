#include "memory/BankGrid.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_bankgrid {
namespace {

using vexlor::memory::BankGrid;

namespace {

// Three ID rows; a dump is "cell,cell|cell,cell" per data row.
BankGrid idGrid()
{
    BankGrid g(BankGrid::Kind::IDs);
    g.setDataRows({{"1-1", "000001", "POL", "A", ""}, {"1-2", "000002", "FDP", "B", "="}, {"1-3", "000003", "EMG", "C", ""}});
    return g;
}

QString dump(const BankGrid& g)
{
    QStringList rows;
    for (const QStringList& r : g.dataRows())
        rows << r.join(QLatin1Char(','));
    return rows.join(QLatin1Char('|'));
}

QList<int> sel(std::initializer_list<int> v) { return QList<int>(v); }

} // namespace

class TestBankGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectionKinds_data()
    {
        QTest::addColumn<QList<int>>("selection");
        QTest::addColumn<int>("kind");
        QTest::newRow("nothing") << sel({0, 0, 0, 0}) << 0;
        QTest::newRow("whole grid") << sel({1, 0, 3, 4}) << 0;
        QTest::newRow("header cell") << sel({0, 2, 0, 2}) << 0;
        QTest::newRow("one cell") << sel({2, 3, 2, 3}) << 1;
        QTest::newRow("one row") << sel({2, 0, 2, 4}) << 2;
        QTest::newRow("one column") << sel({1, 3, 3, 3}) << 3;
        QTest::newRow("block, extent before anchor") << sel({3, 2, 2, 1}) << 4;
    }
    void selectionKinds()
    {
        QFETCH(QList<int>, selection);
        BankGrid g = idGrid();
        g.select(selection[0], selection[1], selection[2], selection[3]);
        QTEST(g.selectionKind(), "kind");
    }

    void clipboard_data()
    {
        QTest::addColumn<QList<int>>("selection");
        QTest::addColumn<QString>("operation"); // "copy", "cut" or a text to paste
        QTest::addColumn<QString>("copied");
        QTest::addColumn<QString>("grid");
        const QString untouched = "1-1,000001,POL,A,|1-2,000002,FDP,B,=|1-3,000003,EMG,C,";
        QTest::newRow("copy 2x2: tabs after cells, no CR LF at the end")
            << sel({1, 1, 2, 2}) << "copy" << "000001\tPOL\t\r\n000002\tFDP\t" << untouched;
        QTest::newRow("copy from the header copies nothing") << sel({0, 1, 2, 2}) << "copy" << "" << untouched;
        QTest::newRow("cut a cell blanks it") << sel({2, 3, 2, 3}) << "cut" << "B\t"
                                              << "1-1,000001,POL,A,|1-2,000002,FDP, ,=|1-3,000003,EMG,C,";
        QTest::newRow("cut a row removes it") << sel({2, 0, 2, 4}) << "cut" << "1-2\t000002\tFDP\tB\t=\t"
                                              << "1-1,000001,POL,A,|1-3,000003,EMG,C,";
        QTest::newRow("cut everything leaves one blank row")
            << sel({1, 0, 3, 4}) << "cut" << "1-1\t000001\tPOL\tA\t\t\r\n1-2\t000002\tFDP\tB\t=\t\r\n1-3\t000003\tEMG\tC\t\t"
            << " , , , , ";
        QTest::newRow("cut with nothing selected keeps the grid") << sel({0, 0, 0, 0}) << "cut" << "" << untouched;
        QTest::newRow("paste on all: the line after the last CR LF is left out")
            << sel({1, 0, 3, 4}) << "9-1\t9\tx\ty\tL\t\r\n9-2\t8\t\t\t\t" << ""
            << "1-1,9,x,y,=|1-2,000002,FDP,B,=|1-3,000003,EMG,C,";
        QTest::newRow("paste on all: text ending in CR LF goes in whole")
            << sel({1, 0, 3, 4}) << "9-1\t9\r\n9-2\t8\r\n" << "" << "1-1,9,,,|1-2,8,,,|1-3,000003,EMG,C,";
        QTest::newRow("paste, nothing selected: LF line ends") << sel({0, 0, 0, 0}) << "9-1\t9\n9-2\t8\n" << "" << "1-1,9,,,|1-2,8,,,|1-3,000003,EMG,C,";
        QTest::newRow("paste on all: CR line ends") << sel({1, 0, 3, 4}) << "9-1\t9\r9-2\t8\r" << "" << "1-1,9,,,|1-2,8,,,|1-3,000003,EMG,C,";
        QTest::newRow("paste two lines into a cell: no line break in it")
            << sel({1, 2, 1, 2}) << "P\nQ" << "" << "1-1,000001,P,Q,|1-2,000002,FDP,B,=|1-3,000003,EMG,C,";
        QTest::newRow("paste one value into a cell, normalised")
            << sel({1, 4, 1, 4}) << "yes" << "" << "1-1,000001,POL,A,=|1-2,000002,FDP,B,=|1-3,000003,EMG,C,";
        QTest::newRow("paste more into a cell fills to the end")
            << sel({3, 2, 3, 2}) << "P\tQ\tR\tS\t" << ""
            << "1-1,000001,POL,A,|1-2,000002,FDP,B,=|1-3,000003,P,Q,=|S,,,,";
        QTest::newRow("paste into a row, empty last cell included")
            << sel({2, 0, 2, 4}) << "7-7\t77\t\r\nignored\t" << "" << "1-1,000001,POL,A,|1-2,77,,B,=|1-3,000003,EMG,C,";
        QTest::newRow("paste down a column, empty entries skipped")
            << sel({1, 3, 3, 3}) << "P\t\tQ\t\r\nR\t" << "" << "1-1,000001,POL,P,|1-2,000002,FDP,Q,=|1-3,000003,EMG,R,";
        QTest::newRow("paste a block that grows the grid")
            << sel({2, 3, 3, 4}) << "a\tb\tc\td\te\tf\tg\t" << ""
            << "1-1,000001,POL,A,|1-2,000002,FDP,a,=|1-3,000003,EMG,c,=|e,f,g,,";
        // A row's label is its identity: a paste never changes it, and never repeats one in a new row.
        QTest::newRow("paste keeps labels, a new row takes only a free one")
            << sel({3, 0, 3, 0}) << "1-1\t9\t\t\t\t\r\n1-2\t8\t\t\t\t\r\n5-5\t7\t\t\t\t" << ""
            << "1-1,000001,POL,A,|1-2,000002,FDP,B,=|1-3,9,,,|,8,,,|5-5,7,,,";
        QTest::newRow("paste down the label column changes no label") << sel({1, 0, 3, 0}) << "9-9\t\r\n9-8\t" << "" << untouched;
    }
    void clipboard()
    {
        QFETCH(QList<int>, selection);
        QFETCH(QString, operation);
        BankGrid g = idGrid();
        g.select(selection[0], selection[1], selection[2], selection[3]);
        QString copied;
        if (operation == QLatin1String("copy"))
            copied = g.copy();
        else if (operation == QLatin1String("cut"))
            copied = g.cut();
        else
            g.paste(operation);
        QTEST(copied, "copied");
        QTEST(dump(g), "grid");
    }

    // A stream pasted on one cell is selected afterwards, so Copy or Cut next takes all of it.
    void pasteSelectsWhatItPasted_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QList<int>>("selected");
        QTest::newRow("within a row") << "7\tX\t" << QList<int> {1, 1, 1, 2};
        QTest::newRow("over two rows") << "7\tX\tName\t\t8\tY\t" << QList<int> {1, 1, 2, 4};
    }
    void pasteSelectsWhatItPasted()
    {
        QFETCH(QString, pasted);
        QFETCH(QList<int>, selected);
        BankGrid g = idGrid();
        g.select(1, 1, 1, 1);
        g.paste(pasted);
        QCOMPARE(g.selection(), (BankGrid::Selection {selected[0], selected[1], selected[2], selected[3]}));
    }

    void channelRowsAreNormalised_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("row");
        QTest::newRow("seven digits") << 1 << "1544300" << "5,154.4300,,,,,Normal";
        QTest::newRow("MHz with a point") << 1 << "154.43" << "5,154.4300,,,,,Normal";
        QTest::newRow("y in DLY") << 4 << "y" << "5,000.0000,,,=,,Normal";
        QTest::newRow("blank L/O") << 5 << "  " << "5,000.0000,,,,,Normal";
        QTest::newRow("trunked") << 6 << "trunked" << "5,000.0000,,,,,Trunk";
        QTest::newRow("tr is not enough") << 6 << "tr" << "5,000.0000,,,,,Normal";
    }
    void channelRowsAreNormalised()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        BankGrid g(BankGrid::Kind::Channels);
        g.setDataRows({{"5", "", "", "", "", "", ""}});
        g.setCell(1, column, typed);
        g.normalise(1);
        QTEST(g.row(1).join(QLatin1Char(',')), "row");
    }

    void sorting_data()
    {
        QTest::addColumn<bool>("ids");
        QTest::addColumn<QStringList>("presses"); // column + L (left) or R (other), + S for Shift
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("firstColumn"); // column 0 of the rows after sorting
        QTest::newRow("channel numbers numerically") << false << QStringList {"0L"} << " (1U),,,,,," << "9,10,100";
        QTest::newRow("names by character code, then numbers down")
            << false << QStringList {"3L", "0RS"} << " (2D),,, (1U),,," << "100,9,10";
        QTest::newRow("a second press flips its key") << false << QStringList {"1L", "3R", "1RS"}
                                                      << ", (1D),, (2U),,," << "100,10,9";
        QTest::newRow("left press forgets the others") << false << QStringList {"1L", "3R", "0LS"} << " (1D),,,,,,"
                                                       << "100,10,9";
        QTest::newRow("ID labels by slot") << true << QStringList {"0L"} << " (1U),,,," << "3-5,3-10,10-10";
    }
    void sorting()
    {
        QFETCH(bool, ids);
        QFETCH(QStringList, presses);
        BankGrid g(ids ? BankGrid::Kind::IDs : BankGrid::Kind::Channels);
        if (ids)
            g.setDataRows({{"10-10"}, {"3-5"}, {"3-10"}});
        else
            g.setDataRows({{"10", "154.0", "", "b"}, {"9", "151.5", "", "a"}, {"100", "160.0", "", "B"}});
        for (const QString& p : presses)
            g.headerPressed(p.left(1).toInt(), p.contains(QLatin1Char('L')), p.contains(QLatin1Char('S')));
        QTEST(g.row(0).join(QLatin1Char(',')), "header");
        QStringList first;
        for (const QStringList& r : g.dataRows())
            first << r[0];
        QTEST(first.join(QLatin1Char(',')), "firstColumn");
    }

    // Rows never filled sort last, whichever way.
    void emptyRowsSortLast_data()
    {
        QTest::addColumn<bool>("ids");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QString>("firstColumn");
        QTest::newRow("frequencies up") << false << false << "9,10,7";
        QTest::newRow("frequencies down") << false << true << "10,9,7";
        QTest::newRow("ID labels up") << true << false << "3-10,10-1,3-5";
        QTest::newRow("ID labels down") << true << true << "10-1,3-10,3-5";
    }
    void emptyRowsSortLast()
    {
        QFETCH(bool, ids);
        QFETCH(bool, shift);
        BankGrid g(ids ? BankGrid::Kind::IDs : BankGrid::Kind::Channels);
        if (ids)
            g.setDataRows({{"3-5", "", "", "", ""}, {"10-1", "000016", "", "", ""}, {"3-10", "001234", "", "", ""}});
        else
            g.setDataRows({{"7", "000.0000"}, {"9", "151.5"}, {"10", "154.0"}});
        g.headerPressed(ids ? 0 : 1, true, shift);
        QStringList first;
        for (const QStringList& r : g.dataRows())
            first << r[0];
        QTEST(first.join(QLatin1Char(',')), "firstColumn");
    }

    void rowsComeAndGo()
    {
        BankGrid g = idGrid();
        g.select(2, 0, 2, 0);
        g.insertRow();
        QCOMPARE(g.row(2), QStringList(5, QString()));
        g.addRow();
        QCOMPARE(g.rowCount(), 6);
        g.selectAll();
        g.deleteRows();
        // The last data row always stays.
        QCOMPARE(dump(g), QStringLiteral(",,,,"));
        g.select(0, 0, 0, 0);
        g.deleteRows();
        g.insertRow();
        QCOMPARE(g.rowCount(), 2);
        // A reload with fewer rows keeps the selection inside the grid.
        g = idGrid();
        g.select(3, 1, 3, 4);
        g.setDataRows({{"1-1", "000001"}});
        QCOMPARE(g.copy(), QStringLiteral("000001\t\t\t\t"));
        // A huge paste, on the whole grid or growing a block, stops at the cap.
        const QString lines = QStringLiteral("a\tb\tc\td\te\t\r\n").repeated(BankGrid::kMaxDataRows + 50);
        for (const QList<int>& at : {sel({0, 0, 0, 0}), sel({1, 4, 1, 4})}) {
            g = idGrid();
            g.select(at[0], at[1], at[2], at[3]);
            g.paste(lines);
            QCOMPARE(g.rowCount(), BankGrid::kMaxDataRows + 1);
        }
        g.addRow();
        QCOMPARE(g.rowCount(), BankGrid::kMaxDataRows + 1);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestBankGrid)

} // namespace
} // namespace tst_bankgrid

#include "tst_bankgrid.moc"
