// Recording's costs: the CPU of recording without a pause, in FLAC and in
// Ogg/Opus, and the time from the squelch closing to the file complete on
// the disk. The sound comes paced as a sound card gives it.
#include "PacedSound.h"
#include "platform/audio/SndFileWriter.h"
#include "recording/RecordingSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>

using namespace vexlor;

namespace {

// A tone under noise: neither silence nor pure noise, roughly what a receiver gives.
std::unique_ptr<platform::AudioSource> speechLike()
{
    return std::make_unique<fakes::PacedSound>([random = std::mt19937(3)](qint64 i, int) mutable {
        return qint16(6000 * std::sin(double(i) * 0.39) + std::normal_distribution<double>(0, 1500)(random));
    });
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

recording::RecordingSession::Config config(const QString& folder, platform::AudioFileWriter::Format format)
{
    recording::RecordingSession::Config c;
    c.files.folder = folder;
    c.files.format = format;
    return c;
}

recording::Heard heard()
{
    recording::Heard h;
    h.at = QDateTime::currentDateTime();
    h.channel = QStringLiteral("12");
    h.frequency = QStringLiteral("154.4300");
    return h;
}

// A squelch held open for 30 s: this process's CPU share over it, the capture, the recorder and the encoder together.
void BM_RecordingCpu(benchmark::State& state)
{
    const auto format = state.range(0) == 0 ? platform::AudioFileWriter::Format::Flac : platform::AudioFileWriter::Format::Opus;
    QTemporaryDir dir;
    for (auto _ : state) {
        recording::RecordingSession session(config(dir.path(), format), &speechLike,
                                            [] { return std::make_unique<platform::SndFileWriter>(); });
        QString error;
        if (!session.start(&error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        session.squelchOpened(heard());
        wait(1000);
        const double before = cpuSeconds();
        QElapsedTimer t;
        t.start();
        wait(30000);
        const double used = cpuSeconds() - before;
        state.counters["cpu_percent"] = 100.0 * used / (double(t.elapsed()) / 1000.0);
        session.squelchClosed();
        session.stop();
    }
}
BENCHMARK(BM_RecordingCpu)->Arg(0)->Arg(1)->ArgName("opus")->Iterations(1)->Unit(benchmark::kSecond);

// From the squelch closing to the file under its own name on the disk, with the default 1 s hang time.
void BM_SquelchCloseToFile(benchmark::State& state)
{
    QTemporaryDir dir;
    recording::RecordingSession session(config(dir.path(), platform::AudioFileWriter::Format::Flac),
                                        &speechLike,
                                        [] { return std::make_unique<platform::SndFileWriter>(); });
    QString error;
    if (!session.start(&error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    int done = 0;
    QObject::connect(&session, &recording::RecordingSession::recorded, [&done] { ++done; });
    std::vector<double> ms;
    for (auto _ : state) {
        session.squelchOpened(heard());
        wait(1000);
        const int before = done;
        QElapsedTimer t;
        t.start();
        session.squelchClosed();
        QTimer wake; // ends the wait at 5 s at the latest
        wake.start(5000);
        while (done == before && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ms.push_back(t.nsecsElapsed() / 1e6);
        state.SetIterationTime(ms.back() / 1000.0);
        wait(300);
    }
    session.stop();
    std::sort(ms.begin(), ms.end());
    state.counters["p50_ms"] = ms[ms.size() / 2];
    state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
}
BENCHMARK(BM_SquelchCloseToFile)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
