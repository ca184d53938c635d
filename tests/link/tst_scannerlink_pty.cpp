#include "link/ExchangeGuard.h"
#include "link/Replies.h"
#include "link/ScannerLink.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/SystemClock.h"
#include "PtyPair.h"
#include "TestSuite.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <sys/resource.h>

namespace tst_scannerlink_pty {
namespace {

using vexlor::fakes::PtyPair;
using vexlor::link::ScannerLink;
using vexlor::platform::QtSerialPort;
using vexlor::platform::SystemClock;
namespace reply = vexlor::link::reply;

namespace {

double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    const auto secs = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return secs(u.ru_utime) + secs(u.ru_stime);
}

// The receiver's end of a real pseudo-terminal: every CR-ended command
// goes to onCommand, which answers through pty.write().
struct PtyReceiver {
    PtyPair pty;
    QtSerialPort port;
    SystemClock clock;
    std::unique_ptr<QSocketNotifier> notifier;
    std::unique_ptr<ScannerLink> link;
    QByteArray pending;
    QStringList commands;
    QStringList shownTemp;
    std::function<void(const QString&)> onCommand;

    bool start()
    {
        if (!pty.isValid())
            return false;
        port.setPortName(pty.slaveName());
        if (!port.open())
            return false;
        link = std::make_unique<ScannerLink>(port, clock);
        QObject::connect(link.get(), &ScannerLink::rawLinesShown, [this](const QString& t) { shownTemp << t; });
        notifier = std::make_unique<QSocketNotifier>(pty.masterFd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] { readCommands(); });
        return true;
    }
    ~PtyReceiver()
    {
        notifier.reset();
        link.reset();
        port.close();
    }
    void readCommands()
    {
        pending += pty.readAvailable();
        qsizetype cr;
        while ((cr = pending.indexOf('\r')) >= 0) {
            const QString command = QString::fromLatin1(pending.left(cr));
            pending.remove(0, cr + 1);
            commands << command;
            if (onCommand)
                onCommand(command);
        }
    }
};

} // namespace

class TestScannerLinkPty : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoLineReply()
    {
        PtyReceiver r;
        QVERIFY(r.start());
        r.onCommand = [&r](const QString& c) { r.pty.write(c.toLatin1() + "\rC001 01462000 N F F\r"); };
        QCOMPARE(r.link->SyncSerialOut("PM001"), QStringLiteral("C001 01462000 N F F"));
        QCOMPARE(r.commands, QStringList {"PM001"});
        QCOMPARE(r.link->ReplyLines(), (QStringList {"PM001", "C001 01462000 N F F"}));
        QCOMPARE(r.shownTemp, QStringList {"PM001\r\nC001 01462000 N F F\r\n\r"});
    }

    // Replies to the poll's last round still on a slow line are not an exchange's answers.
    void exchangeWaitsOutThePollsReplies()
    {
        PtyReceiver r;
        QVERIFY(r.start());
        QTimer poll;
        poll.setInterval(50);
        r.link->setPollTimer(&poll);
        poll.start();
        r.onCommand = [&r](const QString&) { r.pty.write("OK\r"); };
        r.pty.write("W110 F01541300\r");
        // The round's last replies come within the quiet time the exchange waits for.
        QTimer::singleShot(15, [&r] { r.pty.write("MD00\rDLF\r"); });
        QTimer::singleShot(30, [&r] { r.pty.write("LOF\r"); });
        {
            vexlor::link::ExchangeGuard guard(*r.link, QStringLiteral("test"), vexlor::link::ExchangeGuard::Quiet::No);
            QVERIFY(!poll.isActive());
            QCOMPARE(r.link->SyncSerialOut("KEY00"), QStringLiteral("OK"));
        }
        QVERIFY(poll.isActive());
    }

    void splitReply()
    {
        PtyReceiver r;
        QVERIFY(r.start());
        r.onCommand = [&r](const QString&) {
            r.pty.write("C001 01");
            QTimer::singleShot(300, [&r] { r.pty.write("462000\r"); });
        };
        QElapsedTimer t;
        t.start();
        QCOMPARE(r.link->SyncSerialOut("PM001"), QStringLiteral("C001 01462000"));
        QVERIFY(t.elapsed() >= 290);
        QCOMPARE(r.link->ReplyLines(), QStringList {"C001 01462000"});
    }

    void silentReceiverTimesOut()
    {
        PtyReceiver r;
        QVERIFY(r.start());
        r.link->setSerialPortTimeout(0.5);
        int offline = 0;
        QObject::connect(r.link.get(), &ScannerLink::offlineShown, [&offline] { ++offline; });
        QElapsedTimer t;
        t.start();
        QCOMPARE(r.link->SyncSerialOut("MUN"), QString(reply::kTimeout));
        QVERIFY2(t.elapsed() >= 500 && t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(offline, 1);
        QCOMPARE(r.commands, QStringList {"MUN"});
    }

    // A receiver that stops reading finds, when it reads again, only what the
    // tty holds and the bounded queue; the rest was dropped and counted. A
    // line drop discards the queue.
    void stalledReceiverGetsBoundedBacklog_data()
    {
        QTest::addColumn<bool>("lineDrops");
        QTest::newRow("receiver reads again") << false;
        QTest::newRow("line drops first") << true;
    }
    void stalledReceiverGetsBoundedBacklog()
    {
        QFETCH(bool, lineDrops);
        PtyReceiver r;
        QVERIFY(r.start());
        r.notifier->setEnabled(false);
        const int writes = 50000; // 300 KB, far beyond what the tty buffers
        for (int i = 0; i < writes; ++i) {
            r.link->Write("PM001");
            if (i % 500 == 0)
                QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        const qint64 queued = r.port.bytesToWrite();
        QVERIFY2(queued > 0 && queued <= r.link->outputLimit(), qPrintable(QString::number(queued)));
        QVERIFY(r.link->droppedWrites() > 0);
        const qsizetype accepted = writes - qsizetype(r.link->droppedWrites());
        if (lineDrops) {
            r.port.discardOutput();
            QCOMPARE(r.port.bytesToWrite(), 0);
        }
        r.notifier->setEnabled(true);
        if (!lineDrops)
            QTRY_COMPARE(r.commands.size(), accepted);
        r.link->Write("MD"); // the line takes new commands again
        // Discarding may cut a command the tty held; its rest runs into this one.
        QTRY_VERIFY(!r.commands.isEmpty() && r.commands.last().endsWith(QLatin1String("MD")));
        QCOMPARE(r.commands.count(QStringLiteral("PM001")) + 1, r.commands.size());
        if (lineDrops)
            QVERIFY(r.commands.size() <= accepted + 1 - queued / 6);
    }

    void waitingUsesNoCpu()
    {
        PtyReceiver r;
        QVERIFY(r.start());
        r.link->setSerialPortTimeout(1.0);
        QElapsedTimer t;
        t.start();
        const double before = cpuSeconds();
        QCOMPARE(r.link->SyncSerialOut("MUN"), QString(reply::kTimeout));
        const double used = cpuSeconds() - before;
        QVERIFY(t.elapsed() >= 1000);
        QVERIFY2(used < 0.2, qPrintable(QStringLiteral("%1 s of CPU").arg(used)));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestScannerLinkPty)

} // namespace
} // namespace tst_scannerlink_pty

#include "tst_scannerlink_pty.moc"
