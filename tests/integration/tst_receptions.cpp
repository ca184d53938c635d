#include "link/Commands.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/MemoryTables.h"
#include "monitor/CompactDisplay.h"
#include "monitor/FreqLockoutList.h"
#include "monitor/MainDisplay.h"
#include "monitor/ModeTable.h"
#include "monitor/PollCycle.h"
#include "monitor/StatusDecoder.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/SystemClock.h"
#include "recording/ActivityLog.h"
#include "recording/MeasureIntfc.h"
#include "simulator/MemoryState.h"
#include "simulator/ReceiverModel.h"
#include "simulator/SimulatorHost.h"
#include "TestSuite.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace tst_receptions {
namespace {

using namespace vexlor;

// Scripted receptions from the simulator, through a real tty, into the log and the statistics.
class TestReceptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void receptionsAndLog()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("night.script"));
        {
            QFile f(script);
            QVERIFY(f.open(QIODevice::WriteOnly));
            // Log events more than two seconds apart, so the rate limit drops none.
            f.write("gap 500\n"
                    "channel 1 1500\n"
                    "gap 5000\n"
                    "talkgroup 002032 1200\n"
                    "gap 3000\n"
                    "talkgroup 004711 1200\n"
                    "gap 60000\n");
        }
        simulator::SimulatorOptions options;
        options.seed = 7;
        options.seedGiven = true;
        options.scriptFile = script;
        simulator::SimulatorHost host(options);
        QVERIFY2(host.start(), qPrintable(host.errorString()));
        const simulator::MemoryState::Channel ch1 = host.model().memory().channel(1);
        QVERIFY(ch1.frequency > 0);
        const QString freq1 = link::wire::frequencyFromWire(link::wire::digits(ch1.frequency, 8));

        platform::SystemClock clock;
        platform::QtSerialPort port;
        port.setPortName(host.portName());
        QVERIFY(port.setSettings(QStringLiteral("9600,n,8,1")));
        QVERIFY2(port.open(), qPrintable(port.errorString()));
        link::ScannerLink link(port, clock);
        auto tables = std::make_unique<memory::MemoryTables>();
        tables->Channels.set(1, memory::MemoryTables::kChName, "Harbour");
        recording::LogFlags flags = recording::LogFlags::fromLogWhat(QStringLiteral("100100100"));
        recording::ActivityLog log(flags, clock);
        QVERIFY(log.open(dir.filePath(QStringLiteral("night"))));
        recording::MeasureIntfc meas(clock);
        monitor::MainDisplay display;
        monitor::CompactDisplay compact;
        monitor::FreqLockoutList lockouts;
        monitor::StatusDecoder decoder({display, compact, lockouts, *tables, log, meas, link, clock});
        monitor::PollCycle poll(port, link, decoder, display);
        link.setPollTimer(&poll.MainTimer());
        poll.MainTimer().start();

        bool sawChannel = false;
        bool sawSquelch = false;
        QElapsedTimer t;
        t.start();
        bool trunking = false;
        while (t.elapsed() < 13000) {
            QTest::qWait(20);
            sawSquelch |= display.s.SQopen;
            sawChannel |= display.s.ChLbl == QLatin1String("1") && display.s.NameLbl == QLatin1String("Harbour");
            // The calls come in trunk mode, where the channel query is refused.
            if (!trunking && t.elapsed() > 5500) {
                link.Write(link::cmd::key(13));
                trunking = true;
            }
        }
        QVERIFY(monitor::isTrunking(decoder.ModeCode));
        poll.MainTimer().stop();
        QVERIFY(sawSquelch);
        QVERIFY(sawChannel);

        QFile f(dir.filePath(QStringLiteral("night.log")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QStringList logged;
        for (const QByteArray& l : lines) {
            if (!l.trimmed().isEmpty())
                logged << QString::fromLatin1(l).trimmed();
        }
        // The channel is logged once its squelch has been closed for two seconds, then each call.
        QCOMPARE(logged.size(), 3);
        QCOMPARE(logged[0], freq1);
        QVERIFY2(logged[1].endsWith(QLatin1String("  002032")), qPrintable(logged[1]));
        QVERIFY2(logged[2].endsWith(QLatin1String("  004711")), qPrintable(logged[2]));

        QStringList keys;
        double channelSeconds = 0;
        for (const auto& e : meas.Measurements()) {
            keys << e.key();
            if (e.ScanMode == QLatin1String("C") && e.Index == QLatin1String("1") && e.Identity == freq1)
                channelSeconds = e.ElapsedTime;
        }
        const QString bank = display.s.FreqBankLbl;
        QVERIFY2(keys.contains(QStringLiteral("T*:%1:002032").arg(bank)), qPrintable(keys.join(QLatin1Char('|'))));
        QVERIFY(keys.contains(QStringLiteral("T*:%1:004711").arg(bank)));
        QVERIFY2(channelSeconds > 0.5 && channelSeconds < 2.0, qPrintable(keys.join(QLatin1Char('|'))));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestReceptions)

} // namespace
} // namespace tst_receptions

#include "tst_receptions.moc"
