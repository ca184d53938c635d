// Bank transfers over a pseudo-terminal to a vexlor-sim process paced as a real
// line (9600 baud unless a benchmark names another). The simulator runs apart,
// so this process's CPU time is the program's side alone: a long exchange
// should wait on the line, not spin.
#include "LinePort.h"
#include "SimProcess.h"
#include "link/ScannerLink.h"
#include "memory/BankRead.h"
#include "memory/BankUpload.h"
#include "memory/MemoryTables.h"
#include "memory/ReceiverBackup.h"
#include "platform/SerialPort.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/SystemClock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

using namespace vexlor;

namespace {

constexpr int kBaud = 9600;
constexpr int kLatencyMs = 5;
constexpr double kBytesPerSecond = kBaud / 10.0;
constexpr int kBank = 2;
constexpr int kTypeDigit = 2; // E2-800

double cpuMs()
{
    rusage u {};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Lets the event loop run for a while without spinning.
void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// vexlor-sim and the program's side of its line.
struct Rig {
    SimProcess sim;
    platform::SystemClock clock;
    platform::QtSerialPort serial;
    fakes::LinePort port {serial};
    link::ScannerLink link {port, clock};
    memory::MemoryTables tables;
    QString error;
    const double bytesPerSecond;

    explicit Rig(int baud = kBaud)
        : bytesPerSecond(baud / 10.0)
    {
        error = sim.start(baud, {QStringLiteral("--latency-ms"), QString::number(kLatencyMs)});
        if (!error.isEmpty())
            return;
        serial.setPortName(linkPath());
        serial.setSettings(QStringLiteral("%1,n,8,1").arg(baud));
        if (!port.open()) {
            error = QStringLiteral("cannot open %1: %2").arg(linkPath(), port.errorString());
            return;
        }
        // The simulator notices its reader within a tick; keep that out of the figures.
        if (link.SyncSerialOut(QStringLiteral("MD")).isEmpty() || link.ScannerOffline())
            error = QStringLiteral("the simulator does not answer");
    }
    ~Rig() { port.close(); }

    QString linkPath() const { return sim.linkPath(); }

    // False, with the reason on the benchmark, when the simulator is not there to measure.
    bool ready(benchmark::State& state) const
    {
        if (!error.isEmpty())
            state.SkipWithError(qPrintable(error));
        return error.isEmpty();
    }

    void fillBank(int trunkChannels)
    {
        using MT = memory::MemoryTables;
        const int first = MT::firstChannel(kBank);
        for (int i = 0; i < MT::kChannelsPerBank; ++i) {
            const int c = first + i;
            const bool trunk = i < trunkChannels;
            tables.Channels.set(c, MT::kChCh, c);
            tables.Channels.set(c, MT::kChFrequency,
                                QString::number(trunk ? 851.0125 + 0.025 * i : 154.4300 + 0.0075 * i, 'f', 4));
            tables.Channels.set(c, MT::kChMode, trunk ? QStringLiteral("Trunk") : QStringLiteral("Normal"));
            tables.Channels.set(c, MT::kChDLY, i % 3 == 0 ? QStringLiteral("=") : QString());
            tables.Channels.set(c, MT::kChLO, i % 5 == 0 ? QStringLiteral("=") : QString());
        }
    }
};

struct Totals {
    double wallMs = 0;
    double cpuMs = 0;
    double boundMs = 0;
    double transactions = 0;

    void report(benchmark::State& state, bool withBound) const
    {
        const double n = double(std::max<benchmark::IterationCount>(1, state.iterations()));
        state.counters["wall_ms"] = wallMs / n;
        state.counters["cpu_ms"] = cpuMs / n;
        state.counters["cpu_pct_of_wall"] = wallMs > 0 ? 100.0 * cpuMs / wallMs : 0;
        if (!withBound)
            return;
        state.counters["bound_ms"] = boundMs / n;
        state.counters["wall_over_bound"] = boundMs > 0 ? wallMs / boundMs : 0;
        state.counters["transactions"] = transactions / n;
    }
};

// One bank of 30 channels, the first `trunk` of them in trunk mode, at `baud`.
void BM_UploadBank(benchmark::State& state)
{
    Rig rig(int(state.range(1)));
    if (!rig.ready(state))
        return;
    rig.fillBank(int(state.range(0)));
    memory::BankUpload upload(rig.link, rig.tables.Channels);
    Totals totals;
    for (auto _ : state) {
        rig.port.reset();
        const double cpu0 = cpuMs();
        QElapsedTimer wall;
        wall.start();
        const memory::BankUpload::Result result = upload.run(kBank, kTypeDigit);
        const double wallMs = double(wall.nsecsElapsed()) / 1e6;
        const double cpu = cpuMs() - cpu0;
        state.SetIterationTime(wallMs / 1000.0);
        // Every command is one transaction and every reply one line.
        if (!result.started || result.sent != memory::MemoryTables::kChannelsPerBank
            || rig.port.replyLines != rig.port.writes) {
            state.SkipWithError("the upload did not get through cleanly");
            return;
        }
        const double lineMs = double(rig.port.written + rig.port.read) / rig.bytesPerSecond * 1000.0;
        totals.wallMs += wallMs;
        totals.cpuMs += cpu;
        totals.boundMs += 1.1 * (lineMs + double(kLatencyMs) * double(rig.port.writes));
        totals.transactions += double(rig.port.writes);
    }
    totals.report(state, true);
}
BENCHMARK(BM_UploadBank)
    ->ArgNames({"trunk", "baud"})
    ->Args({0, kBaud})
    ->Args({10, kBaud})
    ->Args({10, 2400})
    ->Args({10, 4800})
    ->Args({10, 19200})
    ->Iterations(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The receiver backup: PM001..PM300 pipelined a few deep, then the ID lists
// of `trunked` banks. Its bound is the line time of every byte both ways at
// 960 bytes a second; with no trunked bank that is the channel read alone.
void BM_Backup(benchmark::State& state)
{
    Rig rig;
    if (!rig.ready(state))
        return;
    // The simulator's factory memories have their trunked system in bank 4.
    if (state.range(0) > 0)
        rig.tables.BankTrunkTypes.set(4, QStringLiteral("E2-800"));
    memory::ReceiverBackup backup(rig.link, rig.port);
    Totals totals;
    for (auto _ : state) {
        rig.port.reset();
        auto out = std::make_unique<memory::MemoryTables>();
        const double cpu0 = cpuMs();
        QElapsedTimer wall;
        wall.start();
        const auto outcome = backup.run(rig.tables, *out);
        const double wallMs = double(wall.nsecsElapsed()) / 1e6;
        state.SetIterationTime(wallMs / 1000.0);
        if (outcome != memory::ReceiverBackup::Outcome::Complete) {
            state.SkipWithError(qPrintable(backup.failure()));
            return;
        }
        const double lineMs = double(rig.port.written + rig.port.read) / kBytesPerSecond * 1000.0;
        totals.wallMs += wallMs;
        totals.cpuMs += cpuMs() - cpu0;
        totals.boundMs += lineMs; // reported against 1.0: wall_over_bound must stay below 1.1
        totals.transactions += double(rig.port.writes);
    }
    totals.report(state, true);
}
BENCHMARK(BM_Backup)->ArgName("trunked")->Arg(0)->Arg(1)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

// The bare tty with blocking reads: what the line and the simulator cost
// without the program.
class RawLine {
public:
    explicit RawLine(const QString& path) : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY))
    {
        termios t {};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(m_fd, TCSANOW, &t);
        }
    }
    ~RawLine()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }

    // One command out, one reply line back; the reply's size, or -1.
    qint64 transact(const QByteArray& command)
    {
        if (::write(m_fd, command.constData(), size_t(command.size())) != command.size())
            return -1;
        QByteArray reply;
        while (!reply.endsWith('\r')) {
            pollfd p {m_fd, POLLIN, 0};
            char buf[256];
            if (::poll(&p, 1, 3000) <= 0)
                return -1;
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n <= 0)
                return -1;
            reply.append(buf, n);
        }
        return reply.size();
    }

