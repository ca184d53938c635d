#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"

#include "link/Wire.h"

#include "RecordBytes.h"
#include "TestSuite.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace tst_localstores {
namespace {

using namespace vexlor::memory;
using MT = MemoryTables;
using namespace recordbytes;

namespace {

constexpr int kBankSize = 300 * 68;
constexpr int kIdSize = 1020 * 65;

struct Dir {
    QTemporaryDir tmp;
    QString bank() const { return tmp.filePath(QStringLiteral("bank.dat")); }
    QString id() const { return tmp.filePath(QStringLiteral("idbank.dat")); }
};

MemoryTables fullTables()
{
    MemoryTables t;
    for (int n = 1; n <= 300; ++n) {
        t.Channels.set(n, MT::kChCh, n);
        t.Channels.set(n, MT::kChFrequency, vexlor::link::wire::formatMHz(25.0 + n * 0.0125));
        t.Channels.set(n, MT::kChType, n % 18 ? QString(MT::TypeCodes[size_t(n % 17)].code) : QString());
        t.Channels.set(n, MT::kChName, QStringLiteral("Channel %1 caf\u00e9").arg(n));
        t.Channels.set(n, MT::kChDLY, n % 2 ? QStringLiteral("=") : QString());
        t.Channels.set(n, MT::kChLO, n % 3 ? QString() : QStringLiteral("="));
        t.Channels.set(n, MT::kChMode, n % 4 ? QStringLiteral("Normal") : QStringLiteral("Trunk"));
        for (int c = MT::kChMap; c <= MT::kChY; ++c)
            t.Channels.set(n, c, QString()); // as an editor leaves them
    }
    for (int b = 1; b <= 10; ++b) {
        for (int s = 1; s <= 100; ++s) {
            t.IDs.set(b, s, MT::kIdCh, MT::slotLabel(s));
            t.IDs.set(b, s, MT::kIdId, vexlor::link::wire::digits(b * 1000 + s, 6));
            t.IDs.set(b, s, MT::kIdType, QStringLiteral("POL"));
            t.IDs.set(b, s, MT::kIdName, QStringLiteral("Talkgroup %1/%2").arg(b).arg(s));
            t.IDs.set(b, s, MT::kIdLO, s % 2 ? QStringLiteral("=") : QStringLiteral(" "));
            t.IDs.set(b, s, MT::kIdReserved, QString());
        }
        t.BankNames.set(b, QStringLiteral("Bank %1").arg(b));
        t.BankTrunkTypes.set(b, QString(MT::TrunkTypeTable[size_t(b % 7)].shortForm));
    }
    return t;
}

// What a load gives back: the map fields never survive.
MemoryTables afterLoad(MemoryTables t)
{
    for (int n = 1; n <= 300; ++n) {
        for (int c = MT::kChMap; c <= MT::kChY; ++c)
            t.Channels.set(n, c, 0);
    }
    return t;
}

void storeAll(LocalStores& s)
{
    QVERIFY(s.StoreChannelRange(1, 300));
    for (int b = 1; b <= 10; ++b) {
        for (int l = 1; l <= 10; ++l)
            QVERIFY(s.StoreIDList(b, l));
    }
    QVERIFY(s.StoreBankNames());
    QVERIFY(s.StoreBankTrunkTypes());
}

bool rowEqual(const MemoryTables& a, const MemoryTables& b, int n)
{
    for (int c = 0; c < 10; ++c) {
        if (!(a.Channels.at(n, c) == b.Channels.at(n, c)))
            return false;
    }
    return true;
}

bool slotEqual(const MemoryTables& a, const MemoryTables& b, int record)
{
    const int bank = (record - 1) / 100 + 1, slot = (record - 1) % 100 + 1;
    for (int c = 0; c < 6; ++c) {
        if (!(a.IDs.at(bank, slot, c) == b.IDs.at(bank, slot, c)))
            return false;
    }
    return true;
}

QByteArray randomBytes(int n, quint32 seed)
{
    QRandomGenerator gen(seed);
    QByteArray out(n, '\0');
    for (char& c : out)
        c = char(gen.bounded(256));
    return out;
}

// The files a full set of tables gives.
std::pair<QByteArray, QByteArray> goodFiles()
{
    Dir d;
    MemoryTables t;
    LocalStores s(d.bank(), d.id());
    s.LoadStores(t);
    t = fullTables(); // the stores write from the tables they loaded into
    storeAll(s);
    return { readAll(d.bank()), readAll(d.id()) };
}

} // namespace

class TestLocalStores : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshStartCreatesEmptyFiles()
    {
        Dir d;
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        QVERIFY(QFile::exists(d.bank()));
        QVERIFY(QFile::exists(d.id()));
        QCOMPARE(QFileInfo(d.bank()).size(), 0);
        QCOMPARE(QFileInfo(d.id()).size(), 0);
        QVERIFY(t == MemoryTables());
        QVERIFY(s.bankStoreWritable() && s.idBankStoreWritable());

