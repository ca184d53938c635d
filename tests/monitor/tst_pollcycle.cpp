#include "MonitorRig.h"

#include "monitor/PollCycle.h"
#include "TestSuite.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace tst_pollcycle {
namespace {

using namespace vexlor::monitor;
using namespace vexlor::monitor::testing;

namespace {

const QStringList kQueries {"WI", "MD", "DL", "SB", "MA", "LO"};

struct PollRig : MonitorRig {
    PollCycle poll {port, link, decoder, display};

    // One tick with these bytes waiting (none when empty).
    void tickWith(const QByteArray& bytes)
    {
        if (!bytes.isEmpty())
            port.feed(bytes);
        poll.tick();
    }
};

struct RecordingRemote : PollRemote {
    QStringList& events;
    explicit RecordingRemote(QStringList& e) : events(e) {}
    void forwardTick() override { events << QStringLiteral("forward"); }
    void statusUpkeep() override { events << QStringLiteral("upkeep"); }
};

} // namespace

class TestPollCycle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void requests_data()
    {
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("waiting");
        QTest::addColumn<int>("queued"); // output the receiver has not taken
        QTest::addColumn<bool>("statusChk");
        QTest::addColumn<bool>("asks");
        const int outLimit = int(PollCycle::kMaxPendingOutput);
        QTest::newRow("idle") << 1024 << 0 << 0 << true << true;
        QTest::newRow("819 of 1024") << 1024 << 819 << 0 << true << true;
        QTest::newRow("820 of 1024") << 1024 << 820 << 0 << true << false;
        QTest::newRow("79 of 100") << 100 << 79 << 0 << true << true;
        QTest::newRow("80 of 100") << 100 << 80 << 0 << true << false;
        QTest::newRow("no capacity") << 0 << 0 << 0 << true << false;
        QTest::newRow("Status unchecked") << 1024 << 0 << 0 << false << false;
        QTest::newRow("output at the limit") << 1024 << 0 << outLimit << true << true;
        QTest::newRow("output over the limit") << 1024 << 0 << outLimit + 1 << true << false;
    }
    void requests()
    {
        QFETCH(int, capacity);
        QFETCH(int, waiting);
        QFETCH(bool, asks);
        QFETCH(int, queued);
        PollRig rig;
        rig.port.capacity = capacity;
        QFETCH(bool, statusChk);
        rig.poll.StatusChk = statusChk;
        rig.port.holdOutput(true);
        rig.port.write(QByteArray(queued, 'q'));
        rig.tickWith(QByteArray(waiting, 'x')); // no CR: nothing is decoded
        rig.port.holdOutput(false);
        rig.port.written.remove(0, queued);
        QCOMPARE(rig.takeWritten(), asks ? kQueries : QStringList());
    }

    void offline()
    {
        PollRig rig;
        QSignalSpy changed(&rig.display, &MainDisplay::changed);
        for (int i = 0; i < 14; ++i)
            rig.poll.tick();
        QVERIFY(!rig.link.ScannerOffline());
        QCOMPARE(rig.display.s.ModeLbl, QString());
        rig.poll.tick();
        QVERIFY(rig.link.ScannerOffline());
        QCOMPARE(rig.display.s.ModeLbl, QStringLiteral("Scanner Offline..."));
        QCOMPARE(changed.count(), 1);

        // Shown once; the count stays; the receiver is still asked, a round each wait.
        rig.display.s.ModeLbl = QStringLiteral("other");
        rig.takeWritten();
        for (int i = 0; i < 20; ++i) {
            rig.clock.advanceMs(PollCycle::kIntervalMs);
            rig.poll.tick();
        }
        QCOMPARE(rig.poll.EmptyTickCount(), 15);
        QCOMPARE(rig.display.s.ModeLbl, QStringLiteral("other"));
        QCOMPARE(rig.takeWritten().size(), 20 * PollCycle::kIntervalMs / rig.poll.roundWaitMs() * kQueries.size());

        rig.tickWith("MD00\r");
        QVERIFY(!rig.link.ScannerOffline());
        QCOMPARE(rig.poll.EmptyTickCount(), 0);
        QCOMPARE(rig.display.s.ModeLbl, QStringLiteral("Scan Mode"));
    }

