#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "link/ScannerLink.h"
#include "monitor/StatusRefresh.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_statusrefresh {
namespace {

using namespace vexlor;

class TestStatusRefresh : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void queries_data()
    {
        QTest::addColumn<int>("runs");
        QTest::newRow("once") << 1;
        QTest::newRow("twice") << 2;
    }
    void queries()
    {
        QFETCH(int, runs);
        static const QStringList once {"QUN", "IDN", "SQ", "SB", "IS", "TB", "LT", "AL", "PR",
                                       "DS", "AT", "LL", "LU", "MU", "LO", "SI", "VR", "PC A",
                                       "PC B", "PC C", "PC D", "PC E", "PC F", "PC G", "PC H", "PC I",
                                       "PC J"};
        fakes::FakeClock clock;
        fakes::FakeSerialPort port;
        port.open();
        link::ScannerLink link(port, clock);
        QStringList expected;
        for (int i = 0; i < runs; ++i) {
            monitor::ResetAllStatus(link);
            expected += once;
        }
        QCOMPARE(port.writtenLines(), expected);
        QVERIFY(port.written.endsWith('\r') && !port.written.contains("\r\r"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestStatusRefresh)

} // namespace
} // namespace tst_statusrefresh

#include "tst_statusrefresh.moc"
