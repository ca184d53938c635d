#include "LinePort.h"
#include "LivePoll.h"
#include "WaitFor.h"
#include "TestSuite.h"
#include "link/Commands.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/SystemClock.h"
#include "simulator/SimulatorHost.h"

#include <QElapsedTimer>
#include <QTest>

#include <memory>

namespace tst_linepace {
namespace {

using namespace vexlor;

// The live poll against a simulated receiver on a line as slow as the real
// one, with its small input buffer: nothing may pile up or be lost.
struct PacedRig {
    explicit PacedRig(int baud) : baud(baud), host(options(baud))
    {
        if (!host.start())
            return;
        serial.setPortName(host.portName());
        started = serial.setSettings(QStringLiteral("%1,n,8,1").arg(baud)) && port.open();
    }
    static simulator::SimulatorOptions options(int baud)
    {
        simulator::SimulatorOptions o;
        o.seed = 3;
        o.seedGiven = true;
        o.activity = false; // every line is an answer, so answers pair with their commands
        o.faults.baud = baud;
        return o;
    }

    int baud;
    simulator::SimulatorHost host;
    bool started = false;
    platform::SystemClock clock;
    platform::QtSerialPort serial;
    fakes::LinePort port {serial};
    fakes::LivePoll live {port, clock};
    link::ScannerLink& link = live.link;
    monitor::PollCycle& poll = live.poll;
};

class TestLinePace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The bauds run side by side, so the minute is spent once.
    void aMinuteOfPolling()
    {
        constexpr int kSeconds = 60;
        constexpr int kKeyEveryMs = 2000;
        const QList<int> bauds {2400, 9600, 19200};
        std::vector<std::unique_ptr<PacedRig>> rigs;
        for (const int baud : bauds) {
            rigs.push_back(std::make_unique<PacedRig>(baud));
            QVERIFY2(rigs.back()->started, qPrintable(rigs.back()->host.errorString()));
            rigs.back()->poll.MainTimer().start();
        }
        QElapsedTimer t;
        t.start();
        qint64 nextKey = kKeyEveryMs;
        int keys = 0;
        while (t.elapsed() < kSeconds * 1000) {
            QTest::qWait(20);
            if (t.elapsed() < nextKey)
                continue;
            nextKey += kKeyEveryMs;
            ++keys;
            for (auto& rig : rigs)
                rig->link.Write(link::cmd::key(0)); // Scan: a scanning receiver goes on scanning
        }
        for (auto& rig : rigs)
            rig->poll.MainTimer().stop();
        // What is still on the line comes in.
        for (auto& rig : rigs) {
            testing::waitFor([&] { return rig->port.readAll(), rig->port.unanswered() == 0; }, 5000);
            QVERIFY2(rig->port.unanswered() == 0, qPrintable(QStringLiteral("%1 baud, %2 bytes lost: %3 unanswered").arg(rig->baud).arg(rig->host.lostBytes()).arg(QString::fromLatin1(rig->port.waiting().join(' ')))));
        }

        for (auto& rig : rigs) {
            const QString at = QStringLiteral("%1 baud").arg(rig->baud);
            const qint64 lineMs = rig->link.lineMs(monitor::PollCycle::kRoundBytes);
            // A slow line carries a round per round-time; a fast one a round per tick.
            const qint64 roundMs = std::max<qint64>(monitor::PollCycle::kIntervalMs, lineMs);
            const auto rounds = std::count_if(rig->port.answers().cbegin(), rig->port.answers().cend(),
                                              [](const auto& a) { return a.command == "LO"; });
            QVERIFY(keys > 0);
            QVERIFY2(rounds >= kSeconds * 1000 / roundMs / 2, qPrintable(QStringLiteral("%1: %2 rounds").arg(at).arg(rounds)));
            QVERIFY2(rig->host.lostBytes() == 0, qPrintable(QStringLiteral("%1: %2 bytes lost").arg(at).arg(rig->host.lostBytes())));
            QCOMPARE(rig->port.unasked(), 0);
            // Ages stay near a round's line time from the first seconds to the last.
            const double bound = 2.0 * double(rig->poll.roundWaitMs()) + 250;
            const double early = rig->port.percentile(95, {}, 5000, 20000);
            const double late = rig->port.percentile(95, {}, (kSeconds - 15) * 1000, kSeconds * 1000);
            const double keyAge = rig->port.percentile(100, "KEY");
            const QString figures = QStringLiteral("%1: p95 %2 ms early, %3 ms late, keys at most %4 ms, bound %5 ms")
                                        .arg(at).arg(early).arg(late).arg(keyAge).arg(bound);
            QVERIFY2(late <= bound && early <= bound && keyAge <= bound, qPrintable(figures));
            const auto keysAnswered = std::count_if(rig->port.answers().cbegin(), rig->port.answers().cend(),
                                                    [](const auto& a) { return a.command.startsWith("KEY"); });
            QCOMPARE(keysAnswered, keys);
            qInfo("%s", qPrintable(figures));
        }
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestLinePace)

} // namespace
} // namespace tst_linepace

#include "tst_linepace.moc"
