#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "link/Replies.h"
#include "link/ScannerLink.h"
#include "TestSuite.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tst_scannerlink {
namespace {

using vexlor::fakes::FakeClock;
using vexlor::fakes::FakeSerialPort;
using vexlor::link::ScannerLink;
namespace reply = vexlor::link::reply;

namespace {

constexpr qint64 kStepMs = 10;

// Plays the receiver on a fake port. Once the command is written, fake time
// moves on kStepMs per event-loop pass and scheduled actions run when due.
struct Rig {
    FakeSerialPort port;
    FakeClock clock;
    QPointer<ScannerLink> link;
    QTimer driver;
    QList<QPair<qint64, std::function<void()>>> actions;
    std::function<void(const QByteArray&)> responder;
    qint64 writtenAt = -1;
    QStringList shownTemp;
    int offlineShown = 0;

    Rig()
    {
        port.open();
        link = new ScannerLink(port, clock);
        QObject::connect(link, &ScannerLink::rawLinesShown, [this](const QString& t) { shownTemp << t; });
        QObject::connect(link, &ScannerLink::offlineShown, [this] { ++offlineShown; });
        driver.setInterval(0);
        QObject::connect(&driver, &QTimer::timeout, [this] { step(); });
        port.onWrite = [this](const QByteArray& bytes) {
            if (writtenAt < 0) {
                writtenAt = clock.monotonicMs();
                driver.start();
                runDue();
            }
            if (responder)
                responder(bytes);
        };
    }
    ~Rig() { delete link; }

