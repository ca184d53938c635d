#include "link/FrequencyPlan.h"
#include "link/Wire.h"
#include "memory/MemoryTables.h"
#include "memory/TaggedText.h"
#include "memory/TaggedTextFile.h"
#include "TestSuite.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/resource.h>

Q_DECLARE_METATYPE(std::function<void(vexlor::memory::MemoryTables&)>)

namespace tst_taggedtext {
namespace {

using namespace vexlor;
using memory::MemoryTables;
using MT = MemoryTables;
namespace tagged = memory::tagged;
namespace taggedfile = memory::taggedfile;

using Setup = std::function<void(MemoryTables&)>;

namespace {

void channel(MemoryTables& t, int n, const QString& freq, const QString& type = {}, const QString& name = {})
{
    t.Channels.set(n, MT::kChCh, n);
    t.Channels.set(n, MT::kChFrequency, freq);
    t.Channels.set(n, MT::kChType, type);
    t.Channels.set(n, MT::kChName, name);
}

void id(MemoryTables& t, int bank, int slot, const QStringList& cells)
{
    for (int col = 0; col < cells.size(); ++col)
        t.IDs.set(bank, slot, col, cells[col]);
}

// Every kind of line and field, as a full memory set would have them.
MemoryTables fullSet()
{
    MemoryTables t;
    for (int b = 1; b <= MT::kBanks; ++b) {
        t.BankNames.set(b, QStringLiteral("Bank %1").arg(b));
        t.BankTrunkTypes.set(b, QString(MT::TrunkTypeTable[size_t(b % 7)].shortForm));
        for (int s = 1; s <= MT::kSlots; ++s)
            id(t, b, s, {MT::slotLabel(s), link::wire::digits(b * 1000 + s, 6), "POL", QStringLiteral("Talkgroup %1").arg(s), s % 3 ? "" : "="});
    }
    for (int n = 1; n <= MT::kChannels; ++n) {
        channel(t, n, link::wire::formatMHz(150 + n * 0.0125), "FDP", QStringLiteral("Channel %1").arg(n));
        t.Channels.set(n, MT::kChDLY, n % 2 ? "=" : "");
        t.Channels.set(n, MT::kChLO, n % 5 ? "" : "=");
        t.Channels.set(n, MT::kChMode, n % 30 == 1 ? "Trunk" : "Normal");
    }
    return t;
}

// "C5:1" channel 5 column 1; "I3:15:0" IDs bank 3 slot 15 column 0; "BN2"/"BT2" bank name/type; "<unset>" a cell never set.
QString cellAt(const MemoryTables& t, const QString& key)
{
    const QStringList p = key.mid(key.startsWith(QLatin1Char('B')) ? 2 : 1).split(QLatin1Char(':'));
    const memory::Cell* c = nullptr;
    if (key.startsWith(QLatin1String("C")))
        c = &t.Channels.at(p[0].toInt(), p[1].toInt());
    else if (key.startsWith(QLatin1String("I")))
        c = &t.IDs.at(p[0].toInt(), p[1].toInt(), p[2].toInt());
    else if (key.startsWith(QLatin1String("BN")))
        c = &t.BankNames.at(p[0].toInt());
    else
        c = &t.BankTrunkTypes.at(p[0].toInt());
    return c->isEmpty() ? QStringLiteral("<unset>") : c->display();
}

} // namespace

class TestTaggedText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportsByteForByte_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty model") << Setup([](MemoryTables&) {}) << QByteArray();
        QTest::newRow("bank names bar-replaced, type only when set")
            << Setup([](MemoryTables& t) {
                   t.BankNames.set(3, "County|Fire");
                   t.BankTrunkTypes.set(3, "E2-800");
                   t.BankNames.set(10, "Ten");
                   t.BankTrunkTypes.set(10, "");
                   t.BankTrunkTypes.set(4, "E1"); // no name: a line all the same, or the type is lost
                   t.BankNames.set(5, "");
               })
            << QByteArray("[Bank]=03 | [BankName]=County.Fire | [BankType]=E2-800\r\n"
                          "[Bank]=04 | [BankName]= | [BankType]=E1\r\n"
                          "[Bank]=10 | [BankName]=Ten\r\n");
        QTest::newRow("channel fields and flags")
            << Setup([](MemoryTables& t) {
                   channel(t, 7, "154.4300");
                   channel(t, 62, "154.4300", "FDP", "Fire|dispatch");
                   t.Channels.set(62, MT::kChDLY, "=");
                   t.Channels.set(62, MT::kChLO, "x"); // some other text: "N"
                   t.Channels.set(62, MT::kChMode, "Normal");
                   channel(t, 63, ""); // no frequency: no line
               })
            << QByteArray("[Chan]=007 | [Freq]=154.4300\r\n"
                          "[Chan]=062 | [Freq]=154.4300 | [Type]=FDP | [Name]=Fire.dispatch | [Delay]=Y | [Lock]=N"
                          " | [Mode]=Normal\r\n");
        QTest::newRow("IDs of trunked banks only, labels with a dash")
            << Setup([](MemoryTables& t) {
                   t.BankTrunkTypes.set(2, "EDACS"); // trunked, no name
                   id(t, 2, 11, {"2-1", "001234", "POL", "Pat|rol", "="});
                   id(t, 2, 12, {"22", "001235"}); // no dash: skipped
                   id(t, 2, 13, {"2-3"});
                   id(t, 5, 1, {"1-1", "000555"}); // conventional bank
               })
            << QByteArray("[Bank]=02 | [BankName]= | [BankType]=EDACS\r\n"
                          "[IDBank]=02 | [IDScanList]=2-1 | [ID]=001234 | [IDType]=POL | [IDName]=Pat.rol"
                          " | [IDLockOut]==\r\n"
                          "[IDBank]=02 | [IDScanList]=2-3\r\n");
        QTest::newRow("bank, channel, ID order")
            << Setup([](MemoryTables& t) {
                   id(t, 1, 1, {"1-1", "000001"});
                   channel(t, 1, "851.0125");
                   t.BankNames.set(1, "A");
                   t.BankTrunkTypes.set(1, "E1");
               })
            << QByteArray("[Bank]=01 | [BankName]=A | [BankType]=E1\r\n[Chan]=001 | [Freq]=851.0125\r\n"
                          "[IDBank]=01 | [IDScanList]=1-1 | [ID]=000001\r\n");
        QTest::newRow("a lock-out blank, as the store keeps it, writes no field")
            << Setup([](MemoryTables& t) {
                   t.BankTrunkTypes.set(2, "E1");
                   id(t, 2, 1, {"1-1", "000021", "", "", " "});
               })
            << QByteArray("[Bank]=02 | [BankName]= | [BankType]=E1\r\n[IDBank]=02 | [IDScanList]=1-1 | [ID]=000021\r\n");
        QTest::newRow("a bar in an ID is written as a full stop")
            << Setup([](MemoryTables& t) {
                   t.BankTrunkTypes.set(2, "E1");
                   id(t, 2, 1, {"1-1", "12|4"});
               })
            << QByteArray("[Bank]=02 | [BankName]= | [BankType]=E1\r\n[IDBank]=02 | [IDScanList]=1-1 | [ID]=12.4\r\n");
        QTest::newRow("Latin-1 bytes")
            << Setup([](MemoryTables& t) { channel(t, 1, "151.0000", "", QStringLiteral("Caf\u00e9 \u20ac")); })
            << QByteArray("[Chan]=001 | [Freq]=151.0000 | [Name]=Caf\xe9 ?\r\n");
    }
    void exportsByteForByte()
    {
        QFETCH(Setup, setup);
        QFETCH(QByteArray, expected);
        MemoryTables t;
        setup(t);
        QCOMPARE(tagged::exportText(t), expected);
    }

