#include "DecoderHelpers.h"
#include "MonitorRig.h"
#include "TestSuite.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

namespace tst_statusdecoder {
namespace {

using namespace vexlor::monitor;
using namespace vexlor::monitor::testing;

// Channels, squelch, frequency and tuning lines.
class TestStatusDecoder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void channel_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("ch");
        QTest::addColumn<QString>("compactName");
        QTest::newRow("named") << QStringList() << kChannel1 << "Fire North" << "FDP" << "1" << "Fire North";
        QTest::newRow("unnamed shows frequency")
            << QStringList {"W110 F01550000"} << "C031 F01550000 TN" << "" << "POL" << "31" << "155.0000";
        QTest::newRow("last channel") << QStringList() << "C300" << "Last" << "UTY" << "300" << "Last";
        QTest::newRow("above 300 keeps labels")
            << QStringList {kChannel1} << "C301" << "Fire North" << "FDP" << "301" << "Fire North";
    }
    void channel()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, line);
        MonitorRig rig;
        rig.decode(before);
        rig.decode({line});
        const auto& d = rig.display.s;
        QTEST(d.NameLbl, "name");
        QTEST(d.TypeLbl, "type");
        QTEST(d.ChLbl, "ch");
        QTEST(rig.compact.s.NameLbl, "compactName");
        QTEST(rig.compact.s.TypeLbl, "type");
        QCOMPARE(QString::number(rig.decoder.CurrentChannel), d.ChLbl);
    }

    void priority_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("entries");
        QTest::newRow("bank A") << QStringList {"PC A001", "C001"} << true << "1,0,0,0,0,0,0,0,0,0";
        QTest::newRow("bank J") << QStringList {"PC J300", "C300"} << true << "0,0,0,0,0,0,0,0,0,300";
        QTest::newRow("lenient number") << QStringList {"PC C12x", "C012"} << true << "0,0,12,0,0,0,0,0,0,0";
        QTest::newRow("other channel") << QStringList {"PC A001", "C002"} << false << "1,0,0,0,0,0,0,0,0,0";
        QTest::newRow("hidden again") << QStringList {"PC A001", "C001", "C002"} << false << "1,0,0,0,0,0,0,0,0,0";
        QTest::newRow("overwritten") << QStringList {"PC A001", "PC A002", "C001"} << false << "2,0,0,0,0,0,0,0,0,0";
        QTest::newRow("letter K ignored") << QStringList {"PC A007", "PC K001", "C001"} << false << "7,0,0,0,0,0,0,0,0,0";
        // Unset entries are 0, which must not light the lamp.
        QTest::newRow("channel 0") << QStringList {"C000"} << false << "0,0,0,0,0,0,0,0,0,0";
    }
    void priority()
    {
        QFETCH(QStringList, lines);
        MonitorRig rig;
        rig.decode(lines);
        QTEST(rig.display.s.PriLbl, "shown");
        QTEST(priorities(rig.decoder.PriorityChannels), "entries");
    }

    // A conventional channel measures from the squelch opening.
    void trunkFlag_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<double>("seconds");
        QTest::newRow("conventional") << "C001 F01544300 TF" << 2.0;
        QTest::newRow("trunked") << kChannel1 << -1.0;
        QTest::newRow("no flag field") << "C001" << -1.0;
    }
    void trunkFlag()
    {
        QFETCH(QString, line);
        MonitorRig rig;
        rig.decode({"MD00", "W110 F01544300", "+"});
        rig.clock.advanceMs(300);
        rig.decode({line});
        rig.clock.advanceMs(1700);
        rig.decode({"-"});
        QTEST(rig.measured("C", "1", "154.4300"), "seconds");
        QCOMPARE(rig.meas.Measurements().size(), line.endsWith(QLatin1Char('F')) ? 1 : 0);
    }

    void squelchBatch()
    {
        MonitorRig rig;
        rig.decode({"+", kChannel1});
        QVERIFY(rig.display.s.SQopen);
        QVERIFY(rig.compact.s.NameLblVisible && rig.compact.s.TypeLblVisible);
        rig.decode({"MD12", "TB D E2-800    ", "ID S 002032"});
        QVERIFY(rig.display.s.IDListen);
        QVERIFY(rig.compact.s.IDNameLblVisible && rig.compact.s.IDTypeLblVisible);
        rig.decode({"ID E 002032"});
        QVERIFY(!rig.display.s.IDListen);
        QVERIFY(!rig.compact.s.IDNameLblVisible && !rig.compact.s.IDTypeLblVisible);
        QVERIFY(rig.compact.s.NameLblVisible);

        rig.decode({"+", kChannel1, "-"});
        const auto& d = rig.display.s;
        QVERIFY(!d.SQopen);
        QCOMPARE(d.ChLbl, QString());
        QCOMPARE(d.NameLbl, QString());
        QCOMPARE(d.TypeLbl, QString());
        QVERIFY(!rig.compact.s.NameLblVisible && !rig.compact.s.TypeLblVisible);
        // The published state is what the window draws.
        QCOMPARE(rig.display.published(), rig.display.s);
    }

    void popUp_data()
    {
        QTest::addColumn<int>("mode"); // -1: no mode line yet
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<bool>("before");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("after");
        QTest::newRow("mode 0 open") << 0 << 1 << false << "+" << true;
        QTest::newRow("mode 0 close") << 0 << 1 << true << "-" << false;
        QTest::newRow("mode 8 open") << 8 << 1 << false << "+" << true;
        QTest::newRow("no mode yet open") << -1 << 1 << false << "+" << true;
        QTest::newRow("mode 0 call") << 0 << 1 << false << "ID S 002032" << false;
        QTest::newRow("mode 9 open") << 9 << 1 << false << "+" << false;
        QTest::newRow("mode 9 close") << 9 << 1 << true << "-" << true;
        QTest::newRow("mode 9 call") << 9 << 1 << false << "ID S 002032" << false;
        QTest::newRow("mode 9 call end") << 9 << 1 << true << "ID E 002032" << true;
        QTest::newRow("mode 10 call") << 10 << 1 << false << "ID S 002032" << true;
        QTest::newRow("mode 10 call end") << 10 << 1 << true << "ID E 002032" << false;
        QTest::newRow("mode 12 open") << 12 << 1 << false << "+" << false;
        QTest::newRow("mode 12 close") << 12 << 1 << true << "-" << true;
        QTest::newRow("mode 21 call") << 21 << 1 << false << "ID S 002032" << true;
        QTest::newRow("view closed") << 0 << 0 << false << "+" << false;
        QTest::newRow("always shown, close") << 0 << 2 << true << "-" << true;
        QTest::newRow("always shown, call end") << 12 << 2 << true << "ID E 002032" << true;
    }
    void popUp()
    {
        QFETCH(int, mode);
        QFETCH(int, viewMode);
        QFETCH(bool, before);
        QFETCH(QString, line);
        MonitorRig rig;
        if (mode >= 0)
            rig.decode({QStringLiteral("MD%1").arg(mode, 2, 10, QLatin1Char('0'))});
        rig.compact.s.CompactViewMode = viewMode;
        rig.compact.s.shown = before;
        rig.decode({line});
        QTEST(rig.compact.s.shown, "after");
    }

    void logNext_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QTime>("closedAt");
        QTest::addColumn<int>("firstMs");
        QTest::addColumn<int>("secondMs");
        QTest::addColumn<int>("linesFirst");
        QTest::addColumn<int>("logNextFirst");
        QTest::addColumn<int>("linesSecond");
        const QTime noon(12, 0);
        QTest::newRow("1.5 s, then 2.5 s") << "MD01" << noon << 1500 << 1000 << 0 << 1 << 1;
        QTest::newRow("2.5 s, logged once") << "MD01" << noon << 2500 << 3000 << 1 << 0 << 1;
        QTest::newRow("exactly 2 s") << "MD01" << noon << 2000 << 100 << 0 << 1 << 1;
        QTest::newRow("no mode yet") << "" << noon << 2500 << 0 << 1 << 0 << 1;
        QTest::newRow("mode 19 arms") << "MD19" << noon << 2500 << 0 << 1 << 0 << 1;
        QTest::newRow("mode 9 does not arm") << "MD09" << noon << 2500 << 3000 << 0 << 0 << 0;
        QTest::newRow("mode 12 does not arm") << "MD12" << noon << 2500 << 3000 << 0 << 0 << 0;
        QTest::newRow("mode 18 does not arm") << "MD18" << noon << 2500 << 3000 << 0 << 0 << 0;
        QTest::newRow("over midnight") << "MD01" << QTime(23, 59, 59) << 3000 << 0 << 1 << 0 << 1;
        QTest::newRow("1 s over midnight") << "MD01" << QTime(23, 59, 59, 500) << 1000 << 2000 << 0 << 1 << 1;
    }
    void logNext()
    {
        QFETCH(QString, mode);
        QFETCH(QTime, closedAt);
        QFETCH(int, firstMs);
        QFETCH(int, secondMs);
        QFETCH(int, linesFirst);
        QFETCH(int, linesSecond);
        MonitorRig rig;
        rig.clock.setLocalDateTime(QDateTime(QDate(2001, 10, 23), closedAt));
        rig.decode({mode, "W110 F01544300", "-"});
        rig.clock.advanceMs(firstMs);
        rig.decode({kChannel1});
        QCOMPARE(rig.logLines().size(), linesFirst);
        QTEST(rig.decoder.LogNext, "logNextFirst");
        rig.clock.advanceMs(secondMs);
        rig.decode({kChannel1});
        const QStringList lines = rig.logLines();
        QCOMPARE(lines.size(), linesSecond);
        if (linesSecond)
            QCOMPARE(lines.first(), logLine("154.4300", "FDP", "Fire North", "", "", ""));
    }

    void frequency_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("freq");
        QTest::addColumn<QString>("ch");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("x");
        QTest::newRow("changed") << "W110 F01550000" << "155.0000" << "" << "" << 2000.08;
        QTest::newRow("unchanged") << "W090 F01544300" << "154.4300" << "1" << "Fire North" << 1285.68;
        QTest::newRow("no fields") << "W" << "000.0000" << "" << "" << 750.0;
    }
    void frequency()
    {
        QFETCH(QString, line);
        MonitorRig rig;
        rig.display.s.CenterTuningOnOff = true;
        rig.decode({"W110 F01544300", kChannel1, line});
        const auto& d = rig.display.s;
        QTEST(d.FrequencyBox, "freq");
        QTEST(d.ChLbl, "ch");
        QTEST(d.NameLbl, "name");
        QCOMPARE(d.TypeLbl, QStringLiteral("FDP"));
        QTEST(d.TunLine, "x");
    }

    void tuning_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<double>("x");
        QTest::newRow("000") << true << "000" << 750.0;
        QTest::newRow("075") << true << "075" << 750.0;
        QTest::newRow("076") << true << "076" << 785.6;
        QTest::newRow("096") << true << "096" << 1500.0;
        QTest::newRow("110") << true << "110" << 2000.08;
        QTest::newRow("144") << true << "144" << 3214.56;
        QTest::newRow("145") << true << "145" << 3250.0;
        QTest::newRow("200") << true << "200" << 3250.0;
        QTest::newRow("off") << false << "000" << 2000.0;
    }
    void tuning()
    {
        QFETCH(bool, on);
        QFETCH(QString, offset);
        MonitorRig rig;
        rig.display.s.CenterTuningOnOff = on;
        rig.decode({QStringLiteral("W%1 F01462000").arg(offset)});
        QTEST(rig.display.s.TunLine, "x");
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestStatusDecoder)

} // namespace
} // namespace tst_statusdecoder

#include "tst_statusdecoder.moc"
