#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "link/ExchangeGuard.h"
#include "link/Replies.h"
#include "link/ScannerLink.h"
#include "platform/qt/SystemClock.h"
#include "TestSuite.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <ctime>

namespace tst_linkshutdown {
namespace {

using namespace vexlor;
using link::ExchangeGuard;
using link::ScannerLink;

namespace {
double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }
} // namespace

// How the line is given up when the program ends in the middle of an exchange.
class TestLinkShutdown : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shutDownEndsAWaitAtOnce()
    {
        fakes::FakeSerialPort port;
        fakes::FakeClock clock;
        port.open();
        ScannerLink link(port, clock);
        QTimer poll;
        link.setPollTimer(&poll);
        int offline = 0;
        connect(&link, &ScannerLink::offlineShown, [&] { ++offline; });
        QString reply;
        {
            ExchangeGuard guard(link, QStringLiteral("test"), ExchangeGuard::Quiet::No);
            QVERIFY(guard.held());
            link.setQuietedScanner(true); // as if quieted; the receiver is silent from here on
            QTimer::singleShot(20, &link, &ScannerLink::shutDown);
            QElapsedTimer t;
            t.start();
            port.clearWritten();
            reply = link.SyncSerialOut(QStringLiteral("PM001"));
            QVERIFY(t.elapsed() < 1000); // the fake clock never reaches the time-out
        }
        QCOMPARE(reply, QString(link::reply::kTimeout));
        // Released with straight writes; nothing after; the poll stays stopped.
        QCOMPARE(port.writtenLines(), (QStringList {"PM001", "MUA", "QUN", "IDN"}));
        QVERIFY(!poll.isActive());
        QCOMPARE(offline, 0);
        QVERIFY(!link.claim(QStringLiteral("another")));
        QCOMPARE(link.SyncSerialOut(QStringLiteral("KEY00")), QString(link::reply::kTimeout));
        QCOMPARE(port.writtenLines().size(), 4);
    }

    // The end comes while the quieting commands are on their way: the release still goes.
    void shutDownWhileQuieting()
    {
        fakes::FakeSerialPort port;
        fakes::FakeClock clock;
        port.open();
        ScannerLink link(port, clock);
        QTimer::singleShot(20, &link, &ScannerLink::shutDown);
        {
            ExchangeGuard guard(link, QStringLiteral("test"), ExchangeGuard::Quiet::Yes);
        }
        QCOMPARE(port.writtenLines(), (QStringList {"MUN", "MUA", "QUN", "IDN"}));
        QVERIFY(!link.QuietedScanner());
    }

    // What a dropped line kept back goes out when it returns within the wait, else stays owed.
    void owedCommandsWaitForTheLine_data()
    {
        QTest::addColumn<int>("returnsAfterMs");
        QTest::addColumn<bool>("sent");
        QTest::newRow("line returns") << 100 << true;
        QTest::newRow("line stays down") << -1 << false;
    }
    void owedCommandsWaitForTheLine()
    {
        QFETCH(int, returnsAfterMs);
        fakes::FakeSerialPort port;
        platform::SystemClock clock;
        port.open();
        ScannerLink link(port, clock);
        link.setQuietedScanner(true);
        port.setDsr(false);
        link.shutDown();
        QVERIFY(port.writtenLines().isEmpty());
        if (returnsAfterMs >= 0)
            QTimer::singleShot(returnsAfterMs, &port, [&port] { port.setDsr(true); });
        QElapsedTimer t;
        t.start();
        QTEST(link.sendOwed(400), "sent");
        QVERIFY(t.elapsed() < 1000);
        QCOMPARE(port.writtenLines().size(), returnsAfterMs >= 0 ? 3 : 0);
        QCOMPARE(link.owedCommands().size(), returnsAfterMs >= 0 ? 0 : 3);
    }

    // Last: after it no nested loop of this process runs any more.
    void applicationExitDuringAWaitDoesNotSpin()
    {
        fakes::FakeSerialPort port;
        platform::SystemClock clock;
        port.open();
        ScannerLink link(port, clock);
        link.setSerialPortTimeout(3);
        QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
        QElapsedTimer t;
        t.start();
        const double cpu0 = cpuSeconds();
        QCOMPARE(link.SyncSerialOut(QStringLiteral("SB")), QString(link::reply::kTimeout));
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(cpuSeconds() - cpu0 < 0.5);
        QVERIFY(link.isShuttingDown());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestLinkShutdown)

} // namespace
} // namespace tst_linkshutdown

#include "tst_linkshutdown.moc"
