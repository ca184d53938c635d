#include "link/FrequencyPlan.h"
#include "link/Wire.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "memory/TaggedText.h"
#include "TestSuite.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <rapidcheck.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace tst_roundtrip {
namespace {

using namespace vexlor;
using memory::Cell;
using memory::LocalStores;
using memory::MemoryTables;
using MT = MemoryTables;
namespace tagged = memory::tagged;
namespace rcg = rc::gen;

// Import refuses 1000 MHz and above; the stores' eight digits hold up to 9999.9999.
constexpr int kImportableUnits = 10000000;
constexpr int kStorableUnits = 100000000;

using Bytes = std::optional<std::string>; // nullopt: a cell never set

// How one column's cells are made.
struct Column {
    int width = 0;             // texts of up to this many bytes of any kind
    bool trimmed = true;       // no blanks at the ends: editors, import and load trim channel and ID texts
    std::vector<Bytes> values; // or one of these; with a width too, mostly one of these
    int units = 0;             // or a frequency below this many 100 Hz units
};

Column text(int width, bool trimmed = true) { return {width, trimmed, {}, 0}; }
Column oneOf(std::vector<Bytes> values) { return {0, true, std::move(values), 0}; }

// One filled record: a bank, a channel or an ID slot.
struct Record {
    int key = 0;
    std::vector<Bytes> cells;
};

struct MemorySet {
    std::vector<Record> banks;
    std::vector<Record> channels;
    std::vector<std::vector<Record>> ids; // the ID slots of banks 1..10
};

std::string trimmedBytes(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Up to width bytes of any kind: bars, controls, high bytes, and runs that are
// also valid UTF-8 ("Â°" is C2 B0), each often enough to meet the others.
std::string latin1Bytes(rc::Random& r, int width, int size)
{
    static constexpr char kControls[] = {'\0', '\x01', '\t', '\n', '\r', '\x1b', '\x7f'};
    // Full width one time in four: the cuts of the import and the stores sit there.
    const int most = width * std::min(size, 100) / 100;
    const auto length = size_t(r.next() % 4 == 0 ? width : r.next() % uint64_t(most + 1));
    std::string s;
    while (s.size() < length) {
        auto v = r.next();
        const auto pick = [&v](unsigned count) { return char((v >>= 8) % count); };
        switch (v % 8) {
        case 0: s += '|'; break;
        case 1: s += kControls[size_t(pick(std::size(kControls)))]; break;
        case 2: s += char(0x80 + pick(0x80)); break;
        case 3: s += {char(0xC2 + pick(30)), char(0x80 + pick(0x40))}; break;
        case 4: s += {char(0xE1 + pick(12)), char(0x80 + pick(0x40)), char(0x80 + pick(0x40))}; break;
        default: s += char(0x20 + pick(0x5F)); // printable, the blank too
        }
    }
    s.resize(length);
    return s;
}

Bytes cellOf(const Column& c, rc::Random& r, int size)
{
    const auto v = r.next();
    if (c.units > 0) {
        qint64 units = qint64(v % uint64_t(c.units));
        // The import refuses what the receiver cannot take: 154.4375 to 159.425 MHz on 12.5 kHz steps instead.
        if (!link::plan::refusal(units).isEmpty())
            units = 1544375 + 125 * qint64((v >> 24) % 400);
        return link::wire::formatMHz(double(units) / 10000.0).toStdString();
    }
    if (!c.values.empty() && (c.width == 0 || v % 4 != 0))
        return c.values[(v >> 8) % c.values.size()];
    if (v % 8 == 1)
        return std::nullopt;
    const std::string s = latin1Bytes(r, c.width, size);
    return c.trimmed ? trimmedBytes(s) : s;
}

// The record with one of its texts shorter.
rc::Seq<Record> shorter(const Record& rec, const std::vector<Column>& columns)
{
    return rc::seq::mapcat(rc::seq::range<size_t>(0, rec.cells.size()), [rec, columns](size_t i) -> rc::Seq<Record> {
        if (columns[i].width == 0 || !rec.cells[i])
            return {};
        const bool trimmed = columns[i].trimmed;
        return rc::seq::map(rc::shrink::removeChunks(*rec.cells[i]), [rec, i, trimmed](const std::string& s) {
            Record out = rec;
            out.cells[i] = trimmed ? trimmedBytes(s) : s;
            return out;
        });
    });
}

// Records for a subset of 1..count, each member at one chance for the whole set:
// up to all of them as the size grows to 100. A failing set shrinks by dropping
// records and shortening texts.
rc::Gen<std::vector<Record>> records(int count, std::vector<Column> columns)
{
    return [count, columns](const rc::Random& random, int size) {
        rc::Random r(random);
        const auto share = r.next() % uint64_t(std::min(size, 100) + 1);
        std::vector<Record> out;
        for (int key = 1; key <= count; ++key) {
            if (r.next() % 100 >= share)
                continue;
            Record rec {key, {}};
            for (const Column& c : columns)
                rec.cells.push_back(cellOf(c, r, size));
            out.push_back(std::move(rec));
        }
        return rc::shrinkable::shrinkRecur(std::move(out), [columns](const std::vector<Record>& rs) {
            return rc::seq::concat(rc::shrink::removeChunks(rs),
                                   rc::shrink::eachElement(rs, [columns](const Record& rec) { return shorter(rec, columns); }));
        });
    };
}

rc::Gen<MemorySet> memorySets(int frequencyUnits)
{
    std::vector<Bytes> trunkTypes {std::nullopt, std::string()};
    for (const auto& row : MT::TrunkTypeTable) {
        if (!row.shortForm.isEmpty())
            trunkTypes.push_back(std::string(row.shortForm.data(), size_t(row.shortForm.size())));
    }
    const std::vector<Bytes> flags {"=", ""};
    const std::vector<Column> banks {text(61, false), {61, false, trunkTypes, 0}};
    const std::vector<Column> channels {{0, true, {}, frequencyUnits}, text(3),     text(40),
                                        oneOf(flags),                   oneOf(flags), oneOf({"Normal", "Trunk"})};
    const std::vector<Column> ids {text(6), text(3), text(40), oneOf({std::nullopt, "=", "", " "})};
    // Half the banks hold no IDs, as conventional banks do.
    const auto idBanks = rcg::container<std::vector<std::vector<Record>>>(
        MT::kBanks, rcg::oneOf(rcg::just(std::vector<Record>()), records(MT::kSlots, ids)));
    return rcg::map(rcg::tuple(records(MT::kBanks, banks), records(MT::kChannels, channels), idBanks),
                    [](std::tuple<std::vector<Record>, std::vector<Record>, std::vector<std::vector<Record>>> t) {
                        return MemorySet {std::move(std::get<0>(t)), std::move(std::get<1>(t)), std::move(std::get<2>(t))};
                    });
}

MemoryTables tablesOf(const MemorySet& set)
{
    const auto cell = [](const Bytes& b) { return b ? Cell(QString::fromLatin1(b->data(), qsizetype(b->size()))) : Cell(); };
    MemoryTables t;
    for (const Record& r : set.banks) {
        t.BankNames.set(r.key, cell(r.cells[0]));
        t.BankTrunkTypes.set(r.key, cell(r.cells[1]));
    }
    for (const Record& r : set.channels) {
        t.Channels.set(r.key, MT::kChCh, r.key);
        for (size_t c = 0; c < r.cells.size(); ++c)
            t.Channels.set(r.key, MT::kChFrequency + int(c), cell(r.cells[c]));
    }
    for (int bank = 1; bank <= MT::kBanks; ++bank) {
        for (const Record& r : set.ids[size_t(bank - 1)]) {
            t.IDs.set(bank, r.key, MT::kIdCh, MT::slotLabel(r.key));
            for (size_t c = 0; c < r.cells.size(); ++c)
                t.IDs.set(bank, r.key, MT::kIdId + int(c), cell(r.cells[c]));
        }
    }
    return t;
}

std::string quoted(const Cell& cell)
{
    if (cell.isEmpty())
        return "<unset>";
    std::string out = "\"";
    for (const QChar c : cell.display()) {
        const auto u = c.unicode();
        if (u >= 0x20 && u < 0x7F && c != QLatin1Char('"') && c != QLatin1Char('\\'))
            out += char(u);
        else
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0')).toStdString();
    }
    return out + "\"";
}

// A failing case prints the cells it filled.
void showValue(const MemorySet& set, std::ostream& os)
{
    const MemoryTables t = tablesOf(set);
    for (const Record& r : set.banks)
        os << "\nbank " << r.key << ' ' << quoted(t.BankNames.at(r.key)) << ' ' << quoted(t.BankTrunkTypes.at(r.key));
    for (const Record& r : set.channels) {
        os << "\nchannel " << r.key;
        for (int col = MT::kChFrequency; col <= MT::kChMode; ++col)
            os << ' ' << quoted(t.Channels.at(r.key, col));
    }
    for (int bank = 1; bank <= MT::kBanks; ++bank) {
        for (const Record& r : set.ids[size_t(bank - 1)]) {
            os << "\nID " << bank << '/' << r.key;
            for (int col = MT::kIdCh; col <= MT::kIdLO; ++col)
                os << ' ' << quoted(t.IDs.at(bank, r.key, col));
        }
    }
}

// The first line where two texts part, for the failure message.
std::string firstDifference(const QByteArray& a, const QByteArray& b)
{
    const QList<QByteArray> left = a.split('\n');
    const QList<QByteArray> right = b.split('\n');
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const QByteArray l = left.value(i, "<none>");
        const QByteArray r = right.value(i, "<none>");
        if (l != r)
            return QStringLiteral("line %1: %2 / %3")
                .arg(i + 1)
                .arg(QString::fromLatin1(l.toPercentEncoding(" |=[]-.")), QString::fromLatin1(r.toPercentEncoding(" |=[]-.")))
                .toStdString();
    }
    return "none";
}

// Every filled record into bank.dat and idbank.dat of the folder: all channels
// (an unfilled one as blanks), the filled ID slots, every bank text.
bool save(const MemoryTables& source, const QTemporaryDir& dir)
{
    MemoryTables tables;
    LocalStores stores(dir.filePath(QStringLiteral("bank.dat")), dir.filePath(QStringLiteral("idbank.dat")));
    stores.LoadStores(tables); // empty files: the stores now write from these tables
    tables = source;
    bool ok = stores.StoreChannelRange(1, MT::kChannels);
    for (int b = 1; b <= MT::kBanks; ++b) {
        for (int list = 1; list <= MT::kLists; ++list)
            ok = stores.StoreIDList(b, list) && ok;
    }
    return stores.StoreBankNames() && stores.StoreBankTrunkTypes() && ok;
}

QByteArray contents(const QTemporaryDir& dir, const char* name)
{
    QFile file(dir.filePath(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class TestRoundTrip : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // From the second export on, the file does not change: the first may only
    // drop what the format cannot carry.
    void exportImportExport()
    {
        QVERIFY(rc::check("export, import, export gives the same bytes", [] {
            const QByteArray first = tagged::exportText(tablesOf(*memorySets(kImportableUnits)));
            MemoryTables back;
            const tagged::ImportCount count = tagged::importText(first, back);
            RC_ASSERT(count.skipped == 0);
            const QByteArray second = tagged::exportText(back);
            if (second != first)
                RC_FAIL("the second export differs at " + firstDifference(first, second));
        }));
    }

    void saveLoadSave()
    {
        QVERIFY(rc::check("save, load, save gives the same files", [] {
            const MemoryTables tables = tablesOf(*memorySets(kStorableUnits));
            QTemporaryDir first;
            QTemporaryDir second;
            RC_ASSERT(save(tables, first));
            MemoryTables loaded;
            LocalStores(first.filePath(QStringLiteral("bank.dat")), first.filePath(QStringLiteral("idbank.dat")))
                .LoadStores(loaded);
            RC_ASSERT(save(loaded, second));
            for (const char* name : {"bank.dat", "idbank.dat"}) {
                const QByteArray a = contents(first, name);
                const QByteArray b = contents(second, name);
                if (a != b) {
                    const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
                    RC_FAIL(std::string(name) + " differs at byte " + std::to_string(at));
                }
            }
        }));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestRoundTrip)

} // namespace
} // namespace tst_roundtrip

#include "tst_roundtrip.moc"