    qint64 elapsed() const { return clock.monotonicMs() - writtenAt; }
    void at(qint64 ms, std::function<void()> action) { actions.append({ms, std::move(action)}); }
    void feedAt(qint64 ms, const QByteArray& bytes)
    {
        at(ms, [this, bytes] { port.feed(bytes); });
    }
    void step()
    {
        clock.advanceMs(kStepMs);
        runDue();
    }
    void runDue()
    {
        while (!actions.isEmpty() && actions.first().first <= elapsed())
            actions.takeFirst().second();
    }
    QString run(const QString& command)
    {
        const QString result = link ? link->SyncSerialOut(command) : QString();
        driver.stop();
        return result;
    }
};

} // namespace

class TestScannerLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // script entries are "ms|bytes", offsets from the write of the command.
    void transaction_data()
    {
        QTest::addColumn<double>("timeout");
        QTest::addColumn<QByteArray>("stale");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("temp"); // "-": nothing shown
        QTest::addColumn<qint64>("minMs");
        QTest::addColumn<qint64>("maxMs");
        const QStringList old {"old"};
        const QString err = reply::kTimeout;
        QTest::newRow("echo and answer together")
            << 3.0 << QByteArray() << QStringList {"0|PM001\rC001 01462000\r"} << "C001 01462000"
            << QStringList {"PM001", "C001 01462000"} << "PM001\r\nC001 01462000\r\n\r" << 0ll << 50ll;
        QTest::newRow("two bytes ending in CR time out")
            << 3.0 << QByteArray() << QStringList {"0|K\r"} << err << old << "-" << 3001ll << 3030ll;
        QTest::newRow("two bytes that never grow")
            << 3.0 << QByteArray() << QStringList {"0|O", "1000|K"} << err << old << "-" << 3001ll << 3030ll;
        QTest::newRow("split reply waits for its CR")
            << 3.0 << QByteArray() << QStringList {"0|C001 01", "500|462000\r"} << "C001 01462000"
            << QStringList {"C001 01462000"} << "C001 01462000\r\n\r" << 500ll << 530ll;
        QTest::newRow("complete line then partial one")
            << 3.0 << QByteArray() << QStringList {"0|OK\rMD0", "200|0\r"} << "MD00" << QStringList {"OK", "MD00"}
            << "OK\r\nMD00\r\n\r" << 200ll << 230ll;
        QTest::newRow("stale line is the reply")
            << 3.0 << QByteArray("MD00\r") << QStringList {} << "MD00" << QStringList {"MD00"} << "MD00\r\n\r"
            << 0ll << 30ll;
        QTest::newRow("stale line before the answer")
            << 3.0 << QByteArray("MD00\r") << QStringList {"0|OK\r"} << "OK" << QStringList {"MD00", "OK"}
            << "MD00\r\nOK\r\n\r" << 0ll << 30ll;
        QTest::newRow("silent receiver") << 3.0 << QByteArray() << QStringList {} << err << old << "-" << 3001ll << 3030ll;
        QTest::newRow("shorter time-out") << 0.5 << QByteArray() << QStringList {} << err << old << "-" << 501ll << 530ll;
        QTest::newRow("reply without end")
            << 3.0 << QByteArray() << QStringList {"100|PM001 0146"} << err << old << "-" << 3101ll << 3140ll;
        QTest::newRow("slow but steady gets twice the time-out")
            << 3.0 << QByteArray() << QStringList {"2900|PM0", "5000|01 0146", "5800|2000\r"} << "PM001 01462000"
            << QStringList {"PM001 01462000"} << "PM001 01462000\r\n\r" << 5800ll << 5830ll;
        QTest::newRow("end after the second time-out")
            << 3.0 << QByteArray() << QStringList {"2900|PM0", "6100|01\r"} << err << old << "-" << 5901ll << 5950ll;
        QTest::newRow("only CRs") << 3.0 << QByteArray() << QStringList {"0|\r\r\r"} << "" << QStringList {}
                                  << "\r\r\n\r\r\n\r\r\n\r" << 0ll << 30ll;
        QTest::newRow("empty lines between")
            << 3.0 << QByteArray() << QStringList {"0|\rOK\r\r"} << "OK" << QStringList {"OK"} << "\r\r\nOK\r\n\r\r\n\r"
            << 0ll << 30ll;
        QTest::newRow("high bytes as Latin-1")
            << 3.0 << QByteArray() << QStringList {"0|A\u00e9Z\r"} << "A\u00e9Z" << QStringList {"A\u00e9Z"}
            << "A\u00e9Z\r\n\r" << 0ll << 30ll;
    }
    void transaction()
    {
        QFETCH(double, timeout);
        QFETCH(QByteArray, stale);
        QFETCH(QStringList, script);
        QFETCH(QString, result);
        QFETCH(QStringList, lines);
        QFETCH(QString, temp);
        QFETCH(qint64, minMs);
        QFETCH(qint64, maxMs);
        Rig rig;
        rig.link->setSerialPortTimeout(timeout);
        rig.link->setReplyLines({"old"});
        if (!stale.isEmpty())
            rig.port.feed(stale);
        for (const QString& entry : script) {
            const qsizetype bar = entry.indexOf(QLatin1Char('|'));
            rig.feedAt(entry.left(bar).toLongLong(), entry.mid(bar + 1).toLatin1());
        }
        QCOMPARE(rig.run("PM001"), result);
        QCOMPARE(rig.port.written, QByteArray("PM001\r"));
        QCOMPARE(rig.link->ReplyLines(), lines);
        QCOMPARE(rig.shownTemp, temp == "-" ? QStringList {} : QStringList {temp});
        QCOMPARE(rig.offlineShown, result == reply::kTimeout ? 1 : 0);
        QVERIFY2(rig.elapsed() >= minMs && rig.elapsed() <= maxMs, qPrintable(QString::number(rig.elapsed())));
    }

