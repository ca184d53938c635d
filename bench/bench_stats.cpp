#include "recording/StatsTable.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

using vexlor::recording::SampleEvent;
using vexlor::recording::StatsTable;

namespace {

// A long run's worth of records: channels, frequencies and talkgroups.
QList<SampleEvent> records(int count)
{
    QRandomGenerator random(13);
    const char* modes[] = {"C", "X", "T", "T*"};
    const QDateTime start(QDate(2026, 12, 1), QTime(6, 0));
    QList<SampleEvent> out;
    for (int i = 0; i < count; ++i) {
        SampleEvent e;
        e.ScanMode = QLatin1String(modes[random.bounded(4)]);
        e.Index = QString::number(random.bounded(300) + 1);
        e.Identity = QStringLiteral("%1").arg(random.bounded(65536), 6, 10, QLatin1Char('0'));
        e.Hits = int(random.bounded(500)) + 1;
        e.ElapsedTime = random.bounded(20000.0);
        e.FirstHit = start.addSecs(random.bounded(86400));
        e.LastHit = e.FirstHit.addSecs(random.bounded(86400));
        out << e;
    }
    return out;
}

// The five-second refresh of a long run: a few dozen records changed since the last one.
void BM_Refresh10000TwoKeys(benchmark::State& state)
{
    QList<SampleEvent> all = records(10000);
    StatsTable table;
    table.sortPrimary(StatsTable::Hits, false);
    table.sortSecondary(StatsTable::FreqId, true);
    table.refresh(all);
    QRandomGenerator random(5);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 50; ++i) {
            SampleEvent& e = all[random.bounded(int(all.size()))];
            e.Hits += 1;
            e.ElapsedTime += 2.5;
            e.LastHit = e.LastHit.addSecs(30);
        }
        state.ResumeTiming();
        table.refresh(all);
        benchmark::DoNotOptimize(table.rowCount());
    }
}
BENCHMARK(BM_Refresh10000TwoKeys)->Unit(benchmark::kMillisecond);

// The first refresh after the window opens, every row made, on five keys.
void BM_FirstRefresh10000FiveKeys(benchmark::State& state)
{
    const QList<SampleEvent> all = records(10000);
    for (auto _ : state) {
        StatsTable table;
        table.sortPrimary(StatsTable::Type, false);
        for (int c : {StatsTable::Loc, StatsTable::FreqId, StatsTable::Time, StatsTable::Last})
            table.sortSecondary(c, true);
        table.refresh(all);
        benchmark::DoNotOptimize(table.rowCount());
    }
}
BENCHMARK(BM_FirstRefresh10000FiveKeys)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
