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
#include "platform/SerialTrace.h"
#include "platform/TracingSerialPort.h"
#include "recording/ActivityLog.h"
#include "recording/MeasureIntfc.h"
#include "simulator/PtyEndpoint.h"
#include "simulator/ReceiverModel.h"
#include "simulator/SimulatorHost.h"
#include "TestSuite.h"
#include "WaitFor.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// gcc says so with a macro, clang with a feature test.
#if defined(__SANITIZE_ADDRESS__)
#define VEXLOR_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEXLOR_ASAN 1
#endif
#endif

#if defined(VEXLOR_ASAN)
// From the sanitizer runtime; its header does not come with every compiler.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace tst_linefaults {
namespace {

using namespace vexlor;
using link::ScannerLink;
using simulator::ModeMachine;
namespace wire = link::wire;

namespace {

// Heap bytes in use now. Under AddressSanitizer freed blocks sit in its
// quarantine and the process size says nothing, so its own count of live
// allocations is what tells a leak; otherwise glibc's.
size_t liveHeapBytes()
{
#if defined(VEXLOR_ASAN)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 m = ::mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

// The monitor as the program runs it, on the simulator's port link.
struct Monitor {
    simulator::SimulatorHost host;
    platform::SystemClock clock;
    platform::QtSerialPort device;
    std::unique_ptr<platform::TracingSerialPort> traced;
    std::unique_ptr<ScannerLink> link;
    std::unique_ptr<memory::MemoryTables> tables = std::make_unique<memory::MemoryTables>();
    recording::LogFlags flags;
    std::unique_ptr<recording::ActivityLog> log;
    std::unique_ptr<recording::MeasureIntfc> meas;
    monitor::MainDisplay display;
    monitor::CompactDisplay compact;
    monitor::FreqLockoutList lockouts;
    std::unique_ptr<monitor::StatusDecoder> decoder;
    std::unique_ptr<monitor::PollCycle> poll;

    explicit Monitor(quint32 seed) : host(options(seed)) {}

    static simulator::SimulatorOptions options(quint32 seed)
    {
        simulator::SimulatorOptions o;
        o.seed = seed;
        o.seedGiven = true;
        return o;
    }

    bool start(platform::SerialTrace* trace = nullptr)
    {
        if (!host.start())
            return false;
        device.setPortName(host.portName());
        platform::SerialPort* port = &device;
        if (trace) {
            traced = std::make_unique<platform::TracingSerialPort>(device, *trace);
            port = traced.get();
        }
        if (!port->setSettings(QStringLiteral("9600,n,8,1")) || !port->open())
            return false;
        link = std::make_unique<ScannerLink>(*port, clock);
        // Wired as the composition root wires it: a line event shows at once.
        QObject::connect(link.get(), &ScannerLink::offlineShown, &display, [this] {
            display.s.ModeLbl = ScannerLink::kOfflineText;
            display.publish();
        });
        log = std::make_unique<recording::ActivityLog>(flags, clock);
        meas = std::make_unique<recording::MeasureIntfc>(clock);
        decoder = std::make_unique<monitor::StatusDecoder>(
            monitor::StatusDecoder::Parts {display, compact, lockouts, *tables, *log, *meas, *link, clock});
        poll = std::make_unique<monitor::PollCycle>(*port, *link, *decoder, display);
        link->setPollTimer(&poll->MainTimer());
        poll->MainTimer().start();
        return true;
    }

    // The display agrees with the receiver as it is now. The squelch is left
    // out: it is only ever told, never asked, so an open or close lost to the
    // faults shows until the next reception.
    bool follows() { return mismatch().isEmpty(); }
    QString mismatch()
    {
        const auto& d = display.s;
        const ModeMachine& m = host.model().mode();
        const simulator::MemoryState& memory = host.model().memory();
        const QString caption = monitor::modeCaption(m.mode()).value_or(QStringLiteral("?"));
        if (d.ModeLbl != caption)
            return QStringLiteral("mode %1, model %2").arg(d.ModeLbl, caption);
        const QString frequency = wire::frequencyFromWire(wire::digits(m.frequency(), 8));
        if (d.FrequencyBox != frequency)
            return QStringLiteral("frequency %1, model %2").arg(d.FrequencyBox, frequency);
        if (ModeMachine::isChannelMode(m.mode()) && d.ChLbl != QString::number(m.channel()))
            return QStringLiteral("channel %1, model %2").arg(d.ChLbl).arg(m.channel());
        if (d.buttonlbl[3] != m.delay() || d.buttonlbl[4] != m.lockout())
            return QStringLiteral("delay or lock-out lamp");
        for (int b = 1; b <= 10; ++b) {
            if (d.BankLbl[size_t(b)] != memory.bankActive(b))
                return QStringLiteral("bank lamp %1").arg(b);
        }
        return QString();
    }
};

} // namespace

// The monitor against a receiver whose line misbehaves while it runs.
class TestLineFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void monitorsThroughRefusalsErrorsAndNoise()
    {
        Monitor mon(14);
        QVERIFY2(mon.start(), qPrintable(mon.host.errorString() + mon.device.errorString()));
        QVERIFY2(testing::waitFor([&] { return mon.follows(); }, 5000), qPrintable(mon.mismatch()));