    void unreachable_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("dsr");
        QTest::newRow("port closed") << false << true;
        QTest::newRow("DSR off") << true << false;
    }
    void unreachable()
    {
        QFETCH(bool, open);
        QFETCH(bool, dsr);
        Rig rig;
        rig.port.setDsr(dsr);
        if (!open)
            rig.port.close();
        rig.offlineShown = 0;
        QCOMPARE(rig.run("MUN"), QString(reply::kTimeout));
        QVERIFY(rig.port.written.isEmpty());
        QCOMPARE(rig.offlineShown, 1);
    }

    void ctsAloneDoesNotBlock()
    {
        Rig rig;
        rig.port.setCts(false);
        rig.responder = [&rig](const QByteArray&) { rig.port.feed("OK\r"); };
        QCOMPARE(rig.run("MUN"), QStringLiteral("OK"));
    }

    void straightWrites()
    {
        Rig rig;
        rig.link->Write("PM001");
        rig.link->Write("");
        rig.link->Write(QString(QChar(0xe9)));
        QCOMPARE(rig.port.written, QByteArray("PM001\r\r\xe9\r"));
        rig.port.close();
        rig.link->Write("WI");
        QCOMPARE(rig.port.written, QByteArray("PM001\r\r\xe9\r"));
    }

    // Floods the reply with more than any receiver line: what is kept stays
    // within the bound, in whole lines, and the answer still comes through.
    void replyBounded_data()
    {
        QTest::addColumn<QByteArray>("flood");
        QTest::addColumn<QString>("result");
        QTest::newRow("noise without CR") << QByteArray(100000, 'x') << "OK";
        QTest::newRow("many lines") << QByteArray("SS 01462000\r").repeated(10000) << "SS 01462000";
    }
    void replyBounded()
    {
        QFETCH(QByteArray, flood);
        Rig rig;
        rig.feedAt(0, flood);
        rig.feedAt(100, "OK\r");
        QTEST(rig.run("PM001"), "result");
        const QStringList lines = rig.link->ReplyLines();
        QVERIFY(lines.join(QLatin1Char('\r')).size() < ScannerLink::kMaxReplyInput);
        QCOMPARE(lines.count("SS 01462000") + lines.count("OK"), lines.size());
    }

    // A receiver that stops reading: straight writes stop at a few seconds of
    // line time and are counted; a transaction still goes; a line drop empties the queue.
    void outputBound_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<qint64>("limit");
        QTest::newRow("9600 baud") << "9600,n,8,1" << 2880ll;
        QTest::newRow("parity and two stop bits") << "9600,e,8,2" << 2400ll;
        QTest::newRow("slow line keeps a lock-out read") << "300,n,8,1" << 512ll;
    }
    void outputBound()
    {
        QFETCH(QString, settings);
        QFETCH(qint64, limit);
        Rig rig;
        QVERIFY(rig.port.setSettings(settings));
        QSignalSpy dropped(rig.link, &ScannerLink::writesDropped);
        rig.port.holdOutput(true);
        const qint64 fits = limit / 6;
        for (qint64 i = 0; i < fits + 3; ++i)
            rig.link->Write("PM001");
        QCOMPARE(rig.port.bytesToWrite(), fits * 6);
        QCOMPARE(rig.link->droppedWrites(), 3u);
        QCOMPARE(dropped.size(), 3);
        QCOMPARE(dropped.last().first().toULongLong(), 3u);

        rig.responder = [&rig](const QByteArray& bytes) {
            if (bytes.endsWith("MUN\r"))
                rig.port.feed("OK\r");
        };
        QTimer::singleShot(0, &rig.port, [&rig] { rig.port.holdOutput(false); });
        QCOMPARE(rig.run("MUN"), QStringLiteral("OK"));

        rig.port.holdOutput(true);
        rig.link->Write("PM001");
        rig.port.setDsr(false);
        QCOMPARE(rig.port.bytesToWrite(), 0);
    }

    void writeDuringWait()
    {
        Rig rig;
        rig.at(100, [&rig] { rig.link->Write("WI"); });
        rig.feedAt(200, "OK\r");
        QCOMPARE(rig.run("MUN"), QStringLiteral("OK"));
        QCOMPARE(rig.port.writtenLines(), (QStringList {"MUN", "WI"}));
    }

    void portClosedDuringWait()
    {
        Rig rig;
        rig.feedAt(0, "PM0");
        rig.at(300, [&rig] { rig.port.close(); });
        QCOMPARE(rig.run("PM001"), QString(reply::kTimeout));
        QVERIFY(rig.elapsed() < 400);
        QCOMPARE(rig.offlineShown, 1);
    }

    void linkDeletedDuringWait()
    {
        Rig rig;
        rig.at(300, [&rig] { delete rig.link; });
        QCOMPARE(rig.run("PM001"), QString(reply::kTimeout));
        QVERIFY(rig.link.isNull());
        QVERIFY(rig.elapsed() < 400);
    }

    void onComm_data()
    {
        QTest::addColumn<bool>("cts");
        QTest::addColumn<bool>("dsr");
        QTest::addColumn<QString>("change"); // pin that changes and its new state
        QTest::addColumn<bool>("offlineBefore");
        QTest::addColumn<bool>("offlineAfter");
        QTest::addColumn<bool>("dropped");
        QTest::newRow("CTS falls") << true << true << "cts off" << false << true << true;
        QTest::newRow("DSR falls") << true << true << "dsr off" << false << true << true;
        QTest::newRow("CTS falls with DSR off") << true << false << "cts off" << false << true << true;
        QTest::newRow("CTS rises, DSR off") << false << false << "cts on" << true << false << false;
        QTest::newRow("DSR rises, CTS off") << false << false << "dsr on" << true << false << false;
        QTest::newRow("CTS rises, DSR on") << false << true << "cts on" << true << true << false;
        QTest::newRow("DSR rises, CTS on") << true << false << "dsr on" << true << true << false;
    }
    void onComm()
    {
        QFETCH(bool, cts);
        QFETCH(bool, dsr);
        QFETCH(QString, change);
        QFETCH(bool, offlineBefore);
        QFETCH(bool, offlineAfter);
        QFETCH(bool, dropped);
        Rig rig;
        rig.port.setCts(cts);
        rig.port.setDsr(dsr);
        rig.port.feed("MD00\r");
        rig.link->setScannerOffline(offlineBefore);
        rig.offlineShown = 0;
        rig.port.discardInputCount = rig.port.discardOutputCount = 0;
        const bool on = change.endsWith("on");
        if (change.startsWith("cts"))
            rig.port.setCts(on);
        else
            rig.port.setDsr(on);
        QCOMPARE(rig.link->ScannerOffline(), offlineAfter);
        QCOMPARE(rig.offlineShown, dropped ? 1 : 0);
        QCOMPARE(rig.port.discardInputCount, dropped ? 1 : 0);
        QCOMPARE(rig.port.discardOutputCount, dropped ? 1 : 0);
        QCOMPARE(rig.port.bytesAvailable(), dropped ? 0 : 5);
    }

    // steps: q quiet, r release, c clear QuietedScanner from outside
    void quieting_data()
    {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<bool>("timerRunning");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<bool>("timerAfter");
        QTest::addColumn<bool>("quietedAfter");
        const QStringList quiet {"MUN", "QUF", "IDF"};
        const QStringList both {"MUN", "QUF", "IDF", "MUA", "QUN", "IDN"};
        QTest::newRow("quiet") << true << true << "q" << quiet << false << true;
        QTest::newRow("quiet, quiet, release") << true << true << "qqr" << both << true << false;
        QTest::newRow("release wakes a stopped poll") << true << false << "qr" << both << true << false;
        QTest::newRow("release alone") << true << false << "r" << QStringList {} << false << false;
        QTest::newRow("release alone, poll running") << true << true << "r" << QStringList {} << true << false;
        QTest::newRow("cleared from outside") << true << true << "qcr" << quiet << false << false;
        QTest::newRow("second round") << true << true << "qrqr" << both + both << true << false;
        QTest::newRow("offline receiver") << false << true << "q" << QStringList {} << false << true;
        QTest::newRow("offline receiver released") << false << false << "qr" << QStringList {} << true << false;
    }
    void quieting()
    {
        QFETCH(bool, portOpen);
        QFETCH(bool, timerRunning);
        QFETCH(QString, steps);
        QFETCH(QStringList, written);
        QFETCH(bool, timerAfter);
        QFETCH(bool, quietedAfter);
        Rig rig;
        QTimer poll;
        poll.setInterval(50);
        if (timerRunning)
            poll.start();
        rig.link->setPollTimer(&poll);
        rig.responder = [&rig](const QByteArray&) { rig.port.feed("OK\r"); };
        if (!portOpen)
            rig.port.close();
        const qint64 startMs = rig.clock.monotonicMs();
        for (const QChar s : steps) {
            if (s == 'q')
                rig.link->QuietScanner(true);
            else if (s == 'r')
                rig.link->QuietScanner(false);
            else
                rig.link->setQuietedScanner(false);
        }
        QCOMPARE(rig.port.writtenLines(), written);
        QCOMPARE(poll.isActive(), timerAfter);
        QCOMPARE(rig.link->QuietedScanner(), quietedAfter);
        // Answered or refused at once: nothing ran into a time-out.
        QVERIFY(rig.clock.monotonicMs() - startMs < 1000);
    }

    void quietingSilentReceiver()
    {
        Rig rig;
        QTimer poll;
        rig.link->setPollTimer(&poll);
        rig.link->QuietScanner(true);
        rig.driver.stop();
        // One time-out, the rest sent without waiting, and the state changes anyway.
        QCOMPARE(rig.port.writtenLines(), (QStringList {"MUN", "QUF", "IDF"}));
        QVERIFY(rig.elapsed() > 3000 && rig.elapsed() < 3200);
        QCOMPARE(rig.offlineShown, 1);
        QVERIFY(rig.link->QuietedScanner());
        QVERIFY(rig.link->receiverSilent());
        // Any byte later, a poll reply say, ends the silence.
        rig.port.feed("W");
        QVERIFY(!rig.link->receiverSilent());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestScannerLink)

} // namespace
} // namespace tst_scannerlink

#include "tst_scannerlink.moc"
