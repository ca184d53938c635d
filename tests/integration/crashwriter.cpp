// Writes files the way the program does, over and over, until it is killed.
//   crashwriter stores DIR read|save|import G  bank.dat and idbank.dat, in the
//       calls of a bank read, a Banks save or an import, alternating generations
//   crashwriter ini DIR                       qorvanix.ini, alternating generations
// The caller gives it files that hold generation 0 or 1 in every record. It
// loads them, writes generation G (stores) or 1 (ini), then the other, and
// so on. It prints "ready" once its first store call is done (ini: at once).
#include "CrashWrites.h"

#include "memory/LocalStores.h"

#include <QDir>

#include <cstdio>

using namespace vexlor;
using memory::LocalStores;
using testing::crash::MT;

namespace {

void ready()
{
    std::puts("ready");
    std::fflush(stdout);
}

// The store calls of each writer in the program, for every bank.
void storeAll(LocalStores& s, const QString& pattern)
{
    for (int b = 1; b <= MT::kBanks; ++b) {
        const int first = MT::firstChannel(b);
        if (pattern == QLatin1String("read")) { // frequency and ID directories
            s.StoreChannelRange(first, first + MT::kChannelsPerBank - 1);
            s.StoreBankNames();
            s.StoreBankTrunkTypes();
            for (int l = 1; l <= MT::kLists; ++l)
                s.StoreIDList(b, l);
        } else if (pattern == QLatin1String("save")) { // Banks: row by row
            for (int n = first; n < first + MT::kChannelsPerBank; ++n)
                s.StoreChannelRange(n, n);
            s.StoreBankName(b);
            s.StoreBankTrunkType(b);
            for (int l = 1; l <= MT::kLists; ++l)
                s.StoreIDList(b, l);
        } else { // import: runs of records
            s.StoreChannelRange(first, first + MT::kChannelsPerBank - 1);
            s.StoreIDSlots(b, 1, MT::kSlots);
            s.StoreBankTrunkType(b);
        }
    }
    s.StoreBankNames();
}

int stores(const QDir& dir, const QString& pattern, int first)
{
    // Both generations are built beforehand, so that no pass waits on them.
    MT gens[2];
    testing::crash::fillGeneration(gens[0], 0);
    testing::crash::fillGeneration(gens[1], 1);
    MT tables;
    LocalStores s(dir.filePath(QStringLiteral("bank.dat")), dir.filePath(QStringLiteral("idbank.dat")));
    s.LoadStores(tables);
    // "ready" follows the first store call: a disk busy with writeback can
    // hold that first journal longer than the whole kill window.
    tables = gens[first];
    s.StoreChannelRange(1, 1);
    ready();
    for (int g = first;; g = 1 - g) {
        tables = gens[g];
        storeAll(s, pattern);
    }
}

int ini(const QDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("qorvanix.ini"));
    ready();
    for (int g = 1;; g = 1 - g) {
        if (!testing::crash::iniGeneration(path, g).SaveINI())
            return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    const QString what = argc > 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QDir dir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    if (what == QLatin1String("stores") && argc > 4)
        return stores(dir, QString::fromLocal8Bit(argv[3]), QByteArray(argv[4]) == "0" ? 0 : 1);
    if (what == QLatin1String("ini"))
        return ini(dir);
    std::fputs("usage: crashwriter stores DIR read|save|import 0|1 | crashwriter ini DIR\n", stderr);
    return 2;
}
