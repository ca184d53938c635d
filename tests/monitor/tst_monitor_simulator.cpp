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
#include "monitor/StatusRefresh.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/SystemClock.h"
#include "recording/ActivityLog.h"
#include "recording/MeasureIntfc.h"
#include "simulator/MemoryState.h"
#include "simulator/ReceiverModel.h"
#include "simulator/SimulatorHost.h"
#include "TestSuite.h"

#include <QTest>
#include <memory>

namespace tst_monitor_simulator {
namespace {

using namespace vexlor;

// The poll and the decoder against the simulated receiver on a real tty.
class TestMonitorSimulator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void followsReceiver()
    {
        simulator::SimulatorOptions options;
        options.seed = 245;
        options.seedGiven = true;
        simulator::SimulatorHost host(options);
        QVERIFY2(host.start(), qPrintable(host.errorString()));
        simulator::MemoryState memory = host.model().memory();
        const std::array<int, 10> priority {5, 40, 70, 95, 130, 151, 190, 215, 250, 300};
        for (int b = 1; b <= 10; ++b)
            memory.setPriorityChannel(b, priority[size_t(b - 1)]);
        memory.setLowerLimit(1440000);
        memory.setUpperLimit(1480000);
        host.model().setMemory(memory);

        platform::SystemClock clock;
        platform::QtSerialPort port;
        port.setPortName(host.portName());
        QVERIFY(port.setSettings(QStringLiteral("9600,n,8,1")));
        QVERIFY2(port.open(), qPrintable(port.errorString()));
        link::ScannerLink link(port, clock);
        auto tables = std::make_unique<memory::MemoryTables>();
        recording::LogFlags flags;
        recording::ActivityLog log(flags, clock);
        recording::MeasureIntfc meas(clock);
        monitor::MainDisplay display;
        monitor::CompactDisplay compact;
        monitor::FreqLockoutList lockouts;
        monitor::StatusDecoder decoder({display, compact, lockouts, *tables, log, meas, link, clock});
        monitor::PollCycle poll(port, link, decoder, display);
        link.setPollTimer(&poll.MainTimer());
        poll.MainTimer().start();

        const auto& d = display.s;
        QTRY_VERIFY_WITH_TIMEOUT(monitor::modeCaption(decoder.ModeCode) == d.ModeLbl, 5000);

        const auto banksFollow = [&] {
            for (int b = 1; b <= 10; ++b) {
                if (d.BankLbl[size_t(b)] != host.model().memory().bankActive(b))
                    return false;
            }
            return true;
        };
        QTRY_VERIFY_WITH_TIMEOUT(banksFollow(), 5000);
        link.Write(link::cmd::setBanks({false, true, false, false, true}));
        QTRY_VERIFY_WITH_TIMEOUT(d.BankLbl[2] && d.BankLbl[5] && !d.BankLbl[1], 5000);
        QVERIFY(banksFollow());
        QCOMPARE(decoder.ActiveBanks[2], QStringLiteral("B"));

        QCOMPARE(d.LLbox, QString());
        monitor::ResetAllStatus(link);
        QTRY_COMPARE_WITH_TIMEOUT(d.LUbox, QStringLiteral("148.0000"), 5000);
        QCOMPARE(d.LLbox, QStringLiteral("144.0000"));
        QTRY_VERIFY_WITH_TIMEOUT(decoder.PriorityChannels[10] == 300, 5000);
        for (int b = 1; b <= 10; ++b)
            QCOMPARE(decoder.PriorityChannels[size_t(b)], priority[size_t(b - 1)]);
        QVERIFY(decoder.LastSIReply.startsWith(QLatin1String("SI")));
        QVERIFY(decoder.LastVRReply.startsWith(QLatin1String("VR")));

        // A few seconds of the receiver's own traffic leave the display sound.
        QTest::qWait(3000);
        QVERIFY(!link.ScannerOffline());
        QCOMPARE(d.ModeLbl, monitor::modeCaption(decoder.ModeCode).value_or(QString()));
        QCOMPARE(d.FrequencyBox.size(), 8);
        QVERIFY(banksFollow());
        QCOMPARE(d.LLbox, QStringLiteral("144.0000"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestMonitorSimulator)

} // namespace
} // namespace tst_monitor_simulator

#include "tst_monitor_simulator.moc"
