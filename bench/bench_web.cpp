// The web remote's costs: from a status line the program reads to the
// message on sixteen viewers' sockets, and the CPU that sixteen idle viewers
// cost a running vexlor.
#include "FakeSerialPort.h"
#include "LivePoll.h"
#include "platform/qt/SystemClock.h"
#include "remote/AccessRules.h"
#include "web/WebAccess.h"
#include "web/WebServer.h"
#include "web/WebState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <unistd.h>

using namespace vexlor;

namespace {

constexpr int kViewers = 16;

void percentiles(benchmark::State& state, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    if (ms.empty())
        return;
    state.counters["p50_ms"] = ms[ms.size() / 2];
    state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
}

// Sleeps between events, so this process takes no core from the one measured.
bool waitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    QTimer wake; // ends the last wait at the deadline
    wake.start(ms);
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// A viewer as cheap as one can be: the handshake by hand, then bytes counted, never parsed.
std::unique_ptr<QTcpSocket> rawViewer(quint16 port, const QHostAddress& from = {})
{
    auto s = std::make_unique<QTcpSocket>();
    if (!from.isNull())
        s->bind(from);
    s->connectToHost(QHostAddress::LocalHost, port);
    if (!s->waitForConnected(2000))
        return nullptr;
    const QByteArray origin = "http://127.0.0.1:" + QByteArray::number(port);
    s->write("GET /ws HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port)
             + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
               "Sec-WebSocket-Version: 13\r\nOrigin: " + origin + "\r\n\r\n");
    return s;
}

// The live monitor on a port the benchmark feeds, its display served to viewers on 127.0.0.1.
struct ServedPoll {
    fakes::FakeSerialPort port;
    platform::SystemClock clock;
    fakes::LivePoll rig {port, clock};
    web::WebAccess access {remote::AccessRules::fromSettings({}, {}, {}), false};
    web::WebServer server {access, clock, {[this] { return web::state::fromDisplay(rig.display.published()); }, {}, {}, {}, {}}};
    bool listening = false;
    // Two channels in turn: each line changes the display, so each one is pushed.
    const QByteArray lines[2] = {"C001 F01543250 TF DN LF AF RF N000\r", "C031 F04568000 TF DF LF AF RF N000\r"};

    ServedPoll()
    {
        port.open();
        QObject::connect(&rig.display, &monitor::MainDisplay::changed, &server, &web::WebServer::pushState);
        listening = server.listen(QHostAddress::LocalHost, 0, nullptr);
    }
};

// From a status line in the port's buffer, through the poll's read, the decoder, the display and
// the server, to the change arriving on every one of sixteen viewers' sockets.
void BM_StatusLineToViewers(benchmark::State& state)
{
    ServedPoll served;
    if (!served.listening) {
        state.SkipWithError("cannot listen");
        return;
    }
    fakes::FakeSerialPort& port = served.port;
    fakes::LivePoll& rig = served.rig;
    web::WebServer& server = served.server;
    std::vector<std::unique_ptr<QTcpSocket>> viewers;
    for (int i = 0; i < kViewers; ++i)
        viewers.push_back(rawViewer(server.port()));
    const auto allHaveData = [&] {
        return std::all_of(viewers.begin(), viewers.end(), [](const auto& v) { return v && v->bytesAvailable() > 0; });
    };
    // The handshake's answer and the snapshot come first.
    if (!waitUntil([&] { return server.viewers() == kViewers && allHaveData(); }, 5000)) {
        state.SkipWithError("the viewers did not join");
        return;
    }
    QThread::msleep(50);
    for (auto& v : viewers)
        v->readAll();
    std::vector<double> ms;
    int turn = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        port.feed(served.lines[turn++ % 2]);
        rig.poll.tick();
        if (!waitUntil(allHaveData, 2000)) {
            state.SkipWithError("a change did not reach every viewer");
            return;
        }
        const double took = t.nsecsElapsed() / 1e6;
        state.SetIterationTime(took / 1000.0);
        ms.push_back(took);
        port.clearWritten();
        // Every message of this change, then nothing left over for the next one.
        QThread::msleep(2);
        QCoreApplication::processEvents();
        for (auto& v : viewers)
            v->readAll();
    }
    percentiles(state, ms);
}
BENCHMARK(BM_StatusLineToViewers)->UseManualTime()->Iterations(500)->Unit(benchmark::kMillisecond);

