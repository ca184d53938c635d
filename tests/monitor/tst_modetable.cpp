#include "monitor/ModeTable.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_modetable {
namespace {

using namespace vexlor::monitor;

class TestModeTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Classes as letters: c clears ID readouts, t trunking, m measures without
    // a channel, s suppresses the channel log, q pops up with the squelch,
    // k pops up with calls, h hold.
    void modes_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption"); // "-" for none
        QTest::addColumn<QString>("classes");
        QTest::newRow("00") << "00" << "Scan Mode" << "cq";
        QTest::newRow("01") << "01" << "Manual Mode" << "cqh";
        QTest::newRow("02") << "02" << "Limit Search" << "cmq";
        QTest::newRow("03") << "03" << "Search Hld" << "cmqh";
        QTest::newRow("04") << "04" << "Svc Search" << "cmq";
        QTest::newRow("05") << "05" << "Svc Search Hld" << "cmq";
        QTest::newRow("06") << "06" << "Trunk Program (M)" << "tq";
        QTest::newRow("07") << "07" << "Trunk Program (E)" << "tq";
        QTest::newRow("08") << "08" << "Trunk Program" << "tq";
        QTest::newRow("09") << "09" << "ID Search (M)" << "ts";
        QTest::newRow("10") << "10" << "ID Search (M) Hld" << "tskh";
        QTest::newRow("11") << "11" << "Scan ID (M)" << "tsk";
        QTest::newRow("12") << "12" << "Manual ID (M)" << "tsk";
        QTest::newRow("13") << "13" << "ID L/O Review (M)" << "tsk";
        QTest::newRow("14") << "14" << "-" << "tsk";
        QTest::newRow("15") << "15" << "ID Search (E)" << "tsk";
        QTest::newRow("16") << "16" << "ID Search (E) Hld" << "tskh";
        QTest::newRow("17") << "17" << "Scan ID (E)" << "tsk";
        QTest::newRow("18") << "18" << "Manual ID (E)" << "tsk";
        QTest::newRow("19") << "19" << "ID L/O Review (E)" << "tk";
        QTest::newRow("20") << "20" << "-" << "k";
        QTest::newRow("21") << "21" << "Direct Listening" << "mk";
        QTest::newRow("22") << "22" << "-" << "k";
        QTest::newRow("99") << "99" << "-" << "k";
        QTest::newRow("leading blank") << " 5" << "Svc Search Hld" << "cmq";
        QTest::newRow("single digit") << "5" << "Svc Search Hld" << "cmq";
        QTest::newRow("digit and junk") << "1x" << "Manual Mode" << "cqh";
        QTest::newRow("negative") << "-1" << "-" << "cq";
        // Non-numeric fields read as 0, like every numeric field of the line.
        QTest::newRow("garbage") << "x?" << "Scan Mode" << "cq";
    }
    void modes()
    {
        QFETCH(QString, field);
        QFETCH(QString, caption);
        QFETCH(QString, classes);
        const int code = modeCode(field);
        const std::optional<QString> shown = modeCaption(code);
        QCOMPARE(shown.value_or(QStringLiteral("-")), caption);
        QCOMPARE(clearsIdReadouts(code), classes.contains(QLatin1Char('c')));
        QCOMPARE(isTrunking(code), classes.contains(QLatin1Char('t')));
        QCOMPARE(measuresWithoutChannel(code), classes.contains(QLatin1Char('m')));
        QCOMPARE(suppressesChannelLog(code), classes.contains(QLatin1Char('s')));
        QCOMPARE(popsUpWithSquelch(code), classes.contains(QLatin1Char('q')));
        QCOMPARE(popsUpWithCalls(code), classes.contains(QLatin1Char('k')));
        QCOMPARE(isHold(code), classes.contains(QLatin1Char('h')));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestModeTable)

} // namespace
} // namespace tst_modetable

#include "tst_modetable.moc"
