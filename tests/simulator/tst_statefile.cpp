#include "simulator/ReceiverModel.h"
#include "simulator/SimulatorHost.h"
#include "simulator/StateFile.h"
#include "LimitGuard.h"
#include "TestSuite.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace tst_statefile {
namespace {

using vexlor::simulator::MemoryState;
using vexlor::simulator::ReceiverModel;
using vexlor::simulator::SimulatorHost;
using vexlor::simulator::SimulatorOptions;
using vexlor::simulator::StateFile;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A host on a state file in dir, with no receptions.
SimulatorOptions quietOptions(const QTemporaryDir& dir)
{
    SimulatorOptions o;
    o.stateFile = dir.filePath(QStringLiteral("state.txt"));
    o.linkPath = dir.filePath(QStringLiteral("tty"));
    o.activity = false;
    return o;
}

} // namespace

class TestStateFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("factory memories") << QStringList{};
        QTest::newRow("programmed and switched")
            << QStringList{"MA001",        "PM300 09550000", "DLN",  "LON",          "TR J 6", "TG J J0 002047",
                           "TG A A1 1",    "SB BJ",          "IS CD", "LL00290000", "LU05120000", "KEY13",
                           "ILR 010016",   "ILD 030032",     "KEY09", "KEY08",      "KEY06"};
        QTest::newRow("cleared channel 1") << QStringList{"MA001", "PM001 00000000"};
    }
    void roundTrip()
    {
        QFETCH(QStringList, commands);
        ReceiverModel m(1);
        m.activity().setEnabled(false);
        for (const QString& c : commands)
            m.handle(c.toLatin1());
        QString why;
        const auto back = StateFile::parse(StateFile::serialize(m.memory()), &why);
        QVERIFY2(back, qPrintable(why));
        QVERIFY(back->sameMemories(m.memory()));
        QCOMPARE(StateFile::serialize(*back), StateFile::serialize(m.memory()));
    }

    void corrupt_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        const QByteArray good = StateFile::serialize(MemoryState::factoryLoaded());
        QTest::newRow("empty") << QByteArray() << "line 1: not a simulator state file of version 1";
        QTest::newRow("other version") << QByteArray("vexlor-sim-state 2\nend\n")
                                       << "line 1: not a simulator state file of version 1";
        QTest::newRow("cut short") << good.left(good.indexOf("bank C")) << "the file ends early";
        QTest::newRow("cut in a line") << good.left(good.indexOf("bank C") + 10) << "bad bank";
        QTest::newRow("channel 301") << QByteArray("vexlor-sim-state 1\nchannel 301 01462000 F F F\nend\n")
                                     << "line 2: bad channel";
        QTest::newRow("out of band") << QByteArray("vexlor-sim-state 1\nchannel 001 01000000 F F F\nend\n")
                                     << "line 2: bad channel";
        QTest::newRow("bad flag") << QByteArray("vexlor-sim-state 1\nchannel 001 01462000 X F F\nend\n")
                                  << "line 2: bad channel";
        QTest::newRow("bank type 7") << QByteArray("vexlor-sim-state 1\nbank A 7 001\nend\n") << "line 2: bad bank";
        QTest::newRow("talkgroup 0") << QByteArray("vexlor-sim-state 1\nid A A 01 000000\nend\n")
                                     << "line 2: bad talkgroup";
        QTest::newRow("bank letter K") << QByteArray("vexlor-sim-state 1\nlockedid K 000016\nend\n")
                                       << "line 2: bad locked-out talkgroup";
        QTest::newRow("letters") << QByteArray("vexlor-sim-state 1\nbanks AZ\nend\n") << "line 2: bad letters";
        QTest::newRow("limits") << QByteArray("vexlor-sim-state 1\nlimits 0144 01480000\nend\n")
                                << "line 2: bad search limits";
        QTest::newRow("search slot 51") << QByteArray("vexlor-sim-state 1\nsearchlockout 51 01462000\nend\n")
                                        << "line 2: bad search lock-out";
        QTest::newRow("unknown entry") << QByteArray("vexlor-sim-state 1\ncolour red\nend\n") << "line 2: unknown entry";
        QTest::newRow("garbage bytes") << QByteArray("vexlor-sim-state 1\n\xfe\x00\xff\x01\nend\n", 28)
                                       << "line 2: unknown entry";
        QTest::newRow("text after end") << QByteArray("vexlor-sim-state 1\nend\nbanks A\n") << "line 3: text after \"end\"";
    }
    void corrupt()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QString why;
        QVERIFY(!StateFile::parse(text, &why));
        QVERIFY2(why.endsWith(error), qPrintable(why));
    }

    void crlfFileReads()
    {
        QByteArray text = StateFile::serialize(MemoryState::factoryLoaded());
        text.replace("\n", "\r\n");
        QVERIFY(StateFile::parse(text, nullptr));
    }

    // The host keeps what it cannot read, instead of saving over it.
    void hostSetsACorruptFileAside()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("state.txt"));
        writeFile(path, "vexlor-sim-state 1\nchannel 999 01462000 F F F\n");
        SimulatorOptions o;
        o.stateFile = path;
        o.linkPath = dir.filePath(QStringLiteral("tty"));
        o.activity = false;
        {
            SimulatorHost host(o);
            QVERIFY2(host.start(), qPrintable(host.errorString()));
            QCOMPARE(host.warnings().size(), 1);
            QVERIFY(host.warnings()[0].contains(QLatin1String("line 2: bad channel")));
            QVERIFY(host.model().memory().sameMemories(MemoryState::factoryLoaded()));
            host.model().handle("SB J");
        }
        QCOMPARE(readFile(path + QStringLiteral(".corrupt")), QByteArray("vexlor-sim-state 1\nchannel 999 01462000 F F F\n"));
        const auto saved = StateFile::load(path, nullptr);
        QVERIFY(saved);
        QVERIFY(saved->bankActive(10) && !saved->bankActive(1));
    }

    // A save the disk refuses keeps the last state whole and says why.
    void failedSaveKeepsTheLastState()
    {
        QTemporaryDir dir;
        const SimulatorOptions o = quietOptions(dir);
        QVERIFY(StateFile::save(o.stateFile, MemoryState::factoryLoaded(), nullptr));
        const QByteArray old = readFile(o.stateFile);
        SimulatorHost host(o);
        QVERIFY(host.start());
        host.model().handle("SB J");
        {
            vexlor::testing::LimitGuard limit(RLIMIT_FSIZE, 1024);
            QVERIFY(limit.ok());
            host.stop();
        }
        QVERIFY(!host.stateSaved());
        QVERIFY2(host.warnings().last().endsWith(QStringLiteral("state.txt: File too large")),
                 qPrintable(host.warnings().join(u'\n')));
        QCOMPARE(readFile(o.stateFile), old);
    }

    void hostLeavesAnUnreadableStateAlone()
    {
        QTemporaryDir dir;
        SimulatorOptions o;
        o.stateFile = dir.path(); // a folder, not a file
        o.linkPath = dir.filePath(QStringLiteral("tty"));
        o.activity = false;
        SimulatorHost host(o);
        QVERIFY(host.start());
        QCOMPARE(host.warnings().size(), 1);
        QVERIFY(host.model().memory().sameMemories(MemoryState::factoryLoaded()));
        host.stop();
        QVERIFY(QFileInfo(dir.path()).isDir());
        QCOMPARE(host.warnings().size(), 1); // and no failed save on the way out
    }

    void hostKeepsMemoriesAcrossRuns()
    {
        QTemporaryDir dir;
        const SimulatorOptions o = quietOptions(dir);
        {
            SimulatorHost host(o);
            QVERIFY(host.start());
            QVERIFY(host.warnings().isEmpty());
            host.model().handle("MA001");
            host.model().handle("PM250 01462000");
        }
        SimulatorHost again(o);
        QVERIFY(again.start());
        QCOMPARE(again.model().handle("PM250"), QList<QByteArray>{"C250 F01462000 TF DF LF AF RF N000"});
        // Without a state file nothing is carried over.
        SimulatorOptions fresh = o;
        fresh.stateFile.clear();
        fresh.linkPath = dir.filePath(QStringLiteral("tty2"));
        SimulatorHost other(fresh);
        QVERIFY(other.start());
        QCOMPARE(other.model().handle("PM250"), QList<QByteArray>{"C250 F00000000 TF DF LF AF RF N000"});
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestStateFile)

} // namespace
} // namespace tst_statefile

#include "tst_statefile.moc"