private:
    int m_fd;
};

// The upload's own command lines replayed on the bare tty: the difference to
// BM_UploadBank is what the program adds.
void BM_UploadBankReplay(benchmark::State& state)
{
    Rig rig;
    if (!rig.ready(state))
        return;
    rig.fillBank(int(state.range(0)));
    memory::BankUpload upload(rig.link, rig.tables.Channels);
    rig.port.reset();
    upload.run(kBank, kTypeDigit);
    const QList<QByteArray> commands = rig.port.sent;
    rig.port.close();
    RawLine line(rig.linkPath());
    if (!line.isOpen() || line.transact("MD\r") < 0) {
        state.SkipWithError("the bare tty does not answer");
        return;
    }
    Totals totals;
    for (auto _ : state) {
        qint64 bytes = 0;
        const double cpu0 = cpuMs();
        QElapsedTimer wall;
        wall.start();
        for (const QByteArray& command : commands) {
            const qint64 reply = line.transact(command);
            if (reply < 0) {
                state.SkipWithError("a reply was lost");
                return;
            }
            bytes += command.size() + reply;
        }
        const double wallMs = double(wall.nsecsElapsed()) / 1e6;
        state.SetIterationTime(wallMs / 1000.0);
        totals.wallMs += wallMs;
        totals.cpuMs += cpuMs() - cpu0;
        totals.boundMs += 1.1 * (double(bytes) / kBytesPerSecond * 1000.0 + double(kLatencyMs) * double(commands.size()));
        totals.transactions += double(commands.size());
    }
    totals.report(state, true);
}
BENCHMARK(BM_UploadBankReplay)->ArgName("trunk")->Arg(10)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

// start(bank) to finished at `baud`: a few queries on the line at a time, then their replies.
void BM_ReadBank(benchmark::State& state)
{
    Rig rig(int(state.range(0)));
    if (!rig.ready(state))
        return;
    memory::BankRead read(rig.link, rig.port, rig.tables.Channels);
    Totals totals;
    double decoded = 0;
    for (auto _ : state) {
        rig.tables.Channels.clear();
        int got = -2;
        QEventLoop loop;
        QObject::connect(&read, &memory::BankRead::finished, &loop, [&](int n) {
            got = n;
            loop.quit();
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        const double cpu0 = cpuMs();
        QElapsedTimer wall;
        wall.start();
        if (!read.start(kBank)) {
            state.SkipWithError("the read did not start");
            return;
        }
        loop.exec();
        const double wallMs = double(wall.nsecsElapsed()) / 1e6;
        const double cpu = cpuMs() - cpu0;
        state.SetIterationTime(wallMs / 1000.0);
        if (got < 0) {
            state.SkipWithError("the read did not finish");
            return;
        }
        totals.wallMs += wallMs;
        totals.cpuMs += cpu;
        decoded += got;
        // Replies still on the line belong to this read, not the next.
        pause(500);
        rig.port.discardInput();
    }
    totals.report(state, false);
    state.counters["decoded"] = decoded / double(std::max<benchmark::IterationCount>(1, state.iterations()));
}
BENCHMARK(BM_ReadBank)
    ->ArgName("baud")
    ->Arg(2400)
    ->Arg(4800)
    ->Arg(kBaud)
    ->Arg(19200)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
