#include "TestSuite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace tst_program {
namespace {

// The real vexlor program, started as an operator would.
class TestProgram : public QObject {
    Q_OBJECT

    static QString program()
    {
        return qEnvironmentVariable("VEXLOR_BIN_DIR") + QStringLiteral("/vexlor");
    }

    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QFile::exists(program()), qPrintable(program())); }

    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stdoutHas");
        QTest::newRow("version") << QStringList {"--version"} << 0 << "Vexlor V 2.4.3 (10/23/2001)\n";
        QTest::newRow("help") << QStringList {"--help"} << 0 << "--data-dir DIR";
        QTest::newRow("unknown option") << QStringList {"--loud"} << 2 << "";
        QTest::newRow("missing value") << QStringList {"--port"} << 2 << "";
        QTest::newRow("unwritable trace") << QStringList {"--trace", "/nonexistent/t.txt", "--simulate"} << 1 << "";
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, stdoutHas);
        QProcess p;
        p.start(program(), args);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), exitCode);
        QVERIFY(QString::fromLocal8Bit(p.readAllStandardOutput()).contains(stdoutHas));
    }

    // Runs on its own simulator in a data folder; SIGTERM saves and closes.
    void simulateThenTerminate()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("scanner"));
        QVERIFY(QDir().mkpath(data));
        {
            QFile ini(data + QStringLiteral("/qorvanix.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[UserName]=Owl\r\n[comm port]=2\r\n[Logging File]=night\r\n");
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A relative trace name is the caller's, not the data folder's.
        p.setWorkingDirectory(dir.path());
        p.start(program(), {QStringLiteral("--simulate"), QStringLiteral("--fast"), QStringLiteral("--data-dir"), data,
                            QStringLiteral("--trace"), QStringLiteral("trace.txt")});
        QVERIFY(p.waitForStarted());
        QTest::qWait(4000);
        QCOMPARE(p.state(), QProcess::Running);
        ::kill(pid_t(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        const QByteArray ini = readFile(data + QStringLiteral("/qorvanix.ini"));
        QVERIFY(ini.startsWith("[! Vexlor Ini file ]\r\n"));
        QVERIFY(ini.contains("[UserName]=Owl\r\n"));
        QVERIFY2(ini.contains("[comm port]=2\r\n"), ini.constData()); // the simulator's port is not saved
        QVERIFY(QFile::exists(data + QStringLiteral("/night.log")));
        QCOMPARE(QFileInfo(data + QStringLiteral("/bank.dat")).size(), 0);
        QVERIFY(QFile::exists(data + QStringLiteral("/idbank.dat")));
        const QByteArray trace = readFile(dir.filePath(QStringLiteral("trace.txt")));
        QVERIFY2(trace.contains(" --- open ") && trace.contains(" out QUN\\r\n") && trace.contains(" in  "),
                 trace.left(2000).constData());
        QVERIFY(trace.endsWith(" --- close\n"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestProgram)

} // namespace
} // namespace tst_program

#include "tst_program.moc"
