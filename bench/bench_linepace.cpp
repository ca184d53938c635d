// The live poll against vexlor-sim on a line paced at a real baud rate, with
// the receiver's small input buffer. Reports how old a status reply is when
// the program reads it (request written to reply read), per minute, the key
// press latency and the CPU the program spends polling.
//   VEXLOR_BENCH_SECONDS  how long each baud rate runs (300)
#include "LinePort.h"
#include "LivePoll.h"
#include "SimProcess.h"
#include "link/Commands.h"
#include "monitor/PollCycle.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/SystemClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <sys/resource.h>

using namespace vexlor;

namespace {

constexpr int kKeyEveryMs = 2000;

struct Usage {
    double userMs = 0;
    double systemMs = 0;
    double wakeups = 0; // voluntary context switches: each is a sleep and a wake-up
};

Usage usage()
{
    rusage u {};
    ::getrusage(RUSAGE_SELF, &u);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return {ms(u.ru_utime), ms(u.ru_stime), double(u.ru_nvcsw)};
}

int seconds()
{
    bool ok = false;
    const int s = qEnvironmentVariableIntValue("VEXLOR_BENCH_SECONDS", &ok);
    return ok && s > 0 ? s : 300;
}

struct Monitor {
    platform::SystemClock clock;
    platform::QtSerialPort serial;
    fakes::LinePort port {serial};
    fakes::LivePoll live {port, clock};
    link::ScannerLink& link = live.link;
    monitor::PollCycle& poll = live.poll;
};

void BM_PollAtBaud(benchmark::State& state)
{
    const int baud = int(state.range(0));
    SimProcess sim;
    if (const QString error = sim.start(baud); !error.isEmpty()) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    Monitor m;
    m.serial.setPortName(sim.linkPath());
    m.serial.setSettings(QStringLiteral("%1,n,8,1").arg(baud));
    if (!m.port.open()) {
        state.SkipWithError(qPrintable(m.port.errorString()));
        return;
    }
    const double runMs = seconds() * 1000.0;
    Usage used;
    for (auto _ : state) {
        m.port.reset();
        QTimer keys;
        keys.setInterval(kKeyEveryMs);
        QObject::connect(&keys, &QTimer::timeout, [&] { m.link.Write(link::cmd::key(0)); });
        QEventLoop loop;
        QTimer::singleShot(int(runMs), &loop, &QEventLoop::quit);
        const Usage before = usage();
        m.poll.MainTimer().start();
        keys.start();
        loop.exec();
        keys.stop();
        m.poll.MainTimer().stop();
        const Usage after = usage();
        used = {after.userMs - before.userMs, after.systemMs - before.systemMs, after.wakeups - before.wakeups};
        state.SetIterationTime(runMs / 1000.0);
    }
    const double round = double(m.link.lineMs(monitor::PollCycle::kRoundBytes));
    state.counters["round_line_ms"] = round;
    state.counters["age_p50_ms"] = m.port.percentile(50);
    state.counters["age_p95_ms"] = m.port.percentile(95);
    state.counters["age_p95_over_round"] = m.port.percentile(95) / round;
    const int minutes = std::max(1, int(runMs / 60000));
    state.counters["age_p95_first_min_ms"] = m.port.percentile(95, {}, 0, 60000);
    state.counters["age_p95_last_min_ms"] = m.port.percentile(95, {}, (minutes - 1) * 60000.0, runMs);
    state.counters["key_p95_ms"] = m.port.percentile(95, "KEY");
    // One round ahead of it, then its own six bytes out and "OK" back.
    state.counters["key_bound_ms"] = round + double(m.link.lineMs(6 + 3));
    const auto rounds = std::count_if(m.port.answers().cbegin(), m.port.answers().cend(),
                                      [](const auto& a) { return a.command == "LO"; });
    state.counters["rounds_per_s"] = double(rounds) / (runMs / 1000.0);
    // The system share swings with the virtual machine's own load; the user share and
    // the wake-ups are the program's.
    state.counters["cpu_pct"] = 100.0 * (used.userMs + used.systemMs) / runMs;
    state.counters["cpu_user_pct"] = 100.0 * used.userMs / runMs;
    state.counters["wakeups_per_s"] = used.wakeups / (runMs / 1000.0);
    m.port.close();
    const QRegularExpressionMatch lost = QRegularExpression(QStringLiteral("(\\d+) bytes lost")).match(sim.stop());
    state.counters["lost_bytes"] = lost.hasMatch() ? lost.captured(1).toDouble() : -1;
}
BENCHMARK(BM_PollAtBaud)->ArgName("baud")->Arg(2400)->Arg(4800)->Arg(9600)->Arg(19200)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
