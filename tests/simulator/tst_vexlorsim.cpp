#include "TestSuite.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace tst_vexlorsim {
namespace {

// The vexlor-sim program itself, as a user or another tool runs it.
class TestVexlorSim : public QObject {
    Q_OBJECT

    static QString program() { return qEnvironmentVariable("VEXLOR_BIN_DIR") + QStringLiteral("/vexlor-sim"); }

    static QList<QByteArray> ask(QSerialPort& port, const QByteArray& commands, int count)
    {
        port.write(commands);
        QByteArray got;
        (void)QTest::qWaitFor(
            [&]() {
                got += port.readAll();
                return got.count('\r') >= count;
            },
            5000);
        QList<QByteArray> lines = got.split('\r');
        lines.removeLast();
        return lines;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QFileInfo(program()).isExecutable(), qPrintable(program())); }

    void servesAndStopsCleanly_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("baud"); // with it, the exit reports the bytes lost
        QTest::newRow("SIGTERM") << int(SIGTERM) << "";
        QTest::newRow("SIGINT") << int(SIGINT) << "";
        QTest::newRow("SIGTERM at 9600 baud") << int(SIGTERM) << "9600";
    }
    void servesAndStopsCleanly()
    {
        QFETCH(int, signal);
        QFETCH(QString, baud);
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ttyScanner"));
        const QString state = dir.filePath(QStringLiteral("memories.txt"));
        const QString trace = dir.filePath(QStringLiteral("trace.txt"));
        QProcess sim;
        QStringList args {"--link", link, "--seed", "3", "--no-activity", "--state", state, "--trace", trace};
        if (!baud.isEmpty())
            args << "--baud" << baud;
        sim.start(program(), args);
        QVERIFY(sim.waitForStarted());
        QVERIFY(QTest::qWaitFor([&]() { return sim.canReadLine(); }, 10000));
        const QString slave = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY2(slave.startsWith(QLatin1String("/dev/pts/")), qPrintable(slave));
        QCOMPARE(QFileInfo(link).symLinkTarget(), slave);

        {
            QSerialPort port(link);
            QVERIFY(port.open(QIODevice::ReadWrite));
            QCOMPARE(ask(port, "MA001\rPM222 01462000\rMD\r", 3),
                     QList<QByteArray>({"C001 F01541300 TF DN LF AF RF N000", "OK", "MD01"}));
        }

        ::kill(pid_t(sim.processId()), signal);
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QCOMPARE(sim.readAllStandardError().contains("vexlor-sim: 0 bytes lost to the full input buffer\n"), !baud.isEmpty());
        QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
        QFile f(state);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("channel 222 01462000 F F F\n"));
        // What came in and what went out, in order, with the CRs escaped.
        const QByteArray traced = [&] { QFile t(trace); return t.open(QIODevice::ReadOnly) ? t.readAll() : QByteArray(); }();
        const qsizetype in = traced.indexOf(" in  MA001\\rPM222 01462000\\rMD\\r\n");
        QVERIFY2(in > 0, traced.constData());
        // A paced line writes the reply in several pieces.
        QByteArray out;
        for (const QByteArray& line : traced.mid(in).split('\n')) {
            if (line.mid(10, 4) == "out ")
                out += line.mid(14);
        }
        QVERIFY2(out.startsWith("C001 F01541300 TF DN LF AF RF N000\\r"), out.constData());
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stdoutHas");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--drop-after" << "";
        QTest::newRow("unknown option") << QStringList{"--colour"} << 2 << "" << "unknown option --colour";
        QTest::newRow("unwritable trace") << QStringList{"--trace", "/nonexistent/trace.txt"} << 1 << ""
                                          << "/nonexistent/trace.txt";
        QTest::newRow("missing script") << QStringList{"--script", "/nonexistent/script.txt"} << 1 << ""
                                        << "/nonexistent/script.txt";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, stdoutHas);
        QFETCH(QString, stderrHas);
        QProcess sim;
        sim.start(program(), args);
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), exitCode);
        QVERIFY(QString::fromLocal8Bit(sim.readAllStandardOutput()).contains(stdoutHas));
        QVERIFY(QString::fromLocal8Bit(sim.readAllStandardError()).contains(stderrHas));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestVexlorSim)

} // namespace
} // namespace tst_vexlorsim

#include "tst_vexlorsim.moc"
