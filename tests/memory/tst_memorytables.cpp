#include "memory/MemoryTables.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_memorytables {
namespace {

using vexlor::memory::Cell;
using vexlor::memory::MemoryTables;
using MT = MemoryTables;

class TestMemoryTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void banksAndChannels_data()
    {
        QTest::addColumn<int>("bank");
        QTest::addColumn<QString>("first");
        QTest::newRow("1") << 1 << "001";
        QTest::newRow("2") << 2 << "031";
        QTest::newRow("4") << 4 << "091";
        QTest::newRow("10") << 10 << "271";
        QTest::newRow("0") << 0 << "";
        QTest::newRow("11") << 11 << "";
        QTest::newRow("-1") << -1 << "";
    }
    void banksAndChannels()
    {
        QFETCH(int, bank);
        QFETCH(QString, first);
        QCOMPARE(MT::firstChannelText(bank), first);
        if (!first.isEmpty()) {
            const int c = MT::firstChannel(bank);
            QCOMPARE(MT::bankOfChannel(c), bank);
            QCOMPARE(MT::bankOfChannel(c + 29), bank);
            QCOMPARE(MT::bankOfChannel(c - 1), bank - 1);
        }
    }

    void channelOutOfRange_data()
    {
        QTest::addColumn<int>("channel");
        QTest::newRow("0") << 0;
        QTest::newRow("301") << 301;
        QTest::newRow("negative") << -5;
    }
    void channelOutOfRange()
    {
        QFETCH(int, channel);
        QCOMPARE(MT::bankOfChannel(channel), 0);
    }

    void slotHelpers_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("list");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("label");
        QTest::newRow("1") << 1 << 1 << 1 << "1-1";
        QTest::newRow("10") << 10 << 1 << 10 << "1-10";
        QTest::newRow("11") << 11 << 2 << 1 << "2-1";
        QTest::newRow("25") << 25 << 3 << 5 << "3-5";
        QTest::newRow("30") << 30 << 3 << 10 << "3-10";
        QTest::newRow("100") << 100 << 10 << 10 << "10-10";
        QTest::newRow("0") << 0 << 0 << 0 << "";
        QTest::newRow("101") << 101 << 0 << 0 << "";
    }
    void slotHelpers()
    {
        QFETCH(int, slot);
        QFETCH(int, list);
        QFETCH(int, position);
        QFETCH(QString, label);
        QCOMPARE(MT::listOfSlot(slot), list);
        QCOMPARE(MT::positionOfSlot(slot), position);
        QCOMPARE(MT::slotLabel(slot), label);
        QCOMPARE(MT::slotOf(list, position), list ? slot : 0);
    }

    void selectorForShortForm_data()
    {
        QTest::addColumn<QString>("shortForm");
        QTest::addColumn<QString>("selector"); // "-" for no match
        QTest::newRow("empty is conventional") << "" << "0 - Conventional Only";
        QTest::newRow("blanks are conventional") << "   " << "0 - Conventional Only";
        QTest::newRow("E1") << "E1" << "1 - E1 Motorola";
        QTest::newRow("padded E2-Hi") << " E2-Hi  " << "5 - E2-Hi (VHF) Motorola";
        QTest::newRow("EDACS") << "EDACS" << "6 - EDACS Ericsson/GE";
        QTest::newRow("lower case") << "edacs" << "6 - EDACS Ericsson/GE";
        QTest::newRow("unknown") << "LTR" << "-";
        QTest::newRow("selector text itself") << "1 - E1 Motorola" << "-";
    }
    void selectorForShortForm()
    {
        QFETCH(QString, shortForm);
        QFETCH(QString, selector);
        const auto found = MT::selectorForShortForm(shortForm);
        QCOMPARE(found.has_value(), selector != QLatin1String("-"));
        if (found) {
            QCOMPARE(*found, selector);
            QCOMPARE(MT::shortFormForSelector(*found)->toUpper(), MT::trimBlanks(shortForm).toUpper());
        }
    }

    void trunkTypeDigit_data()
    {
        QTest::addColumn<QString>("shortForm");
        QTest::addColumn<int>("digit");
        QTest::newRow("E2-800") << "E2-800" << 2;
        QTest::newRow("E2-UHF") << "E2-UHF" << 4;
        QTest::newRow("EDACS") << "EDACS" << 6;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("unknown") << "XX" << 0;
    }
    void trunkTypeDigit()
    {
        QFETCH(QString, shortForm);
        QFETCH(int, digit);
        QCOMPARE(MT::trunkTypeDigit(shortForm), digit);
    }

    void shortFormForUnknownSelector() { QVERIFY(!MT::shortFormForSelector(u"7 - Something").has_value()); }

    void trimBlanksKeepsOtherSpace() { QCOMPARE(MT::trimBlanks(u"  a\tb\u00a0  "), QStringLiteral("a\tb\u00a0")); }

    // Decoders index the tables with whatever the receiver sends.
    void outOfRangeIsHarmless_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::newRow("channel 301") << 301 << 1 << 0;
        QTest::newRow("channel -1") << -1 << 1 << 0;
        QTest::newRow("column 10") << 1 << 10 << 0;
        QTest::newRow("bank 11") << 11 << 1 << 1;
        QTest::newRow("slot 101") << 1 << 101 << 1;
        QTest::newRow("ID column 6") << 1 << 1 << 6;
        QTest::newRow("huge") << 1 << 1 << 2147483647;
    }
    void outOfRangeIsHarmless()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        MemoryTables t;
        const MemoryTables before = t;
        t.Channels.set(a, b, Cell("x"));
        t.Channels.clearRow(a);
        t.IDs.set(a, b, c, Cell("x"));
        t.IDs.clearSlot(a, b);
        QVERIFY(t.Channels == before.Channels);
        QVERIFY(t.IDs == before.IDs);
        QVERIFY(t.Channels.at(a, b).isEmpty());
        QVERIFY(t.IDs.at(a, b, c).isEmpty());
        QCOMPARE(t.Channels.text(a, b), QString());
    }

    void bankOutOfRange_data()
    {
        QTest::addColumn<int>("bank");
        QTest::newRow("11") << 11;
        QTest::newRow("-1") << -1;
        QTest::newRow("huge") << 2147483647;
    }
    void bankOutOfRange()
    {
        QFETCH(int, bank);
        MemoryTables t;
        t.BankNames.set(bank, Cell("x"));
        t.BankTrunkTypes.set(bank, Cell("E1"));
        t.BankImported.set(bank, true);
        QVERIFY(t == MemoryTables());
        QCOMPARE(t.bankName(bank), QString());
        QVERIFY(!t.BankImported.at(bank));
    }

    void writesLandWhereTheyShould()
    {
        MemoryTables t;
        t.Channels.set(300, MT::kChY, Cell(5));
        t.IDs.set(10, 100, MT::kIdReserved, Cell("X"));
        t.BankNames.set(10, Cell("Ten"));
        QCOMPARE(t.Channels.at(300, MT::kChY), Cell(5));
        QCOMPARE(t.IDs.at(10, 100, MT::kIdReserved), Cell("X"));
        QCOMPARE(t.bankName(10), QStringLiteral("Ten"));
        QVERIFY(t.Channels.at(299, MT::kChY).isEmpty());
        QVERIFY(t.IDs.at(9, 100, MT::kIdReserved).isEmpty());
        t.clear();
        QVERIFY(t == MemoryTables());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestMemoryTables)

} // namespace
} // namespace tst_memorytables

#include "tst_memorytables.moc"