// The resident size of this process, in kilobytes.
double rssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    }
    return -1;
}

// The hostile side, in a process of its own (this program run with --hostile PORT SECONDS):
// a thousand connections kept open, headers past every limit, two WebSocket floods and
// twenty clients that send a byte a second, each started again whenever the server closes it.
// Each kind comes from an address of its own, so the per-address limit does not hide the others.
int hostile(quint16 port, int seconds)
{
    std::vector<std::unique_ptr<QTcpSocket>> idle, oversized, slow;
    const auto reopen = [port](std::vector<std::unique_ptr<QTcpSocket>>& set, int count, const QByteArray& first, const char* from) {
        set.resize(size_t(count));
        for (auto& s : set) {
            if (s && s->state() != QAbstractSocket::UnconnectedState)
                continue;
            s = std::make_unique<QTcpSocket>();
            s->bind(QHostAddress(QLatin1String(from)));
            s->connectToHost(QHostAddress::LocalHost, port);
            s->write(first);
        }
    };
    const QByteArray huge = "GET / HTTP/1.1\r\nHost: h\r\nX: " + QByteArray(64 * 1024, 'x') + "\r\n\r\n";
    std::vector<std::unique_ptr<QTcpSocket>> floods;
    const QByteArray frame = [] {
        // A masked text frame of 27 bytes: {"type":"key","key":"SCAN"}.
        const QByteArray text = R"({"type":"key","key":"SCAN"})";
        QByteArray f;
        f.append(char(0x81)).append(char(0x80 | text.size())).append(4, '\0').append(text);
        return f;
    }();
    QTimer churn;
    QObject::connect(&churn, &QTimer::timeout, [&] {
        reopen(idle, 1000, {}, "127.0.0.1");
        reopen(oversized, 4, huge, "127.0.0.2");
        reopen(slow, 20, "G", "127.0.0.3");
        for (auto& s : slow)
            s->write("E");
        if (floods.size() < 2 || std::any_of(floods.begin(), floods.end(), [](const auto& f) { return f->state() == QAbstractSocket::UnconnectedState; })) {
            floods.clear();
            for (int i = 0; i < 2; ++i)
                floods.push_back(rawViewer(port, QHostAddress(QStringLiteral("127.0.0.4"))));
        }
        for (auto& f : floods) {
            for (int i = 0; i < 200 && f->bytesToWrite() < 64 * 1024; ++i)
                f->write(frame);
            f->readAll();
        }
        for (auto& s : idle)
            s->readAll();
    });
    churn.start(100);
    QTimer::singleShot(seconds * 1000, QCoreApplication::instance(), &QCoreApplication::quit);
    return QCoreApplication::exec();
}

