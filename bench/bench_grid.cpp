#include "memory/BankGrid.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

using vexlor::memory::BankGrid;

namespace {

// 300 channel rows as a copy from another program gives them: tab-separated, CR LF after each.
QString channelText()
{
    QString text;
    for (int n = 1; n <= 300; ++n)
        text += QStringLiteral("%1\t%2\tPOL\tChannel %1\ty\t\ttrunk\r\n").arg(n).arg(1500000 + n * 125);
    return text;
}

void BM_PasteChannels300(benchmark::State& state)
{
    const QString text = channelText();
    for (auto _ : state) {
        BankGrid grid(BankGrid::Kind::Channels);
        grid.paste(text); // nothing selected: the whole grid
        benchmark::DoNotOptimize(grid.rowCount());
    }
}
BENCHMARK(BM_PasteChannels300)->Unit(benchmark::kMillisecond);

void BM_SortIDs1000ThreeKeys(benchmark::State& state)
{
    QRandomGenerator random(7);
    const char* types[] = {"POL", "FIR", "EMS", "PWK"};
    QList<QStringList> rows;
    for (int i = 0; i < 1000; ++i) {
        const int slot = int(random.bounded(100)) + 1;
        rows << QStringList {QStringLiteral("%1-%2").arg((slot - 1) / 10 + 1).arg((slot - 1) % 10 + 1),
                             QStringLiteral("%1").arg(random.bounded(65536), 6, 10, QLatin1Char('0')),
                             QLatin1String(types[random.bounded(4)]), QStringLiteral("Group %1").arg(random.bounded(50)),
                             QString()};
    }
    for (auto _ : state) {
        state.PauseTiming();
        BankGrid grid(BankGrid::Kind::IDs);
        grid.setDataRows(rows);
        state.ResumeTiming();
        grid.headerPressed(2, true, false);  // type
        grid.headerPressed(3, false, true);  // then name, descending
        grid.headerPressed(0, false, false); // then slot
        benchmark::DoNotOptimize(grid.cell(1, 0));
    }
}
BENCHMARK(BM_SortIDs1000ThreeKeys)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