    // A new round goes once the last one's replies are in, or its wait is over; never faster than the tick.
    void roundsFollowTheReplies_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<qint64>("waitMs");
        QTest::addColumn<bool>("secondRound"); // one more round may follow the reply's at once
        QTest::newRow("2400") << "2400,n,8,1" << qint64(1125) << false;
        QTest::newRow("9600") << "9600,n,8,1" << qint64(282) << false;
        QTest::newRow("19200: a round fits a tick") << "19200,n,8,1" << qint64(141) << false;
        QTest::newRow("115200: the tick bounds it") << "115200,n,8,1" << qint64(PollCycle::kIntervalMs) << true;
    }
    void roundsFollowTheReplies()
    {
        QFETCH(QString, settings);
        PollRig rig;
        QVERIFY(rig.port.setSettings(settings));
        QTEST(rig.poll.roundWaitMs(), "waitMs");
        const auto tickAfter = [&](qint64 ms, const QByteArray& bytes = {}) {
            rig.clock.advanceMs(ms);
            rig.tickWith(bytes);
            return rig.takeWritten();
        };
        const qint64 wait = rig.poll.roundWaitMs();
        QCOMPARE(tickAfter(0), kQueries);
        // Some replies, not the last: no new round unless the line carries two.
        QCOMPARE(tickAfter(PollCycle::kIntervalMs, "W113 F01568000\rMD00\r"),
                 rig.poll.roundsInFlight() > 1 ? kQueries : QStringList());
        // The last reply is in: the same tick asks again, once.
        QCOMPARE(tickAfter(PollCycle::kIntervalMs / 2, "DLF\rSB 1234567890\rC001 F01560000\rLOF\r"), kQueries);
        QVERIFY(rig.poll.roundOpen());
        // A line that carries a round within a tick is asked every tick, one round ahead at most.
        QFETCH(bool, secondRound);
        if (secondRound)
            QCOMPARE(tickAfter(0), kQueries);
        // Replies that never come hold the next round for the wait only.
        QCOMPARE(tickAfter(wait - 1), QStringList());
        QCOMPARE(tickAfter(1), kQueries);
    }

    // A receiver still answering an old round is slow, not silent: no round piles up behind it.
    void lateRepliesHoldTheNextRound()
    {
        PollRig rig;
        const qint64 wait = rig.poll.roundWaitMs();
        rig.poll.tick();
        QCOMPARE(rig.takeWritten(), kQueries);
        for (int i = 0; i < 3; ++i) {
            rig.clock.advanceMs(wait - 1);
            rig.tickWith("MD00\r");
            QCOMPARE(rig.takeWritten(), QStringList());
        }
        rig.clock.advanceMs(wait);
        rig.poll.tick();
        QCOMPARE(rig.takeWritten(), kQueries);
    }

    // An exchange took the last round's replies: the poll asks at once, and no silence is counted.
    void resumedPollAsksAtOnce()
    {
        PollRig rig;
        rig.link.setPollTimer(&rig.poll.MainTimer());
        rig.poll.tick();
        rig.takeWritten();
        for (int i = 0; i < 10; ++i)
            rig.poll.tick();
        rig.link.pausePoll();
        rig.link.resumePoll();
        rig.poll.MainTimer().stop(); // ticked by hand
        QCOMPARE(rig.poll.EmptyTickCount(), 0);
        rig.poll.tick();
        QCOMPARE(rig.takeWritten(), kQueries);
    }

    // The round's last reply split between two ticks closes it once, when whole.
    void splitLastReplyClosesOnce()
    {
        PollRig rig;
        rig.poll.tick();
        rig.takeWritten();
        rig.tickWith("W113 F01568000\rMD00\rDLF\rSB 1234567890\rC001 F01560000\rLO");
        QCOMPARE(rig.takeWritten(), QStringList());
        rig.tickWith("F\r");
        QCOMPARE(rig.takeWritten(), kQueries);
        rig.clock.advanceMs(PollCycle::kIntervalMs);
        rig.poll.tick();
        QCOMPARE(rig.takeWritten(), QStringList());
    }

    // A line-state change may clear the flag while the receiver stays silent.
    void offlineAgainWithoutBytes()
    {
        PollRig rig;
        for (int i = 0; i < 15; ++i)
            rig.poll.tick();
        QVERIFY(rig.link.ScannerOffline());
        rig.link.setScannerOffline(false);
        rig.display.s.ModeLbl = QStringLiteral("Scan Mode");
        rig.poll.tick();
        QVERIFY(rig.link.ScannerOffline());
        QCOMPARE(rig.display.s.ModeLbl, QStringLiteral("Scanner Offline..."));
    }

    void gathering_data()
    {
        QTest::addColumn<QByteArrayList>("chunks"); // one per tick
        QTest::addColumn<QStringList>("batches");  // ReplyLines after each tick, "|"-joined
        QTest::addColumn<QString>("pending");
        QTest::newRow("second line unterminated") << QByteArrayList {"MD01\rTB A E2", "-800    \r"}
                                                  << QStringList {"MD01", "TB A E2-800    "} << "";
        QTest::newRow("one line over three ticks") << QByteArrayList {"W11", "0 F0146", "2000\r"}
                                                   << QStringList {"", "", "W110 F01462000"} << "";
        QTest::newRow("NG and ERR anywhere") << QByteArrayList {"MD01\rNG\rERR\rPC A0NG\rXERRX\rMD02\r"}
                                             << QStringList {"MD01|MD02"} << "";
        QTest::newRow("case-sensitive") << QByteArrayList {"ng\rerr\r"} << QStringList {"ng|err"} << "";
        QTest::newRow("empty lines") << QByteArrayList {"\r\rMD01\r\r"} << QStringList {"MD01"} << "";
        QTest::newRow("incomplete kept") << QByteArrayList {"MD0"} << QStringList {""} << "MD0";
        QTest::newRow("byte 0xFE") << QByteArrayList {"IC A1 0\xfe" "2032\r"}
                                   << QStringList {QStringLiteral("IC A1 0\u00fe2032")} << "";
    }
    void gathering()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QStringList, batches);
        PollRig rig;
        for (qsizetype i = 0; i < chunks.size(); ++i) {
            rig.tickWith(chunks[i]);
            QCOMPARE(rig.link.ReplyLines().join(QLatin1Char('|')), batches[i]);
        }
        QTEST(rig.poll.PendingInput(), "pending");
    }

    void partialLineDecodedLater()
    {
        PollRig rig;
        rig.tickWith("MD01\rTB A E2");
        QCOMPARE(rig.display.s.ModeLbl, QStringLiteral("Manual Mode"));
        QCOMPARE(rig.display.s.FreqBankLbl, QString());
        rig.tickWith("-800    \r");
        QCOMPARE(rig.display.s.FreqBankLbl, QStringLiteral("1"));
        QCOMPARE(rig.display.s.SystemLbl, QStringLiteral("E2-800    "));
    }

    void rawText_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("line and rest") << QByteArrayList {"MD01\rTB"} << QStringList {"MD01\r\nTB"};
        QTest::newRow("terminated") << QByteArrayList {"MD01\r"} << QStringList {"MD01\r\n\r"};
        QTest::newRow("lone CRs") << QByteArrayList {"\r\r"} << QStringList {"\r\r\n\r\r\n\r"};
        QTest::newRow("rest joins next") << QByteArrayList {"TB", " A\r"} << QStringList {"TB", "TB A\r\n\r"};
    }
    void rawText()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QStringList, shown);
        PollRig rig;
        QSignalSpy spy(&rig.poll, &PollCycle::rawLinesShown);
        QStringList seen;
        for (const QByteArray& chunk : chunks) {
            rig.tickWith(chunk);
            QCOMPARE(spy.count(), 1);
            seen << spy.takeFirst().at(0).toString();
        }
        rig.poll.tick();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(seen, shown);
    }

    // Empty ticks must not decode the last batch again.
    void decodeOnce_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("closing"); // fed after the empty ticks
        QTest::addColumn<QString>("probe");
        QTest::addColumn<double>("expected");
        QTest::newRow("carrier starts once") << QByteArray("MD02\rW110 F01462000\r+\r") << QByteArray("-\r")
                                             << "seconds" << 3.0;
        QTest::newRow("one lock-out entry") << QByteArray("SS 01462000\r") << QByteArray() << "lockouts" << 1.0;
        QTest::newRow("one follow-up query") << QByteArray("LL01440000\r") << QByteArray() << "LU" << 1.0;
        QTest::newRow("one log line") << QByteArray("MD12\rTB D E2-800    \rID S 002032\r") << QByteArray()
                                      << "log" << 1.0;
    }
    void decodeOnce()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, closing);
        QFETCH(QString, probe);
        PollRig rig;
        rig.tickWith(bytes);
        for (int i = 0; i < 10; ++i) {
            rig.clock.advanceMs(300);
            rig.poll.tick();
        }
        QVERIFY(!rig.link.ScannerOffline());
        rig.tickWith(closing);
        double value = -1;
        if (probe == QLatin1String("seconds"))
            value = rig.measured("X", "0", "146.2000");
        else if (probe == QLatin1String("lockouts"))
            value = double(rig.lockouts.FreqList1.size());
        else if (probe == QLatin1String("LU"))
            value = double(rig.takeWritten().count(QStringLiteral("LU")));
        else if (probe == QLatin1String("log"))
            value = double(rig.logLines().size());
        QTEST(value, "expected");
    }

    // A transaction's reply lines reach the decoder once, on the next tick.
    void transactionBatchDecodedOnce()
    {
        PollRig rig;
        rig.port.onWrite = [&rig](const QByteArray& bytes) {
            if (bytes == "LL\r")
                QTimer::singleShot(0, &rig.port, [&rig] { rig.port.feed("LL01440000\r"); });
        };
        QCOMPARE(rig.link.SyncSerialOut(QStringLiteral("LL")), QStringLiteral("LL01440000"));
        rig.port.onWrite = nullptr;
        rig.takeWritten();
        rig.poll.tick();
        rig.poll.tick();
        QCOMPARE(rig.display.published().LLbox, QStringLiteral("144.0000"));
        QCOMPARE(rig.takeWritten().count(QStringLiteral("LU")), 1);
    }

    void remoteFirst()
    {
        PollRig rig;
        QStringList events;
        RecordingRemote remote(events);
        rig.poll.setRemote(&remote);
        rig.port.onWrite = [&](const QByteArray& b) { events << QString::fromLatin1(b).trimmed(); };
        const QStringList plain = QStringList {"forward", "upkeep"} + kQueries;

        rig.poll.tick();
        QCOMPARE(events, plain);
        events.clear();
        rig.poll.StatusChk = false;
        rig.poll.tick();
        QCOMPARE(events, (QStringList {"forward", "upkeep"}));
        events.clear();
        rig.poll.StatusChk = true;
        rig.clock.advanceMs(rig.poll.roundWaitMs()); // the first round's replies never came
        rig.tickWith("LL01440000\r");
        QCOMPARE(events, plain + QStringList {"LU"});
        events.clear();
        for (int i = 0; i < 16; ++i) // into and beyond offline
            rig.poll.tick();
        QCOMPARE(events.count(QStringLiteral("forward")), 16);
        QCOMPARE(events.count(QStringLiteral("upkeep")), 16);
    }

    // Noise without a CR must not pile up from tick to tick.
    void noiseWithoutCR()
    {
        PollRig rig;
        for (int i = 0; i < 10; ++i) {
            rig.tickWith(QByteArray(500, 'x'));
            QVERIFY(rig.poll.PendingInput().size() <= PollCycle::kMaxPendingInput);
        }
        rig.tickWith(QByteArray(PollCycle::kMaxPendingInput + 1, 'x'));
        rig.tickWith("MD01\r");
        QCOMPARE(rig.display.s.ModeLbl, QStringLiteral("Manual Mode"));
        QCOMPARE(rig.poll.PendingInput(), QString());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestPollCycle)

} // namespace
} // namespace tst_pollcycle

#include "tst_pollcycle.moc"