    void exportNamesWhatItLeavesOut_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("a trunked bank's IDs are written") << Setup([](MemoryTables& t) {
            t.BankTrunkTypes.set(2, "E1");
            id(t, 2, 1, {"1-1", "001234"});
        }) << QStringList();
        QTest::newRow("a conventional bank's IDs, bare labels not counted") << Setup([](MemoryTables& t) {
            id(t, 3, 1, {"1-1", "001234"});
            id(t, 3, 2, {"1-2", "", "", "Fire"});
            id(t, 3, 3, {"1-3"});
            id(t, 7, 100, {"10-10", "000016"});
        }) << QStringList {"Bank 3: 2 ID(s) not exported: the bank has no trunk type. Set its type, then export again.",
                           "Bank 7: 1 ID(s) not exported: the bank has no trunk type. Set its type, then export again."};
    }
    void exportNamesWhatItLeavesOut()
    {
        QFETCH(Setup, setup);
        MemoryTables t;
        setup(t);
        QTEST(tagged::exportOmissions(t), "left");
    }

    void roundTripGivesTheSameBytes()
    {
        const QByteArray first = tagged::exportText(fullSet());
        MemoryTables t;
        const tagged::ImportCount count = tagged::importText(first, t);
        QCOMPARE(count.skipped, 0);
        QCOMPARE(count.records, 10 + 300 + 1000 - 100); // the bank of "0 - Conventional" exports no IDs
        QCOMPARE(tagged::exportText(t), first);
        QCOMPARE(tagged::markCount(t), count.records);
        tagged::clearMarks(t);
        QCOMPARE(tagged::markCount(t), 0);
    }

    // Control characters a damaged store brought never break the exported line.
    void controlsInNamesStayInTheirLine()
    {
        MemoryTables t;
        t.Channels.set(1, MT::kChCh, 1);
        t.Channels.set(1, MT::kChFrequency, QStringLiteral("154.3250"));
        t.Channels.set(1, MT::kChName, QStringLiteral("A\r\n[Chan]=299 | [Freq]=1\x01"));
        t.Channels.set(1, MT::kChMode, QStringLiteral("Normal"));
        MemoryTables back;
        tagged::importText(tagged::exportText(t), back);
        QCOMPARE(back.Channels.text(1, MT::kChName), QStringLiteral("A[Chan]=299 . [Freq]=1"));
        QCOMPARE(back.Channels.text(1, MT::kChFrequency), QStringLiteral("154.3250"));
        QVERIFY(back.Channels.at(299, MT::kChCh).isEmpty());
    }

    void importTolerances_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lower case, blanks around =") << QByteArray("  [chan] = 5 | [FrEq]= 154.43 ") << "C5:1" << "154.4300";
        QTest::newRow("seven digits are 100 Hz units") << QByteArray("[Chan]=5 | [Freq]=1544300") << "C5:1" << "154.4300";
        QTest::newRow("missing bracket ignored") << QByteArray("[Chan=5 | [Freq]=154.43") << "C5:1" << "<unset>";
        QTest::newRow("blank inside brackets ignored") << QByteArray("[ Chan]=5") << "C5:0" << "<unset>";
        QTest::newRow("later tag wins") << QByteArray("[Chan]=5 | [Name]=a | [Name]=b") << "C5:3" << "b";
        QTest::newRow("type cut to 3") << QByteArray("[Chan]=5 | [Type]=FDPX") << "C5:2" << "FDP";
        QTest::newRow("type cut before a blank") << QByteArray("[Chan]=5 | [Type]=FD X") << "C5:2" << "FD";
        QTest::newRow("name cut to 40") << QByteArray("[Chan]=5 | [Name]=" + QByteArray(41, 'n')) << "C5:3" << QString(40, 'n');
        QTest::newRow("chan without freq") << QByteArray("[Chan]=5") << "C5:1" << "000.0000";
        QTest::newRow("defaults: mode Normal") << QByteArray("[Chan]=5") << "C5:6" << "Normal";
        QTest::newRow("mode trunk any case") << QByteArray("[Chan]=5 | [Mode]=tRUNK") << "C5:6" << "Trunk";
        QTest::newRow("delay y") << QByteArray("[Chan]=5 | [Delay]=y") << "C5:4" << "=";
        QTest::newRow("upload mark") << QByteArray("[Chan]=5") << "C5:7" << "X";
        QTest::newRow("bank and channel on one line (bank)") << QByteArray("[Bank]=2 | [BankName]=B | [Chan]=31") << "BN2" << "B";
        QTest::newRow("bank and channel on one line (chan)") << QByteArray("[Bank]=2 | [BankName]=B | [Chan]=31") << "C31:0" << "31";
        QTest::newRow("bank name cut to 61") << QByteArray("[Bank]=2 | [BankName]=" + QByteArray(70, 'b')) << "BN2" << QString(61, 'b');
        QTest::newRow("bank type cut to 61") << QByteArray("[Bank]=2 | [BankType]=" + QByteArray(70, 't')) << "BT2" << QString(61, 't');
        QTest::newRow("bank without type is conventional") << QByteArray("[Bank]=2 | [BankName]=B") << "BT2" << "";
        QTest::newRow("label 1-15 lands in slot 15") << QByteArray("[IDBank]=3 | [IDScanList]=1-15 | [ID]=7") << "I3:15:0" << "2-5";
        QTest::newRow("label with blanks") << QByteArray("[IDBank]=3 | [IDScanList]= 3 - 4") << "I3:24:0" << "3-4";
        QTest::newRow("label with a sign") << QByteArray("[IDBank]=3 | [IDScanList]=+1-5") << "I3:5:0" << "1-5";
        QTest::newRow("ID type and name uncut") << QByteArray("[IDBank]=3 | [IDScanList]=1-1 | [IDType]=ABCD") << "I3:1:2" << "ABCD";
        QTest::newRow("channel 301 dropped") << QByteArray("[Chan]=301 | [Freq]=1") << "C300:0" << "<unset>";
        QTest::newRow("channel 4.6 is 5") << QByteArray("[Chan]=4.6") << "C5:0" << "5";
        QTest::newRow("slot 101 dropped") << QByteArray("[IDBank]=3 | [IDScanList]=11-1") << "I3:100:0" << "<unset>";
        QTest::newRow("bank 11 dropped") << QByteArray("[Bank]=11 | [BankName]=x") << "BN10" << "<unset>";
        QTest::newRow("1000 MHz fits no store: channel kept") << QByteArray("[Chan]=5 | [Freq]=1000.0") << "C5:0" << "<unset>";
        QTest::newRow("NUL and escape dropped from names") << QByteArray("[Chan]=5 | [Name]=a") + '\0' + "b\x1b" "c" << "C5:3" << "abc";
        QTest::newRow("bytes that are valid UTF-8 read as Latin-1")
            << QByteArray("[Chan]=5 | [Name]=\xc2\xb0" "C") << "C5:3" << QStringLiteral("\u00c2\u00b0C");
        QTest::newRow("other bytes as Latin-1") << QByteArray("[Chan]=5 | [Name]=Caf\xe9") << "C5:3" << QStringLiteral("Caf\u00e9");
        QTest::newRow("a UTF-8 mark makes the file UTF-8")
            << QByteArray("\xef\xbb\xbf[Chan]=5 | [Name]=Caf\xc3\xa9") << "C5:3" << QStringLiteral("Caf\u00e9");
        QTest::newRow("leading zeros") << QByteArray("[Chan]=061 | [Freq]=0154.4300") << "C61:1" << "154.4300";
        QTest::newRow("LF endings") << QByteArray("[Chan]=4\n[Chan]=5 | [Name]=n\n") << "C5:3" << "n";
    }
    void importTolerances()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, cell);
        MemoryTables t;
        tagged::importText(text + "\r\n", t); // a last line without its end is taken as cut
        QTEST(cellAt(t, cell), "expected");
    }

    void badNumbersChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("refused"); // lines whose frequency the receiver cannot take
        QTest::newRow("letters for a frequency") << QByteArray("[Chan]=5 | [Freq]=abc\r\n") << 0;
        QTest::newRow("400 digits") << "[Chan]=5 | [Freq]=" + QByteArray(400, '1') + "\r\n" << 0;
        QTest::newRow("exponent") << QByteArray("[Chan]=1e2 | [Freq]=154.43\r\n") << 0;
        QTest::newRow("trailing junk") << QByteArray("[Chan]=5 | [Freq]=154.43MHz\r\n") << 0;
        QTest::newRow("a bad bank number spoils the channel too") << QByteArray("[Chan]=5 | [Bank]=2x | [BankName]=B\r\n") << 0;
        QTest::newRow("letters after an ID bank") << QByteArray("[IDBank]=3x | [IDScanList]=1-1\r\n") << 0;
        QTest::newRow("letters after a list position") << QByteArray("[IDBank]=3 | [IDScanList]=1-1x\r\n") << 0;
        QTest::newRow("last line cut") << QByteArray("[Chan]=5 | [Freq]=154.4") << 0;
        QTest::newRow("outside the bands") << QByteArray("[Chan]=5 | [Freq]=600.0000\r\n") << 1;
        QTest::newRow("off the steps") << QByteArray("[Chan]=5 | [Freq]=154.4301\r\n") << 1;
    }
    void badNumbersChangeNothing()
    {
        QFETCH(QByteArray, text);
        MemoryTables t;
        channel(t, 1, "151.0000", "", "one");
        channel(t, 5, "155.0000", "", "five");
        t.BankNames.set(2, "Two");
        id(t, 3, 1, {"1-1", "000031"});
        const MemoryTables before = t;
        const tagged::ImportCount count = tagged::importText(text, t);
        QCOMPARE(count.records, 0);
        QCOMPARE(count.skipped, 1);
        QTEST(count.refusedFrequencies, "refused");
        QVERIFY(t == before);
    }

    void hostileInputNeverHurts()
    {
        MemoryTables t;
        // A 10 MB line is skipped unread, and the line after it still counts.
        QByteArray bytes = "[Chan]=1 | [Name]=" + QByteArray(10 * 1024 * 1024, 'x') + "\r\n[Chan]=2\r\n";
        tagged::ImportCount c = tagged::importText(bytes, t);
        QCOMPARE(c.skipped, 1);
        QVERIFY(t.Channels.at(1, MT::kChCh).isEmpty());
        QCOMPARE(cellAt(t, "C2:0"), QStringLiteral("2"));

        // Real tags with random values and random bytes between them: whatever
        // lands stays inside the tables' rules.
        static const char* const tags[] = {"[Chan]=", "[Freq]=", "[Name]=", "[Type]=", "[Bank]=", "[BankName]=",
                                           "[BankType]=", "[IDBank]=", "[IDScanList]=", "[ID]=", "[IDName]=", "[Mode]="};
        QRandomGenerator gen(7);
        QByteArray noise;
        for (int line = 0; line < 20000; ++line) {
            for (int f = 0, fields = gen.bounded(1, 6); f < fields; ++f) {
                noise += tags[gen.bounded(int(std::size(tags)))];
                // Small numbers half the time, so that records land; else any bytes.
                if (gen.bounded(2))
                    noise += QByteArray::number(gen.bounded(1, 320)) + (gen.bounded(3) ? "" : ".0125");
                else
                    for (int i = 0, n = gen.bounded(80); i < n; ++i)
                        noise += char(gen.bounded(256));
                noise += gen.bounded(8) ? " | " : "|";
            }
            noise += gen.bounded(4) ? "\r\n" : "\n";
        }
        c = tagged::importText(noise, t);
        QVERIFY(c.lines >= 20000);
        QVERIFY2(c.records > 1000, qPrintable(QString::number(c.records)));
        for (int n = 1; n <= MT::kChannels; ++n) {
            QVERIFY(t.Channels.text(n, MT::kChName).size() <= 40);
            QVERIFY(t.Channels.text(n, MT::kChType).size() <= 3);
            QVERIFY(!t.Channels.text(n, MT::kChName).contains(QChar(0)));
            const QString f = t.Channels.text(n, MT::kChFrequency);
            QVERIFY2(f.isEmpty() || link::plan::refusal(std::llround(f.toDouble() * 10000)).isEmpty(), qPrintable(f));
        }
        for (int b = 1; b <= MT::kBanks; ++b)
            QVERIFY(t.bankName(b).size() <= 61 && !t.bankName(b).contains(QLatin1Char('\r')));
    }

    void tooLargeFileIsRefusedUnread()
    {
        QTemporaryDir dir;
        QFile big(dir.filePath("big.txt"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.write("[Chan]=1 | [Freq]=151\r\n") > 0);
        QVERIFY(big.resize(100LL * 1024 * 1024)); // sparse: costs no disk
        big.close();
        MemoryTables t;
        const taggedfile::ReadResult r = taggedfile::import(big.fileName(), t);
        QVERIFY(r.opened && r.tooLarge);
        QCOMPARE(t, MemoryTables());
    }

    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("memories.txt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old contents\r\n") > 0);
        old.close();

        // The disk refuses bytes beyond 4 KB.
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const taggedfile::WriteResult w = taggedfile::write(path, tagged::exportText(fullSet()));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);

        QVERIFY(w.opened);
        QVERIFY(!w.written);
        QCOMPARE(w.errorNumber, EFBIG);
        QVERIFY(!w.reason.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old contents\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"memories.txt"});

        const taggedfile::WriteResult missing = taggedfile::write(dir.filePath("no/such/dir/x.txt"), "x");
        QVERIFY(!missing.opened);
        QCOMPARE(missing.errorNumber, ENOENT);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestTaggedText)

} // namespace
} // namespace tst_taggedtext

#include "tst_taggedtext.moc"
