#include "memory/TaggedTextFile.h"

#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "platform/FileRead.h"

#include <memory>

namespace vexlor::memory::taggedfile {

namespace {

using MT = MemoryTables;

const QLatin1String kMark {"X"};

// Calls store(first, last) for every run of adjacent rows 1..count that are marked.
template <typename Marked, typename Store>
void forEachRun(int count, Marked marked, Store store)
{
    for (int n = 1; n <= count; ++n) {
        if (!marked(n))
            continue;
        int last = n;
        while (last < count && marked(last + 1))
            ++last;
        store(n, last);
        n = last;
    }
}

} // namespace

WriteResult write(const QString& path, const QByteArray& bytes)
{
    return platform::safewrite::replace(path, bytes);
}

ReadResult import(const QString& path, MemoryTables& tables, const std::function<bool()>& cancelled)
{
    ReadResult r;
    // One byte over the bound tells a file that is too big, even one whose size is not known ahead.
    const platform::FileReadResult file = platform::readFile(path, kMaxFileBytes, cancelled);
    r.opened = file.opened;
    r.errorNumber = file.errorNumber;
    r.reason = file.reason;
    r.tooLarge = file.tooLarge;
    r.cancelled = file.cancelled;
    if (!file.complete)
        return r;
    r.count = tagged::importText(file.bytes, tables);
    r.complete = true;
    return r;
}

bool commitImport(MemoryTables& tables, const MemoryTables& next, LocalStores& stores, const void* source)
{
    // Heap: a whole memory set is too big for the stack.
    const auto before = std::make_unique<MemoryTables>(tables);
    // The stores encode from the tables they were loaded into.
    tables = next;
    stores.beginStep();
    storeImported(tables, stores);
    if (!stores.endStep()) {
        tables = *before;
        return false;
    }
    tables.announce(MemoryChange::everything(source));
    return true;
}

bool storeImported(const MemoryTables& t, LocalStores& stores)
{
    bool ok = true;
    // Adjacent marked records go in one write.
    forEachRun(MT::kChannels, [&](int n) { return t.Channels.text(n, MT::kChMap) == kMark; },
               [&](int first, int last) { ok = stores.StoreChannelRange(first, last) && ok; });
    bool anyBank = false;
    for (int b = 1; b <= MT::kBanks; ++b) {
        forEachRun(MT::kSlots, [&](int s) { return t.IDs.text(b, s, MT::kIdReserved) == kMark; },
                   [&](int first, int last) {
                       ok = stores.StoreIDSlots(b, first, last) && ok;
                   });
        if (t.BankImported.at(b)) {
            ok = stores.StoreBankTrunkType(b) && ok;
            anyBank = true;
        }
    }
    // The names too: without them every imported bank name is gone at the next start.
    if (anyBank)
        ok = stores.StoreBankNames() && ok;
    return ok;
}

} // namespace vexlor::memory::taggedfile