// The poll's 50 ms tick beside the server, with and without hostile clients in another process:
// the longest a tick came late, and how much this process grew.
void BM_PollUnderHostileClients(benchmark::State& state)
{
    const bool attacked = state.range(0) != 0;
    ServedPoll served;
    if (!served.listening) {
        state.SkipWithError("cannot listen");
        return;
    }
    fakes::FakeSerialPort& port = served.port;
    fakes::LivePoll& rig = served.rig;
    web::WebServer& server = served.server;
    int turn = 0;
    std::vector<double> late;
    QElapsedTimer since;
    QObject::connect(&rig.poll.MainTimer(), &QTimer::timeout, [&] {
        if (since.isValid())
            late.push_back(std::max(0.0, since.nsecsElapsed() / 1e6 - monitor::PollCycle::kIntervalMs));
        since.start();
        port.feed(served.lines[turn++ % 2]); // every tick changes the display, so every tick pushes
        port.clearWritten();
    });
    for (auto _ : state) {
        QProcess attacker;
        if (attacked) {
            attacker.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hostile"), QString::number(server.port()), QStringLiteral("15")});
            if (!attacker.waitForStarted(3000)) {
                state.SkipWithError("cannot start the hostile clients");
                return;
            }
        }
        waitUntil([] { return false; }, 3000); // the attack under way
        const double rssBefore = rssKb();
        late.clear();
        since.invalidate();
        rig.poll.MainTimer().start();
        waitUntil([] { return false; }, 10000);
        rig.poll.MainTimer().stop();
        state.counters["rss_growth_kb"] = rssKb() - rssBefore;
        state.counters["connections"] = server.connections();
        state.counters["viewers"] = server.viewers();
        state.counters["pushes"] = turn;
        attacker.kill();
        attacker.waitForFinished(3000);
    }
    std::sort(late.begin(), late.end());
    if (!late.empty()) {
        state.counters["late_p99_ms"] = late[std::min(late.size() - 1, late.size() * 99 / 100)];
        state.counters["late_max_ms"] = late.back();
    }
}
BENCHMARK(BM_PollUnderHostileClients)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

// User and system time of a process so far, in milliseconds.
double cpuMs(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    // The fields after the command's closing parenthesis; utime and stime are the 12th and 13th of them.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// vexlor on its own simulator, scanning, with N viewers that only watch: its CPU share over 20 s.
// The viewers live in this process, so their reading is not counted as the program's.
void BM_IdleViewersCpu(benchmark::State& state)
{
    const int n = int(state.range(0));
    QTemporaryDir data;
    QFile ini(data.filePath(QStringLiteral("qorvanix.ini")));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[UserName]=Bench\r\n[comm port]=1\r\n") < 0) {
        state.SkipWithError("cannot write the configuration");
        return;
    }
    ini.close();
    QProcess vexlor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    vexlor.setProcessEnvironment(env);
    vexlor.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vexlor")),
                 {QStringLiteral("--simulate"), QStringLiteral("--data-dir"), data.path(), QStringLiteral("--web"),
                  QStringLiteral("127.0.0.1:0")});
    QByteArray said;
    const bool serving = waitUntil([&] {
        said += vexlor.readAllStandardOutput();
        return said.contains("web remote at http://127.0.0.1:") && said.contains("/\n");
    }, 15000);
    if (!serving) {
        state.SkipWithError("vexlor did not start its web remote");
        return;
    }
    const qsizetype at = said.indexOf("127.0.0.1:") + 10;
    const quint16 port = quint16(said.mid(at, said.indexOf('/', at) - at).toUInt());
    std::vector<std::unique_ptr<QTcpSocket>> viewers;
    for (int i = 0; i < n; ++i)
        viewers.push_back(rawViewer(port));
    // Each has its handshake's answer and the snapshot before the clock starts.
    if (!waitUntil([&] { return std::all_of(viewers.begin(), viewers.end(), [](const auto& v) { return v && v->bytesAvailable() > 0; }); },
                   5000)) {
        state.SkipWithError("the viewers did not join");
        return;
    }
    qint64 received = 0;
    for (auto _ : state) {
        waitUntil([] { return false; }, 3000); // settled: the start and the joins are not counted
        for (auto& v : viewers)
            v->readAll();
        const double before = cpuMs(vexlor.processId());
        QElapsedTimer t;
        t.start();
        waitUntil([&] {
            for (auto& v : viewers)
                received += v->readAll().size();
            return false;
        }, 20000);
        const double used = cpuMs(vexlor.processId()) - before;
        state.counters["cpu_percent"] = 100.0 * used / double(t.elapsed());
        // What each viewer was sent meanwhile: the display's changes, so idle is not silent.
        state.counters["bytes_per_viewer"] = n > 0 ? double(received) / n : 0.0;
    }
    vexlor.terminate();
    vexlor.waitForFinished(10000);
}
BENCHMARK(BM_IdleViewersCpu)->Arg(0)->Arg(kViewers)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--hostile")
        return hostile(quint16(QByteArray(argv[2]).toUInt()), QByteArray(argv[3]).toInt());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
