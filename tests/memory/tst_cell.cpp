#include "CellMetaType.h"
#include "memory/Cell.h"
#include "TestSuite.h"

#include <QTest>

#include <limits>

namespace tst_cell {
namespace {

using vexlor::memory::Cell;

class TestCell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void states_data()
    {
        QTest::addColumn<Cell>("cell");
        QTest::addColumn<int>("kind"); // 0 empty, 1 text, 2 number
        QTest::addColumn<bool>("blank");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("number");
        QTest::newRow("never set") << Cell() << 0 << true << "" << 0.0;
        QTest::newRow("empty text") << Cell(QString()) << 1 << true << "" << 0.0;
        QTest::newRow("blank text") << Cell(" ") << 1 << false << " " << 0.0;
        QTest::newRow("text with number") << Cell("146.5200") << 1 << false << "146.5200" << 146.52;
        QTest::newRow("leading number") << Cell(" 12a") << 1 << false << " 12a" << 12.0;
        QTest::newRow("integer") << Cell(30) << 2 << false << "30" << 30.0;
        QTest::newRow("zero") << Cell(0) << 2 << false << "0" << 0.0;
        QTest::newRow("negative zero") << Cell(-0.0) << 2 << false << "0" << 0.0;
        QTest::newRow("fraction") << Cell(1.5) << 2 << false << "1.5" << 1.5;
        QTest::newRow("negative") << Cell(-2) << 2 << false << "-2" << -2.0;
        QTest::newRow("large, no exponent") << Cell(12345678.0) << 2 << false << "12345678" << 12345678.0;
        QTest::newRow("shortest of 0.1") << Cell(0.1) << 2 << false << "0.1" << 0.1;
        QTest::newRow("NaN becomes 0") << Cell(std::numeric_limits<double>::quiet_NaN()) << 2 << false << "0" << 0.0;
    }
    void states()
    {
        QFETCH(Cell, cell);
        QFETCH(int, kind);
        QFETCH(bool, blank);
        QFETCH(QString, shown);
        QFETCH(double, number);
        QCOMPARE(cell.isEmpty(), kind == 0);
        QCOMPARE(cell.isText(), kind == 1);
        QCOMPARE(cell.isNumber(), kind == 2);
        QCOMPARE(cell.isBlank(), blank);
        QCOMPARE(cell.display(), shown);
        QCOMPARE(cell.number(), number);
        QCOMPARE(cell.text().isEmpty(), kind != 1 || shown.isEmpty());
    }

    void equality_data()
    {
        QTest::addColumn<Cell>("a");
        QTest::addColumn<Cell>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("empty vs empty text") << Cell() << Cell(QString()) << false;
        QTest::newRow("empty vs empty") << Cell() << Cell() << true;
        QTest::newRow("text 1 vs number 1") << Cell("1") << Cell(1) << false;
        QTest::newRow("number vs number") << Cell(1) << Cell(1.0) << true;
        QTest::newRow("text vs text") << Cell("POL") << Cell(QStringLiteral("POL")) << true;
        QTest::newRow("case matters") << Cell("pol") << Cell("POL") << false;
    }
    void equality()
    {
        QFETCH(Cell, a);
        QFETCH(Cell, b);
        QFETCH(bool, equal);
        QCOMPARE(a == b, equal);
    }

};

VEXLOR_TEST_GUILESS_MAIN(TestCell)

} // namespace
} // namespace tst_cell

#include "tst_cell.moc"
