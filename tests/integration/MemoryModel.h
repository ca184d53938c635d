#pragma once

// What the stores, the tables and the simulator must hold, as plain values,
// and the readable differences between what must be and what is.
#include "link/Wire.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "simulator/MemoryState.h"

#include <QStringList>

#include <array>
#include <cmath>
#include <optional>

namespace vexlor::testing::model {

using memory::MemoryTables;
using MT = MemoryTables;
namespace wire = link::wire;

// One channel as the tables show it: never filled, or its texts.
struct Chan {
    bool set = false;
    QString freq, type, name, dly, lo, mode;
    bool operator==(const Chan&) const = default;
    QStringList record() const { return {freq, type, name, dly, lo, mode}; }
};

struct Slot {
    bool set = false;
    QString label, id, type, name, lo; // lo trimmed: a loaded slot holds a blank where an edited one holds nothing
    bool operator==(const Slot&) const = default;
    QStringList record() const { return {id, type, name, lo}; }
};

struct Memories {
    std::array<Chan, MT::kChannels + 1> ch {};
    std::array<std::array<Slot, MT::kSlots + 1>, MT::kBanks + 1> ids {};
    std::array<std::optional<QString>, MT::kBanks + 1> names {}, types {};
    bool operator==(const Memories&) const = default;

