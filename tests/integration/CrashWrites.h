#pragma once

// Two generations of every record the stores and the configuration hold,
// different in every record, shared by the writer that gets killed
// (crashwriter) and the test that checks what it left.
#include "app/config/IniFile.h"
#include "link/Wire.h"
#include "memory/MemoryTables.h"

#include <QString>

namespace vexlor::testing::crash {

using memory::MemoryTables;
using MT = MemoryTables;

inline void fillGeneration(MemoryTables& t, int g)
{
    for (int n = 1; n <= MT::kChannels; ++n) {
        t.Channels.set(n, MT::kChCh, n);
        t.Channels.set(n, MT::kChFrequency, link::wire::formatMHz(30.0 + g * 100 + n * 0.0125));
        t.Channels.set(n, MT::kChType, QString(MT::TypeCodes[size_t((n + g) % 17)].code));
        // Long names, so that writes span pages.
        t.Channels.set(n, MT::kChName, QStringLiteral("Generation %1 channel %2 ").arg(g).arg(n).leftJustified(40, QLatin1Char(g ? 'b' : 'a')));
        t.Channels.set(n, MT::kChDLY, (n + g) % 2 ? QStringLiteral("=") : QString());
        t.Channels.set(n, MT::kChLO, (n + g) % 3 ? QString() : QStringLiteral("="));
        t.Channels.set(n, MT::kChMode, (n + g) % 4 ? QStringLiteral("Normal") : QStringLiteral("Trunk"));
        for (int c = MT::kChMap; c <= MT::kChY; ++c)
            t.Channels.set(n, c, QString());
    }
    for (int b = 1; b <= MT::kBanks; ++b) {
        for (int s = 1; s <= MT::kSlots; ++s) {
            t.IDs.set(b, s, MT::kIdCh, MT::slotLabel(s));
            t.IDs.set(b, s, MT::kIdId, link::wire::digits(g * 500000 + b * 1000 + s, 6));
            t.IDs.set(b, s, MT::kIdType, QString(MT::TypeCodes[size_t((s + g) % 17)].code));
            t.IDs.set(b, s, MT::kIdName, QStringLiteral("Gen %1 talkgroup %2/%3 ").arg(g).arg(b).arg(s).leftJustified(40, QLatin1Char(g ? 'b' : 'a')));
            t.IDs.set(b, s, MT::kIdLO, (s + g) % 2 ? QStringLiteral("=") : QStringLiteral(" "));
            t.IDs.set(b, s, MT::kIdReserved, QString());
        }
        t.BankNames.set(b, QStringLiteral("Generation %1 bank %2").arg(g).arg(b));
        t.BankTrunkTypes.set(b, QString(MT::TrunkTypeTable[size_t((b + g) % 7)].shortForm));
    }
}

inline app::IniFile iniGeneration(const QString& path, int g)
{
    app::IniFile ini;
    ini.setIniFileName(path);
    ini.setUserName(g ? QStringLiteral("Bravo operator") : QStringLiteral("Alpha"));
    ini.setComPort(g ? QStringLiteral("/dev/ttyUSB1") : QStringLiteral("3"));
    ini.setLogWhat(g ? QStringLiteral("111111111") : QStringLiteral("100000001"));
    ini.setRemoteAllow(g ? QStringLiteral("127.0.0.1,10.0.0.2") : QString());
    return ini;
}

} // namespace vexlor::testing::crash
