#include "simulator/SimulatorOptions.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_simoptions {
namespace {

using vexlor::simulator::SimulatorOptions;

class TestSimOptions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valid_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("check"); // "field=value"
        QTest::newRow("link") << QStringList{"--link", "/tmp/tty"} << "link=/tmp/tty";
        QTest::newRow("link with =") << QStringList{"--link=/tmp/a=b"} << "link=/tmp/a=b";
        QTest::newRow("seed") << QStringList{"--seed", "4294967295"} << "seed=4294967295";
        QTest::newRow("no seed") << QStringList{} << "seedGiven=0";
        QTest::newRow("script and state") << QStringList{"--script", "s.txt", "--state=st"} << "files=s.txt,st";
        QTest::newRow("baud") << QStringList{"--baud", "9600"} << "baud=9600";
        QTest::newRow("input buffer") << QStringList{"--baud", "9600", "--rx-buffer", "16"} << "rx=16";
        QTest::newRow("input buffer by default") << QStringList{"--baud", "9600"} << "rx=64";
        QTest::newRow("latency") << QStringList{"--latency-ms", "250"} << "latency=250";
        QTest::newRow("silence") << QStringList{"--silent-after", "1000", "--silent-for", "500"} << "silent=1000,500";
        QTest::newRow("fractions") << QStringList{"--ng-fraction", "0.25", "--err-fraction", "0.75"} << "ngerr=0.25,0.75";
        QTest::newRow("split") << QStringList{"--split", "3", "--split-gap-ms", "40"} << "split=3,40";
        QTest::newRow("garbage") << QStringList{"--garbage", "1"} << "garbage=1";
        QTest::newRow("drop") << QStringList{"--drop-after", "2000", "--drop-for", "300"} << "drop=2000,300";
        QTest::newRow("no activity") << QStringList{"--no-activity"} << "activity=0";
        QTest::newRow("help") << QStringList{"--help"} << "help=1";
    }
    void valid()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, check);
        QString why;
        const auto o = SimulatorOptions::parse(args, &why);
        QVERIFY2(o, qPrintable(why));
        const auto& f = o->faults;
        const QString key = check.section(QLatin1Char('='), 0, 0);
        const QString value = check.section(QLatin1Char('='), 1);
        QString got;
        if (key == QLatin1String("link"))
            got = o->linkPath;
        else if (key == QLatin1String("seed"))
            got = o->seedGiven ? QString::number(o->seed) : QString();
        else if (key == QLatin1String("seedGiven"))
            got = QString::number(o->seedGiven);
        else if (key == QLatin1String("files"))
            got = o->scriptFile + QLatin1Char(',') + o->stateFile;
        else if (key == QLatin1String("baud"))
            got = QString::number(f.baud);
        else if (key == QLatin1String("rx"))
            got = QString::number(f.rxBuffer);
        else if (key == QLatin1String("latency"))
            got = QString::number(f.latencyMs);
        else if (key == QLatin1String("silent"))
            got = QStringLiteral("%1,%2").arg(f.silentAfterMs).arg(f.silentForMs);
        else if (key == QLatin1String("ngerr"))
            got = QStringLiteral("%1,%2").arg(f.ngFraction).arg(f.errFraction);
        else if (key == QLatin1String("split"))
            got = QStringLiteral("%1,%2").arg(f.splitBytes).arg(f.splitGapMs);
        else if (key == QLatin1String("garbage"))
            got = QString::number(f.garbage);
        else if (key == QLatin1String("drop"))
            got = QStringLiteral("%1,%2").arg(f.dropAfterMs).arg(f.dropForMs);
        else if (key == QLatin1String("activity"))
            got = QString::number(o->activity);
        else if (key == QLatin1String("help"))
            got = QString::number(o->showHelp);
        QCOMPARE(got, value);
    }

    void invalid_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown") << QStringList{"--colour", "red"} << "unknown option --colour";
        QTest::newRow("missing value") << QStringList{"--seed"} << "--seed needs a value";
        QTest::newRow("seed too big") << QStringList{"--seed", "4294967296"} << "bad value \"4294967296\" for --seed";
        QTest::newRow("negative latency") << QStringList{"--latency-ms", "-1"} << "bad value \"-1\" for --latency-ms";
        QTest::newRow("fraction above 1") << QStringList{"--garbage", "1.5"} << "bad value \"1.5\" for --garbage";
        QTest::newRow("fraction not a number") << QStringList{"--ng-fraction", "nan"} << "bad value \"nan\" for --ng-fraction";
        QTest::newRow("fractions over 1")
            << QStringList{"--ng-fraction", "0.6", "--err-fraction", "0.6"}
            << "--ng-fraction and --err-fraction add up to more than 1";
        QTest::newRow("silence half given") << QStringList{"--silent-for", "100"}
                                            << "--silent-after and --silent-for go together";
        QTest::newRow("drop half given") << QStringList{"--drop-after", "100"} << "--drop-after and --drop-for go together";
        QTest::newRow("empty input buffer") << QStringList{"--baud", "9600", "--rx-buffer", "0"} << "bad value \"0\" for --rx-buffer";
        QTest::newRow("input buffer on an instant line") << QStringList{"--rx-buffer", "16"} << "--rx-buffer goes with --baud";
        QTest::newRow("stray word") << QStringList{"extra"} << "unexpected argument \"extra\"";
    }
    void invalid()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        QString why;
        QVERIFY(!SimulatorOptions::parse(args, &why));
        QCOMPARE(why, error);
    }

    void helpNamesEveryOption()
    {
        const QString help = SimulatorOptions::helpText();
        for (const char* o : {"--link", "--seed", "--script", "--state", "--no-activity", "--baud", "--rx-buffer", "--latency-ms",
                              "--silent-after", "--silent-for", "--ng-fraction", "--err-fraction", "--split",
                              "--split-gap-ms", "--garbage", "--drop-after", "--drop-for", "--help"}) {
            QVERIFY2(help.contains(QLatin1String(o)), o);
            QString why;
            // Every option the help names is one the parser takes.
            const QStringList args = QString::fromLatin1(o) == QLatin1String("--help") || QString::fromLatin1(o) == QLatin1String("--no-activity")
                ? QStringList{QString::fromLatin1(o)}
                : QStringList{QString::fromLatin1(o), QStringLiteral("1")};
            const auto parsed = SimulatorOptions::parse(args, &why);
            QVERIFY2(parsed || why.contains(QLatin1String("go together")) || why.contains(QLatin1String("goes with")),
                     qPrintable(why));
        }
        for (const char* step : {"gap MS", "channel N MS", "frequency MHZ MS", "talkgroup ID MS", "line TEXT", "loop"})
            QVERIFY2(help.contains(QLatin1String(step)), step);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestSimOptions)

} // namespace
} // namespace tst_simoptions

#include "tst_simoptions.moc"
