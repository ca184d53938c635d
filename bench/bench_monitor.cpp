// The live monitor's hot paths: decoding, one poll tick, and the way from a
// squelch line on a real tty to the display.
#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "LivePoll.h"
#include "PtyPair.h"
#include "link/ScannerLink.h"
#include "memory/MemoryTables.h"
#include "monitor/CompactDisplay.h"
#include "monitor/FreqLockoutList.h"
#include "monitor/MainDisplay.h"
#include "monitor/PollCycle.h"
#include "monitor/StatusDecoder.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/SystemClock.h"
#include "recording/ActivityLog.h"
#include "recording/MeasureIntfc.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

using namespace vexlor;

namespace {

// A typical mix: receptions, frequency lines and the answers to the six polls.
const QStringList kMix {
    "+", "C001 F01543250 TF DN LF AF RF N000", "W110 F01543250", "W112 F01543250", "-",
    "MD00", "DLF", "SB ACE", "LOF", "C031 F04568000 TF DF LF AF RF N000", "W096 F04568000",
    "ID S 002032", "ID E 002032", "MD12", "TB D E2-800    ", "IC D3 002032",
};

struct Rig : fakes::LivePoll {
    explicit Rig(platform::SerialPort& port, platform::Clock& clock) : LivePoll(port, clock)
    {
        for (int ch = 1; ch <= 300; ++ch) {
            tables->Channels.set(ch, memory::MemoryTables::kChName, QStringLiteral("Channel %1").arg(ch));
            tables->Channels.set(ch, memory::MemoryTables::kChType, "POL");
        }
        for (int slot = 1; slot <= 100; ++slot)
            tables->IDs.set(4, slot, memory::MemoryTables::kIdId, QStringLiteral("%1").arg(2000 + slot, 6, 10, QLatin1Char('0')));
    }
};

void BM_DecodeMixedBatch(benchmark::State& state)
{
    fakes::FakeSerialPort port;
    port.open();
    fakes::FakeClock clock;
    Rig rig(port, clock);
    QStringList batch;
    for (int i = 0; i < 1000; ++i)
        batch << kMix[i % kMix.size()];
    for (auto _ : state) {
        rig.decoder.decode(batch);
        port.clearWritten();
    }
    state.SetItemsProcessed(state.iterations() * batch.size());
}
BENCHMARK(BM_DecodeMixedBatch);

// Logic only: eight typical lines waiting, one tick.
void BM_PollTick(benchmark::State& state)
{
    fakes::FakeSerialPort port;
    port.open();
    fakes::FakeClock clock;
    Rig rig(port, clock);
    QByteArray eight;
    for (int i = 0; i < 8; ++i)
        eight += kMix[(i * 3) % kMix.size()].toLatin1() + '\r';
    for (auto _ : state) {
        port.feed(eight);
        rig.poll.tick();
        port.clearWritten();
    }
}
BENCHMARK(BM_PollTick)->Repetitions(9)->ReportAggregatesOnly(true);

// From "+" written on the receiver's side of a pty to SQopen in the display,
// with the real 50 ms poll timer. Reports the 95th percentile.
void BM_SquelchToDisplay(benchmark::State& state)
{
    fakes::PtyPair pty;
    if (!pty.isValid()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    platform::SystemClock clock;
    platform::QtSerialPort port;
    port.setPortName(pty.slaveName());
    port.setSettings(QStringLiteral("9600,n,8,1"));
    if (!port.open()) {
        state.SkipWithError("cannot open the pty");
        return;
    }
    Rig rig(port, clock);
    rig.poll.MainTimer().start();
    std::mt19937 random(245);
    std::vector<double> ms;
    auto waitFor = [&](bool open) {
        QElapsedTimer t;
        t.start();
        while (rig.display.s.SQopen != open && t.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        return t.nsecsElapsed() / 1e6;
    };
    for (auto _ : state) {
        QEventLoop pause;
        QTimer::singleShot(int(random() % 50), &pause, &QEventLoop::quit); // any phase of the tick
        pause.exec();
        pty.readAvailable(); // the polls the program wrote
        pty.write("+\r");
        const double took = waitFor(true);
        state.SetIterationTime(took / 1000.0);
        ms.push_back(took);
        pty.write("-\r");
        waitFor(false);
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["p50_ms"] = ms[ms.size() / 2];
        state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
    }
}
BENCHMARK(BM_SquelchToDisplay)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