    QString name(int b) const { return names[b].value_or(QString()); }
    QString type(int b) const { return types[b].value_or(QString()); }
};

inline std::optional<QString> cellText(const memory::Cell& c)
{
    return c.isEmpty() ? std::nullopt : std::optional<QString>(c.display());
}

inline Memories view(const MemoryTables& t)
{
    Memories m;
    for (int n = 1; n <= MT::kChannels; ++n) {
        auto d = [&](int col) { return t.Channels.text(n, col); };
        m.ch[n] = {!t.Channels.at(n, MT::kChCh).isEmpty(), d(MT::kChFrequency), d(MT::kChType), d(MT::kChName),
                   d(MT::kChDLY), d(MT::kChLO), d(MT::kChMode)};
    }
    for (int b = 1; b <= MT::kBanks; ++b) {
        for (int s = 1; s <= MT::kSlots; ++s) {
            auto d = [&](int col) { return t.IDs.text(b, s, col); };
            m.ids[b][s] = {!t.IDs.at(b, s, MT::kIdCh).isEmpty(), d(MT::kIdCh), d(MT::kIdId), d(MT::kIdType),
                           d(MT::kIdName), MT::trimBlanks(d(MT::kIdLO))};
        }
        m.names[b] = cellText(t.BankNames.at(b));
        m.types[b] = cellText(t.BankTrunkTypes.at(b));
    }
    return m;
}

// The stores as a fresh start reads them.
inline Memories reloaded(const memory::LocalStores& stores)
{
    MemoryTables fresh;
    memory::LocalStores again(stores.bankPath(), stores.idBankPath());
    again.setReadOnly(true);
    again.LoadStores(fresh);
    return view(fresh);
}

inline qint32 units(const QString& frequency)
{
    const double u = std::round(wire::leadingNumber(frequency) * 10000.0);
    return u >= 0 && u < 1e8 ? qint32(u) : 0;
}

inline QString fieldText(const QString& text, int width) { return MT::trimBlanks(text.left(width)); }

// A channel record written and read back.
inline Chan stored(const Chan& c)
{
    if (!c.set)
        return {};
    return {true, wire::formatMHz(units(c.freq) / 10000.0), fieldText(c.type, 3), fieldText(c.name, 40),
            c.dly == QLatin1String("=") ? QStringLiteral("=") : QString(),
            c.lo == QLatin1String("=") ? QStringLiteral("=") : QString(),
            c.mode == QLatin1String("Normal") ? QStringLiteral("Normal") : QStringLiteral("Trunk")};
}

// An ID record written and read back; a label that is no label does not load.
inline Slot stored(const Slot& s)
{
    const QString label = fieldText(s.label, 5);
    for (QChar c : label) {
        if (!c.isDigit() && c != QLatin1Char('-'))
            return {};
    }
    return {true, label, fieldText(s.id, 6), fieldText(s.type, 3), fieldText(s.name, 40), fieldText(s.lo, 1)};
}

inline QString show(const Chan& c)
{
    return c.set ? QStringLiteral("{%1}").arg(c.record().join(QLatin1Char('|'))) : QStringLiteral("unset");
}
inline QString show(const Slot& s)
{
    return s.set ? QStringLiteral("{%1 %2}").arg(s.label, s.record().join(QLatin1Char('|')))
                 : QStringLiteral("unset{%1}").arg(s.record().join(QLatin1Char('|')));
}
inline QString show(const std::optional<QString>& t) { return t ? QLatin1Char('"') + *t + QLatin1Char('"') : QStringLiteral("unset"); }

inline QStringList diff(const QString& what, const Memories& want, const Memories& got)
{
    QStringList out;
    for (int n = 1; n <= MT::kChannels; ++n) {
        if (want.ch[n] != got.ch[n])
            out << QStringLiteral("%1 channel %2: want %3, got %4").arg(what).arg(n).arg(show(want.ch[n]), show(got.ch[n]));
    }
    for (int b = 1; b <= MT::kBanks; ++b) {
        for (int s = 1; s <= MT::kSlots; ++s) {
            if (want.ids[b][s] != got.ids[b][s])
                out << QStringLiteral("%1 bank %2 slot %3: want %4, got %5")
                           .arg(what).arg(b).arg(MT::slotLabel(s), show(want.ids[b][s]), show(got.ids[b][s]));
        }
        if (want.names[b] != got.names[b])
            out << QStringLiteral("%1 bank %2 name: want %3, got %4").arg(what).arg(b).arg(show(want.names[b]), show(got.names[b]));
        if (want.types[b] != got.types[b])
            out << QStringLiteral("%1 bank %2 type: want %3, got %4").arg(what).arg(b).arg(show(want.types[b]), show(got.types[b]));
    }
    return out;
}

using simulator::MemoryState;

inline QString show(const MemoryState::Channel& c)
{
    return QStringLiteral("%1%2%3%4").arg(c.frequency).arg(c.trunk ? " T" : "").arg(c.delay ? " D" : "").arg(c.lockout ? " L" : "");
}

// The receiver's memories; the active banks and lists are left out, since the
// ID directory chooses the bank it shows.
inline QStringList diff(const MemoryState& want, const MemoryState& got)
{
    QStringList out;
    for (int n = 1; n <= MemoryState::kChannels; ++n) {
        if (want.channel(n) != got.channel(n))
            out << QStringLiteral("receiver channel %1: want %2, got %3").arg(n).arg(show(want.channel(n)), show(got.channel(n)));
    }
    for (int b = 1; b <= MemoryState::kBanks; ++b) {
        const MemoryState::Bank &w = want.bank(b), &g = got.bank(b);
        if (w.trunkType != g.trunkType || w.priorityChannel != g.priorityChannel)
            out << QStringLiteral("receiver bank %1: want type %2 priority %3, got %4 %5")
                       .arg(b).arg(w.trunkType).arg(w.priorityChannel).arg(g.trunkType).arg(g.priorityChannel);
        for (int l = 1; l <= MemoryState::kLists; ++l) {
            for (int p = 1; p <= MemoryState::kSlotsPerList; ++p) {
                if (want.id(b, l, p) != got.id(b, l, p))
                    out << QStringLiteral("receiver bank %1 ID %2-%3: want %4, got %5").arg(b).arg(l).arg(p).arg(want.id(b, l, p)).arg(got.id(b, l, p));
            }
        }
        if (w.lockedIds != g.lockedIds) {
            auto list = [](const QSet<int>& s) {
                QList<int> v(s.begin(), s.end());
                std::sort(v.begin(), v.end());
                QStringList t;
                for (int id : v)
                    t << QString::number(id);
                return t.join(QLatin1Char(','));
            };
            out << QStringLiteral("receiver bank %1 locked IDs: want {%2}, got {%3}").arg(b).arg(list(w.lockedIds), list(g.lockedIds));
        }
    }
    for (int s = 1; s <= MemoryState::kSearchLockouts; ++s) {
        if (want.searchLockout(s) != got.searchLockout(s))
            out << QStringLiteral("receiver search lock-out %1: want %2, got %3").arg(s).arg(want.searchLockout(s)).arg(got.searchLockout(s));
    }
    if (want.lowerLimit() != got.lowerLimit() || want.upperLimit() != got.upperLimit())
        out << QStringLiteral("receiver search limits changed");
    return out;
}

} // namespace vexlor::testing::model
