#include "link/Wire.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "memory/TaggedText.h"
#include "memory/TaggedTextFile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

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

// A full memory set as tagged text: 10 bank lines, 300 channels, 1000 IDs.
void BM_ExportTaggedText(benchmark::State& state)
{
    auto t = std::make_unique<MemoryTables>();
    fill(*t);
    for (auto _ : state)
        benchmark::DoNotOptimize(tagged::exportText(*t));
}
BENCHMARK(BM_ExportTaggedText)->Unit(benchmark::kMillisecond);

// The same text read into empty tables.
void BM_ImportTaggedText(benchmark::State& state)
{
    auto full = std::make_unique<MemoryTables>();
    fill(*full);
    const QByteArray text = tagged::exportText(*full);
    auto t = std::make_unique<MemoryTables>();
    for (auto _ : state) {
        t->clear();
        if (tagged::importText(text, *t).records != 1310) {
            state.SkipWithError("the import did not take every record");
            return;
        }
    }
}
BENCHMARK(BM_ImportTaggedText)->Unit(benchmark::kMillisecond);

// What an import of a full set writes through to bank.dat and idbank.dat.
void BM_StoreImported(benchmark::State& state)
{
    FullFiles files;
    auto t = std::make_unique<MemoryTables>();
    LocalStores stores(files.bank, files.id);
    stores.LoadStores(*t);
    t->clear();
    auto full = std::make_unique<MemoryTables>();
    fill(*full);
    tagged::importText(tagged::exportText(*full), *t);
    for (auto _ : state) {
        if (!taggedfile::storeImported(*t, stores)) {
            state.SkipWithError("a record was not written");
            return;
        }
    }
}
BENCHMARK(BM_StoreImported)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
