#include "link/Wire.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vexlor::memory;

namespace {

void fill(MemoryTables& t)
{
    for (int n = 1; n <= MemoryTables::kChannels; ++n) {
        t.Channels.set(n, MemoryTables::kChCh, n);
        t.Channels.set(n, MemoryTables::kChFrequency, vexlor::link::wire::formatMHz(150.0 + n * 0.0125));
        t.Channels.set(n, MemoryTables::kChType, QStringLiteral("POL"));
        t.Channels.set(n, MemoryTables::kChName, QStringLiteral("Channel %1").arg(n));
        t.Channels.set(n, MemoryTables::kChMode, QStringLiteral("Normal"));
    }
    for (int b = 1; b <= MemoryTables::kBanks; ++b) {
        for (int s = 1; s <= MemoryTables::kSlots; ++s) {
            t.IDs.set(b, s, MemoryTables::kIdCh, MemoryTables::slotLabel(s));
            t.IDs.set(b, s, MemoryTables::kIdId, vexlor::link::wire::digits(s, 6));
            t.IDs.set(b, s, MemoryTables::kIdName, QStringLiteral("Talkgroup %1").arg(s));
        }
        t.BankNames.set(b, QStringLiteral("Bank %1").arg(b));
        t.BankTrunkTypes.set(b, QStringLiteral("E2-800"));
    }
}

// Full files in a scratch directory, written once through the stores themselves.
struct FullFiles {
    QTemporaryDir dir;
    QString bank = dir.filePath(QStringLiteral("bank.dat"));
    QString id = dir.filePath(QStringLiteral("idbank.dat"));
    FullFiles()
    {
        MemoryTables t;
        LocalStores stores(bank, id);
        stores.LoadStores(t);
        fill(t);
        stores.StoreChannelRange(1, MemoryTables::kChannels);
        for (int b = 1; b <= MemoryTables::kBanks; ++b) {
            for (int l = 1; l <= MemoryTables::kLists; ++l)
                stores.StoreIDList(b, l);
        }
        stores.StoreBankNames();
        stores.StoreBankTrunkTypes();
    }
};

void BM_LoadStores(benchmark::State& state)
{
    FullFiles files;
    for (auto _ : state) {
        MemoryTables t;
        LocalStores stores(files.bank, files.id);
        stores.LoadStores(t);
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_LoadStores)->Unit(benchmark::kMicrosecond);

void BM_StoreChannelRangeOfOneBank(benchmark::State& state)
{
    FullFiles files;
    MemoryTables t;
    LocalStores stores(files.bank, files.id);
    stores.LoadStores(t);
    for (auto _ : state)
        benchmark::DoNotOptimize(stores.StoreChannelRange(121, 150));
}
BENCHMARK(BM_StoreChannelRangeOfOneBank)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