        t.Channels.set(31, MT::kChCh, 31);
        t.Channels.set(31, MT::kChFrequency, QStringLiteral("154.3250"));
        QVERIFY(s.StoreChannelRange(31, 60));
        const QByteArray bank = readAll(d.bank()); // written through, while the store stays open
        QCOMPARE(bank.size(), 60 * 68);
        QCOMPARE(bank.left(30 * 68), QByteArray(30 * 68, '\0'));
        QCOMPARE(bank.mid(30 * 68, 68), channel("31", "01543250", "", "", 'F', 'F', 'N'));

        t.IDs.set(3, 12, MT::kIdCh, QStringLiteral("2-2"));
        QVERIFY(s.StoreIDList(3, 2));
        QByteArray id = readAll(d.id());
        QCOMPARE(id.size(), 212 * 65);
        QCOMPARE(id.left(211 * 65), QByteArray(211 * 65, '\0'));
        QCOMPARE(id.mid(211 * 65), recordbytes::id("2-2", ""));

        QVERIFY(s.StoreBankTrunkTypes());
        id = readAll(d.id());
        QCOMPARE(id.size(), kIdSize);
        QCOMPARE(id.mid(212 * 65, 1010 * 65 - 212 * 65), QByteArray(1010 * 65 - 212 * 65, '\0'));
    }

    void roundTripOfFullTables()
    {
        Dir d;
        const MemoryTables t = fullTables();
        {
            MemoryTables tables;
            LocalStores s(d.bank(), d.id());
            s.LoadStores(tables);
            tables = t;
            storeAll(s);
        }
        QCOMPARE(QFileInfo(d.bank()).size(), kBankSize);
        QCOMPARE(QFileInfo(d.id()).size(), kIdSize);
        MemoryTables back;
        for (int b = 1; b <= 10; ++b)
            back.BankImported.set(b, true);
        LocalStores s(d.bank(), d.id());
        s.LoadStores(back);
        const MemoryTables expected = afterLoad(t);
        for (int n = 1; n <= 300; ++n)
            QVERIFY2(rowEqual(back, expected, n), qPrintable(QString::number(n)));
        for (int r = 1; r <= 1000; ++r)
            QVERIFY2(slotEqual(back, expected, r), qPrintable(QString::number(r)));
        QVERIFY(back == expected); // names, trunk types and BankImported false too
        QCOMPARE(back.Channels.text(4, MT::kChName), QStringLiteral("Channel 4 caf\u00e9"));
    }