        simulator::FaultOptions faults;
        faults.ngFraction = 0.1;
        faults.errFraction = 0.1;
        faults.garbage = 0.05;
        mon.host.endpoint().setFaults(faults);
        constexpr qint64 kFaultMs = 30000;
        // Past start-up allocations: from here on the heap must stay level.
        constexpr qint64 kWarmMs = 10000;
        constexpr size_t kHeapSlack = 64 * 1024;
        qsizetype pending = 0, lines = 0;
        qint64 queued = 0;
        size_t warmHeap = 0;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < kFaultMs) {
            QTest::qWait(20);
            pending = std::max(pending, mon.poll->PendingInput().size());
            lines = std::max(lines, mon.link->ReplyLines().size());
            queued = std::max(queued, mon.device.bytesToWrite());
            if (warmHeap == 0 && t.elapsed() >= kWarmMs)
                warmHeap = liveHeapBytes();
        }
        const size_t endHeap = liveHeapBytes();
        QVERIFY(pending <= monitor::PollCycle::kMaxPendingInput);
        // One tick's worth: six answers, the decoder's follow-ups, what the receiver says by itself.
        QVERIFY2(lines <= 32, qPrintable(QString::number(lines)));
        QVERIFY2(queued <= mon.link->outputLimit(), qPrintable(QString::number(queued)));
        QVERIFY2(endHeap < warmHeap + kHeapSlack,
                 qPrintable(QStringLiteral("%1 -> %2 bytes").arg(warmHeap).arg(endHeap)));

        mon.host.endpoint().setFaults({});
        QVERIFY2(testing::waitFor([&] { return mon.follows(); }, 1000), qPrintable(mon.mismatch()));
    }

    void deviceVanishesAndReturns()
    {
        QTemporaryDir dir;
        const QString tracePath = dir.filePath(QStringLiteral("trace.txt"));
        platform::SerialTrace trace(tracePath);
        QVERIFY(trace.open());
        Monitor mon(15);
        QVERIFY2(mon.start(&trace), qPrintable(mon.host.errorString() + mon.device.errorString()));
        QVERIFY2(testing::waitFor([&] { return mon.follows(); }, 5000), qPrintable(mon.mismatch()));

        mon.host.endpoint().dropLine();
        const auto offline = [&] { return mon.display.s.ModeLbl == ScannerLink::kOfflineText; };
        QVERIFY(testing::waitFor(offline, 1000));
        // Shown as the port found the device gone and began to look for it
        // again; it returns just after a second of looking, the worst time
        // for a port that looks once a second.
        QElapsedTimer gone;
        gone.start();
        while (gone.elapsed() < 1060) {
            QTest::qWait(2);
            QVERIFY(offline());
        }

        mon.host.endpoint().restoreLine();
        QVERIFY2(testing::waitFor([&] { return mon.follows(); }, 1000), qPrintable(mon.mismatch()));

        trace.flush();
        QFile f(tracePath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QList<QByteArray> kinds;
        for (const QByteArray& l : f.readAll().split('\n'))
            kinds << l.mid(10);
        const auto find = [&](const QByteArray& start, qsizetype from) {
            for (qsizetype i = from; i < kinds.size(); ++i) {
                if (kinds[i].startsWith(start))
                    return i;
            }
            return qsizetype(-1);
        };
        const qsizetype lost = find("--- lost " + QFile::encodeName(mon.host.portName()), 0);
        const qsizetype before = find("in  ", 0);
        QVERIFY(before >= 0 && lost > before);
        const qsizetype reopened = find("--- reopened ", lost);
        QVERIFY(reopened > lost);
        QVERIFY(find("out ", reopened) > reopened);
        QVERIFY(find("in  ", reopened) > reopened);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestLineFaults)

} // namespace
} // namespace tst_linefaults

#include "tst_linefaults.moc"