    void storeLoadCycle_data()
    {
        QTest::addColumn<QStringList>("in"); // columns 1..9, "<none>" never set
        QTest::addColumn<QStringList>("out"); // display() of columns 1..9 after a load
        const QString none = QStringLiteral("<none>");
        QTest::newRow("empty mode loads as Trunk")
            << QStringList { "146.5200", "", "", "", "", none, none, none, none }
            << QStringList { "146.5200", "", "", "", "", "Trunk", "0", "0", "0" };
        QTest::newRow("empty frequency loads as 000.0000")
            << QStringList { none, "POL", "x", "=", "=", "Normal", "", "", "" }
            << QStringList { "000.0000", "POL", "x", "=", "=", "Normal", "0", "0", "0" };
        QTest::newRow("map numbers never survive")
            << QStringList { "851.0125", "", "", "", "", "Normal", "7", "123", "456" }
            << QStringList { "851.0125", "", "", "", "", "Normal", "0", "0", "0" };
        QTest::newRow("other flag text is off")
            << QStringList { "851.0125", "", "", "Y", "on", "normal", "", "", "" }
            << QStringList { "851.0125", "", "", "", "", "Trunk", "0", "0", "0" };
        QTest::newRow("outside Latin-1")
            << QStringList { "851.0125", QStringLiteral("\u20acA"), QStringLiteral("\u4e2d\u00e9"), "", "", "Normal", "", "", "" }
            << QStringList { "851.0125", "?A", QStringLiteral("?\u00e9"), "", "", "Normal", "0", "0", "0" };
        QTest::newRow("name blanks trimmed") << QStringList { "851.0125", " A ", "  Two words  ", "", "", "Normal", "", "", "" }
                                             << QStringList { "851.0125", "A", "Two words", "", "", "Normal", "0", "0", "0" };
    }
    void storeLoadCycle()
    {
        QFETCH(QStringList, in);
        QFETCH(QStringList, out);
        Dir d;
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        t.Channels.set(45, MT::kChCh, 45);
        for (int c = 0; c < in.size(); ++c) {
            if (in[c] != QLatin1String("<none>"))
                t.Channels.set(45, c + 1, in[c]);
        }
        QVERIFY(s.StoreChannelRange(31, 60));
        MemoryTables back;
        LocalStores(d.bank(), d.id()).LoadStores(back);
        QCOMPARE(back.Channels.at(45, MT::kChCh), Cell(45));
        for (int c = 0; c < out.size(); ++c)
            QCOMPARE(back.Channels.text(45, c + 1), out[c]);
        QVERIFY(back.Channels.at(45, MT::kChMap).isNumber());
    }

    void leadingZerosRejected()
    {
        Dir d;
        QVERIFY(writeAll(d.bank(), channel("001", "01543250", "POL", "One") + channel("2", "01543250", "POL", "Two")
                                       + channel(" 3 ", "01543250", "POL", "Three")));
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        for (int c = 0; c < 10; ++c)
            QVERIFY(t.Channels.at(1, c).isEmpty());
        QCOMPARE(t.Channels.text(2, MT::kChName), QStringLiteral("Two"));
        QCOMPARE(t.Channels.text(3, MT::kChName), QStringLiteral("Three"));
        // The program itself writes "1".
        t.Channels.set(1, MT::kChCh, 1);
        t.Channels.set(1, MT::kChName, QStringLiteral("One"));
        QVERIFY(s.StoreChannelRange(1, 1));
        QCOMPARE(readAll(d.bank()).left(3), QByteArray("1  "));
    }

    void corruptFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("zeros") << "zeros";
        QTest::newRow("random") << "random";
        QTest::newRow("garbage between valid records") << "interleaved";
        QTest::newRow("truncated mid record") << "truncated";
        QTest::newRow("oversized") << "oversized";
    }
    void corruptFiles()
    {
        QFETCH(QString, kind);
        const auto [goodBank, goodId] = goodFiles();
        QCOMPARE(goodBank.size(), kBankSize);
        QByteArray bank = goodBank, id = goodId;
        // Which records still hold what the good file held.
        std::vector<bool> bankIntact(301, true), idIntact(1021, true);
        if (kind == QLatin1String("zeros")) {
            bank.fill('\0');
            id.fill('\0');
            bankIntact.assign(301, false);
            idIntact.assign(1021, false);
        } else if (kind == QLatin1String("random")) {
            bank = randomBytes(kBankSize, 7);
            id = randomBytes(kIdSize, 8);
            bankIntact.assign(301, false);
            idIntact.assign(1021, false);
        } else if (kind == QLatin1String("interleaved")) {
            for (int n = 2; n <= 300; n += 2) {
                bank.replace((n - 1) * 68, 68, randomBytes(68, quint32(n)));
                bankIntact[size_t(n)] = false;
            }
            for (int r = 2; r <= 1020; r += 2) {
                id.replace((r - 1) * 65, 65, randomBytes(65, quint32(r)));
                idIntact[size_t(r)] = false;
            }
        } else if (kind == QLatin1String("truncated")) {
            bank.truncate(150 * 68 + 20);
            id.truncate(500 * 65 + 30);
            for (int n = 151; n <= 300; ++n)
                bankIntact[size_t(n)] = false;
            for (int r = 501; r <= 1020; ++r)
                idIntact[size_t(r)] = false;
        } else {
            bank += randomBytes(5000, 9);
            id += randomBytes(7000, 10);
        }

        Dir d;
        QVERIFY(writeAll(d.bank(), bank));
        QVERIFY(writeAll(d.id(), id));
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);

        const MemoryTables expected = afterLoad(fullTables());
        for (int n = 1; n <= 300; ++n) {
            if (bankIntact[size_t(n)])
                QVERIFY2(rowEqual(t, expected, n), qPrintable(QString::number(n)));
        }
        for (int r = 1; r <= 1000; ++r) {
            if (idIntact[size_t(r)])
                QVERIFY2(slotEqual(t, expected, r), qPrintable(QString::number(r)));
        }
        for (int b = 1; b <= 10; ++b) {
            if (idIntact[size_t(1000 + b)])
                QCOMPARE(t.BankNames.at(b), expected.BankNames.at(b));
            if (idIntact[size_t(1010 + b)])
                QCOMPARE(t.BankTrunkTypes.at(b), expected.BankTrunkTypes.at(b));
        }
        if (kind == QLatin1String("zeros")) {
            QVERIFY(t == MemoryTables());
        }
        if (kind == QLatin1String("truncated")) {
            QVERIFY(t.Channels.at(152, MT::kChCh).isEmpty());
            QVERIFY(t.BankNames.at(1).isEmpty());
        }

        // Storing one bank, one ID list and the bank texts leaves every other byte alone.
        QVERIFY(s.StoreChannelRange(31, 60));
        QVERIFY(s.StoreIDList(2, 3));
        QVERIFY(s.StoreBankNames());
        const QByteArray bankAfter = readAll(d.bank());
        const QByteArray idAfter = readAll(d.id());
        QCOMPARE(bankAfter.size(), std::max<qsizetype>(bank.size(), 60 * 68));
        QCOMPARE(bankAfter.left(30 * 68), bank.left(30 * 68));
        QCOMPARE(bankAfter.mid(60 * 68), bank.mid(60 * 68));
        QCOMPARE(idAfter.size(), std::max<qsizetype>(id.size(), 1010 * 65));
        // Mask the records this store may have written: slots 21..30 of bank 2 and the ten names.
        auto outsideIdWrites = [size = idAfter.size()](const QByteArray& bytes) {
            QByteArray b = bytes.leftJustified(size, '\0', true);
            b.replace(120 * 65, 10 * 65, QByteArray(10 * 65, '-'));
            b.replace(1000 * 65, 10 * 65, QByteArray(10 * 65, '-'));
            return b;
        };
        QCOMPARE(outsideIdWrites(idAfter), outsideIdWrites(id));
    }

    void bankTextLengthsOutOfRange()
    {
        QByteArray id(1000 * 65, '\0');
        for (int b = 1; b <= 10; ++b)
            id += bankText(QByteArray("Name ") + QByteArray::number(b));
        id.replace(1001 * 65, 65, pad(QByteArray("\x08\x00\xc8\x00", 4), 65, 'x')); // length 200
        id.replace(1004 * 65, 65, pad(QByteArray("\x08\x00\x3e\x00", 4), 65, 'x')); // length 62
        id += QByteArray("\x08\x00\x14\x00" "EDA", 7); // record 1011 says 20 bytes, holds 3
        Dir d;
        QVERIFY(writeAll(d.id(), id));
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        QVERIFY(t.BankNames.at(2).isEmpty());
        QVERIFY(t.BankNames.at(5).isEmpty());
        QCOMPARE(t.bankName(1), QStringLiteral("Name 1"));
        QCOMPARE(t.bankName(10), QStringLiteral("Name 10"));
        QCOMPARE(t.bankTrunkType(1).size(), 20);
        QVERIFY(t.bankTrunkType(1).startsWith(QLatin1String("EDA")));
        QVERIFY(t.BankTrunkTypes.at(2).isEmpty());
    }

    void unopenableStore()
    {
        Dir d;
        QVERIFY(QDir(d.tmp.path()).mkdir(QStringLiteral("bank.dat")));
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        QVERIFY(!s.bankStoreWritable());
        QVERIFY(s.errorString().contains(QLatin1String("bank.dat")));
        QVERIFY(t == MemoryTables());
        t.Channels.set(1, MT::kChName, QStringLiteral("x"));
        QVERIFY(!s.StoreChannelRange(1, 30));
        QVERIFY(QFileInfo(d.bank()).isDir());
        // The other store is not affected.
        QVERIFY(s.idBankStoreWritable());
        t.BankNames.set(1, QStringLiteral("One"));
        QVERIFY(s.StoreBankNames());
        QCOMPARE(readAll(d.id()).mid(1000 * 65, 65), bankText("One"));
    }

    // What a process killed during a store call leaves: a journal, whole or cut
    // short, and maybe a record half written in place; and journals that are
    // not this store's, or not of this state of it.
    void journalLeftByAKill_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<int>("journalCut"); // bytes missing at the journal's end
        QTest::addColumn<int>("written"); // bytes of the new record already in place
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<char>("name"); // the letter channel 2's name is made of
        QTest::newRow("killed mid-record: redone") << "" << 0 << 30 << qint64(68) << 'n';
        QTest::newRow("killed after the record: redone") << "" << 0 << 68 << qint64(68) << 'n';
        QTest::newRow("killed in the journal: store untouched") << "" << 1 << 0 << qint64(68) << 'o';
        QTest::newRow("journal for no store: ignored") << "" << 0 << 0 << RecordJournal::kMaxOffset + 68 << 'o';
        QTest::newRow("another store's journal: ignored") << "name" << 0 << 0 << qint64(68) << 'o';
        QTest::newRow("store replaced since: ignored") << "inode" << 0 << 0 << qint64(68) << 'o';
        QTest::newRow("store changed since: ignored") << "moved" << 0 << 0 << qint64(68) << 'm';
        QTest::newRow("first of a step, partner not whole: not redone") << "first" << 0 << 0 << qint64(68) << 'o';
        QTest::newRow("first of a step, partner whole: redone") << "paired" << 0 << 30 << qint64(68) << 'n';
        QTest::newRow("second of a step: redone") << "second" << 0 << 30 << qint64(68) << 'n';
    }
    void journalLeftByAKill()
    {
        QFETCH(QString, variant);
        QFETCH(int, journalCut);
        QFETCH(int, written);
        QFETCH(qint64, offset);
        QFETCH(char, name);
        Dir d;
        const QByteArray before = channel("1", "01543250", "POL", "One") + channel("2", "01543375", "FDP", QByteArray(40, 'o'));
        const QByteArray after = channel("2", "04601250", "AMB", QByteArray(40, 'n'), 'N', 'N', 'N');
        QVERIFY(writeAll(d.bank(), before.left(68) + after.left(written) + before.mid(68 + written)));
        QVERIFY(writeAll(d.id(), QByteArray(65, ' ')));
        auto identity = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? RecordJournal::identityOf(f).value() : RecordJournal::Identity();
        };
        RecordJournal::Entry e {identity(d.bank()), {}, {{offset, after, before.mid(68, 68)}}};
        if (variant == QLatin1String("name"))
            e.store = identity(d.id());
        if (variant == QLatin1String("inode"))
            ++e.store.inode;
        if (variant == QLatin1String("moved"))
            QVERIFY(writeAll(d.bank(), before.left(68) + channel("2", "01543375", "FDP", QByteArray(40, 'm'))));
        if (variant == QLatin1String("first") || variant == QLatin1String("paired"))
            e.pairing = {7, true, QStringLiteral("idbank.dat.journal")};
        if (variant == QLatin1String("second"))
            e.pairing = {7, false, QStringLiteral("idbank.dat.journal")};
        if (variant == QLatin1String("paired")) {
            const RecordJournal::Entry partner {identity(d.id()), {7, false, QStringLiteral("bank.dat.journal")}, {}};
            QVERIFY(writeAll(d.id() + QStringLiteral(".journal"), RecordJournal::encode(partner)));
        }
        QVERIFY(writeAll(d.bank() + QStringLiteral(".journal"), RecordJournal::encode(e).chopped(journalCut)));
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        QCOMPARE(t.Channels.text(2, MT::kChName), QString(40, QLatin1Char(name)));
        QCOMPARE(t.Channels.text(1, MT::kChName), QStringLiteral("One"));
        QCOMPARE(QFileInfo(d.bank()).size(), before.size());
        QVERIFY(!QFile::exists(d.bank() + QStringLiteral(".journal")));
        QVERIFY(!QFile::exists(d.id() + QStringLiteral(".journal")));
        // A later store call is journaled afresh and leaves no journal behind.
        t.Channels.set(1, MT::kChName, QStringLiteral("Uno"));
        QVERIFY(s.StoreChannelRange(1, 1));
        QVERIFY(!QFile::exists(d.bank() + QStringLiteral(".journal")));
        QCOMPARE(readAll(d.bank()).mid(14, 3), QByteArray("Uno"));
    }

    // A step over both stores writes all of its records, or, once one call is refused, none.
    void stepIsAllOrNothing_data()
    {
        QTest::addColumn<bool>("refuse");
        QTest::newRow("all accepted") << false;
        QTest::newRow("one refused") << true;
    }
    void stepIsAllOrNothing()
    {
        QFETCH(bool, refuse);
        Dir d;
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        t.Channels.set(1, MT::kChCh, 1);
        t.Channels.set(1, MT::kChFrequency, QStringLiteral("154.3250"));
        t.BankNames.set(1, refuse ? QString(62, u'x') : QStringLiteral("One"));
        t.BankNames.set(2, QStringLiteral("Two"));
        s.beginStep();
        s.StoreChannelRange(1, 1);
        s.StoreBankNames();
        QCOMPARE(s.endStep(), !refuse);
        MemoryTables back;
        LocalStores(d.bank(), d.id()).LoadStores(back);
        QCOMPARE(back.Channels.text(1, MT::kChFrequency), refuse ? QString() : QStringLiteral("154.3250"));
        QCOMPARE(back.bankName(2), refuse ? QString() : QStringLiteral("Two"));
        QVERIFY(!QFile::exists(d.bank() + QStringLiteral(".journal")));
    }

    void readOnlyStoreStillLoads_data()
    {
        QTest::addColumn<bool>("asked");
        QTest::newRow("file not writable") << false;
        QTest::newRow("read-only asked for") << true;
    }
    void readOnlyStoreStillLoads()
    {
        QFETCH(bool, asked);
        Dir d;
        const QByteArray bank = channel("1", "01543250", "POL", "One");
        QVERIFY(writeAll(d.bank(), bank));
        if (!asked) {
            QVERIFY(QFile::setPermissions(d.bank(), QFile::ReadOwner));
            if (QFile(d.bank()).open(QIODevice::ReadWrite))
                QSKIP("permissions are not enforced for this user");
        }
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.setReadOnly(asked);
        s.LoadStores(t);
        QCOMPARE(t.Channels.text(1, MT::kChName), QStringLiteral("One"));
        QVERIFY(!s.bankStoreWritable());
        QVERIFY(!s.errorString().isEmpty());
        t.Channels.set(1, MT::kChName, QStringLiteral("Changed"));
        QVERIFY(!s.StoreChannelRange(1, 1));
        QCOMPARE(readAll(d.bank()), bank);
        // Asked for, it creates no file either.
        QCOMPARE(QFile::exists(d.id()), !asked);
    }

    void bankNameTooLongKeepsTheRecord_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("written");
        QTest::newRow("61") << 61 << true;
        QTest::newRow("62") << 62 << false;
        QTest::newRow("200") << 200 << false;
    }
    void bankNameTooLongKeepsTheRecord()
    {
        QFETCH(int, length);
        QFETCH(bool, written);
        Dir d;
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        for (int b = 1; b <= 10; ++b)
            t.BankNames.set(b, QStringLiteral("Old %1").arg(b));
        QVERIFY(s.StoreBankNames());
        for (int b = 1; b <= 10; ++b)
            t.BankNames.set(b, QStringLiteral("New %1").arg(b));
        t.BankNames.set(3, QString(length, QLatin1Char('n')));
        QCOMPARE(s.StoreBankNames(), written);
        const QByteArray id = readAll(d.id());
        QCOMPARE(id.mid(1002 * 65, 65), written ? bankText(QByteArray(length, 'n')) : bankText("Old 3"));
        QCOMPARE(id.mid(1003 * 65, 65), bankText("New 4")); // the others still go to disk
        QCOMPARE(id.mid(1009 * 65, 65), bankText("New 10"));
        QCOMPARE(s.StoreBankName(3), written);
        MemoryTables back;
        LocalStores(d.bank(), d.id()).LoadStores(back);
        QCOMPARE(back.bankName(3), written ? QString(length, QLatin1Char('n')) : QStringLiteral("Old 3"));
    }

    void storeIDListSkipsEmptyLabels()
    {
        Dir d;
        QByteArray id(30 * 65, '\0');
        const QByteArray old = recordbytes::id("3-4", "777777", "OLD", "Old");
        id.replace(23 * 65, 65, old); // slot 24
        id.replace(24 * 65, 65, old); // slot 25
        QVERIFY(writeAll(d.id(), id));
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        for (int slot = 21; slot <= 30; ++slot) {
            t.IDs.set(1, slot, MT::kIdId, QStringLiteral("000042"));
            t.IDs.set(1, slot, MT::kIdName, QStringLiteral("Slot %1").arg(slot));
        }
        for (int slot = 26; slot <= 30; ++slot)
            t.IDs.set(1, slot, MT::kIdCh, MT::slotLabel(slot));
        t.IDs.set(1, 24, MT::kIdCh, Cell()); // never filled
        t.IDs.set(1, 25, MT::kIdCh, QString()); // the empty text counts as empty too
        QVERIFY(s.StoreIDList(1, 3));
        const QByteArray after = readAll(d.id());
        QCOMPARE(after.mid(23 * 65, 65), old);
        QCOMPARE(after.mid(24 * 65, 65), old);
        QCOMPARE(after.mid(25 * 65, 65), recordbytes::id("3-6", "000042", "", "Slot 26"));
        QCOMPARE(after.mid(26 * 65, 65), recordbytes::id("3-7", "000042", "", "Slot 27"));
        QCOMPARE(after.left(20 * 65), id.left(20 * 65));
    }

    void storeOutsideTheTablesDoesNothing_data()
    {
        QTest::addColumn<int>("bank");
        QTest::addColumn<int>("list");
        QTest::newRow("bank 0") << 0 << 1;
        QTest::newRow("bank 11") << 11 << 1;
        QTest::newRow("list 0") << 1 << 0;
        QTest::newRow("list 11") << 1 << 11;
    }
    void storeOutsideTheTablesDoesNothing()
    {
        QFETCH(int, bank);
        QFETCH(int, list);
        Dir d;
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        t = fullTables();
        QVERIFY(!s.StoreIDList(bank, list));
        QVERIFY(!s.StoreIDSlot(bank, list * 10));
        if (bank < 1 || bank > 10)
            QVERIFY(!s.StoreBankName(bank) && !s.StoreBankTrunkType(bank));
        QCOMPARE(QFileInfo(d.id()).size(), 0);
    }

    void channelRangeIsClamped_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("size"); // of bank.dat afterwards
        QTest::newRow("from 0") << 0 << 5 << 5 * 68;
        QTest::newRow("past 300") << 299 << 400 << 300 * 68;
        QTest::newRow("reversed") << 10 << 5 << 0;
        QTest::newRow("all out") << 301 << 310 << 0;
    }
    void channelRangeIsClamped()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, size);
        Dir d;
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        t = fullTables();
        QCOMPARE(s.StoreChannelRange(first, last), size > 0);
        QCOMPARE(QFileInfo(d.bank()).size(), size);
    }

    void noValueAndEmptyTextStayApart()
    {
        Dir d;
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        t.BankTrunkTypes.set(1, Cell());
        t.BankTrunkTypes.set(2, QString());
        t.BankTrunkTypes.set(3, QStringLiteral("E2-Hi"));
        QVERIFY(s.StoreBankTrunkTypes());
        const QByteArray id = readAll(d.id());
        QCOMPARE(id.mid(1010 * 65, 65), QByteArray(65, '\0'));
        QCOMPARE(id.mid(1011 * 65, 65), bankText(""));
        MemoryTables back;
        LocalStores(d.bank(), d.id()).LoadStores(back);
        QVERIFY(back.BankTrunkTypes.at(1).isEmpty());
        QCOMPARE(back.BankTrunkTypes.at(2), Cell(QString()));
        QCOMPARE(back.bankTrunkType(3), QStringLiteral("E2-Hi"));
    }

    void singleRecordStores()
    {
        Dir d;
        MemoryTables t;
        LocalStores s(d.bank(), d.id());
        s.LoadStores(t);
        t = fullTables();
        storeAll(s);
        const QByteArray before = readAll(d.id());
        t.IDs.set(4, 7, MT::kIdReserved, QStringLiteral("X")); // the import's upload mark
        t.IDs.set(4, 7, MT::kIdName, QStringLiteral("Imported"));
        t.BankTrunkTypes.set(6, QStringLiteral("EDACS"));
        t.BankNames.set(6, QStringLiteral("Changed"));
        QVERIFY(s.StoreIDSlot(4, 7));
        QVERIFY(s.StoreBankTrunkType(6));
        QByteArray expected = before;
        expected.replace(306 * 65, 65, recordbytes::id("1-7", "004007", "POL", "Imported", '='));
        expected.replace(1015 * 65, 65, bankText("EDACS"));
        QCOMPARE(readAll(d.id()), expected); // the name of bank 6 is not written
    }

    void storesBeforeLoadDoNothing()
    {
        Dir d;
        LocalStores s(d.bank(), d.id());
        QVERIFY(!s.StoreChannelRange(1, 300));
        QVERIFY(!s.StoreIDList(1, 1));
        QVERIFY(!s.StoreBankNames());
        QVERIFY(!s.StoreBankTrunkTypes());
        QVERIFY(!QFile::exists(d.bank()));
        QVERIFY(!QFile::exists(d.id()));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestLocalStores)

} // namespace
} // namespace tst_localstores

#include "tst_localstores.moc"
