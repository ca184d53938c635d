#include "RunVexlor.h"
#include "TestSuite.h"
#include "WaitFor.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace tst_datafolderlock {
namespace {

using vexlor::testing::waitFor;
using vexlor::testing::vexlorProgram;

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every file of a folder with its time and bytes; the holder's activity log may grow meanwhile.
QMap<QString, QString> snapshot(const QString& dir)
{
    QMap<QString, QString> files;
    for (const QFileInfo& f : QDir(dir).entryInfoList(QDir::Files)) {
        files[f.fileName()] = f.suffix() == QLatin1String("log")
            ? QString()
            : f.lastModified().toString(Qt::ISODateWithMs) + QString::fromLatin1(readFile(f.filePath()).toHex());
    }
    return files;
}

// Two Vexlor on one data folder: the second refuses before it opens anything.
class TestDataFolderLock : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_data; // the first Vexlor's folder
    QProcess m_first; // killed with the test, should a check fail before it ends

    QString path(const QString& name) const { return m_tmp.filePath(name); }

    int run(const QStringList& args, QByteArray* err = nullptr)
    {
        return vexlor::testing::runVexlor(m_tmp.path(), args, err);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(vexlorProgram()), qPrintable(vexlorProgram()));
        QVERIFY(writeFile(path(QStringLiteral("in.txt")), "[Chan]=5 | [Freq]=155.0\r\n"));
        m_data = path(QStringLiteral("scanner"));
        QVERIFY(QDir().mkpath(m_data));
        // A configuration, so that no box waits at the start.
        QVERIFY(writeFile(m_data + QStringLiteral("/qorvanix.ini"), "[UserName]=Owl\r\n"));
        m_first.setProcessChannelMode(QProcess::ForwardedChannels);
        m_first.start(vexlorProgram(),
                      {QStringLiteral("--simulate"), QStringLiteral("--fast"), QStringLiteral("--data-dir"), m_data});
        QVERIFY(waitFor([this] { return QFile::exists(m_data + QStringLiteral("/idbank.dat")); }, 30000));
        QVERIFY(QFile::exists(m_data + QStringLiteral("/vexlor.lock")));
    }
    void secondRunIsRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("window");
        QTest::newRow("window") << QStringList {"--simulate", "--fast"} << true;
        QTest::newRow("export") << QStringList {"--export", "out.txt"} << false;
        QTest::newRow("import") << QStringList {"--import", "in.txt"} << false;
    }
    void secondRunIsRefused()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, window);
        const auto before = snapshot(m_data);
        QProcess p;
        p.setWorkingDirectory(m_tmp.path());
        p.start(vexlorProgram(), args << QStringLiteral("--data-dir") << m_data);
        const QString holder = QStringLiteral("(process %1 on ").arg(m_first.processId());
        QByteArray err;
        const auto said = [&] {
            err += p.readAllStandardError();
            return QString::fromLocal8Bit(err).contains(holder);
        };
        QVERIFY(waitFor([&] { return said() || p.state() == QProcess::NotRunning; }, 30000));
        QVERIFY2(said(), err.constData());
        QVERIFY(err.contains(m_data.toLocal8Bit()));
        if (window) {
            // The box waits for OK; a kill ends the run as OK would.
            QTest::qWait(300);
            QCOMPARE(p.state(), QProcess::Running);
            ::kill(pid_t(p.processId()), SIGTERM);
        }
        QVERIFY(waitFor([&] { return p.state() == QProcess::NotRunning; }, 30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(snapshot(m_data), before);
        QVERIFY(!QFile::exists(path(QStringLiteral("out.txt"))));
    }

    // Ended cleanly, the first frees the folder for the next run.
    void freedWhenTheFirstEnds()
    {
        ::kill(pid_t(m_first.processId()), SIGTERM);
        QVERIFY(m_first.waitForFinished(30000));
        QCOMPARE(m_first.exitCode(), 0);
        QVERIFY(!QFile::exists(m_data + QStringLiteral("/vexlor.lock")));
        QCOMPARE(run({"--import", "in.txt", "--data-dir", m_data}), 0);
        QCOMPARE(run({"--export", "out.txt", "--data-dir", m_data}), 0);
        QVERIFY(readFile(path(QStringLiteral("out.txt"))).contains("[Freq]=155.0"));
    }

    void leftLockIsTakenOver_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("stderrHas");
        const QByteArray here = QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n'
            + QSysInfo::bootUniqueId() + '\n';
        const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
        QTest::newRow("process gone") << "99999999\nvexlor\n" + here << 0 << "";
        QTest::newRow("number reused by another program") << self + "\nvexlor\n" + here << 0 << "";
        QTest::newRow("cut short by a crash") << QByteArray() << 0 << "";
        QTest::newRow("another computer's")
            << QByteArray("4321\nvexlor\nelsewhere\nanother-machine-id\nanother-boot-id\n") << 1
            << "(process 4321 on elsewhere, started by ";
    }
    void leftLockIsTakenOver()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, status);
        QFETCH(QString, stderrHas);
        const QString folder = path(QStringLiteral("left/") + QTest::currentDataTag());
        const QString lockFile = folder + QStringLiteral("/vexlor.lock");
        QVERIFY(QDir().mkpath(folder));
        // Something to export: an empty folder would fail for that alone.
        QCOMPARE(run({"--import", "in.txt", "--data-dir", folder}), 0);
        QVERIFY(writeFile(lockFile, lock));
        QFile::remove(path(QStringLiteral("out.txt")));
        QByteArray err;
        QCOMPARE(run({"--export", "out.txt", "--data-dir", folder}, &err), status);
        QVERIFY2(QString::fromLocal8Bit(err).contains(stderrHas), err.constData());
        // Taken over, it goes at exit like any other; one kept stays as it was.
        QCOMPARE(QFile::exists(lockFile), status != 0);
        QCOMPARE(QFile::exists(path(QStringLiteral("out.txt"))), status == 0);
        if (status != 0)
            QCOMPARE(readFile(lockFile), lock);
    }

    // No lock can be made: the run goes on, but only reads the memories.
    void readOnlyFolder()
    {
        const QString folder = path(QStringLiteral("readonly"));
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(run({"--import", "in.txt", "--data-dir", folder}), 0);
        const QByteArray bank = readFile(folder + QStringLiteral("/bank.dat"));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly))
            QSKIP("permissions are not enforced for this user");
        QFile::remove(path(QStringLiteral("out.txt")));
        QByteArray err;
        QCOMPARE(run({"--export", "out.txt", "--data-dir", folder}, &err), 0);
        QVERIFY2(err.contains("no lock taken on the data folder"), err.constData());
        QVERIFY(readFile(path(QStringLiteral("out.txt"))).contains("[Freq]=155.0"));
        QVERIFY(writeFile(path(QStringLiteral("in2.txt")), "[Chan]=5 | [Freq]=160.0\r\n"));
        QCOMPARE(run({"--import", "in2.txt", "--data-dir", folder}), 1);
        QCOMPARE(readFile(folder + QStringLiteral("/bank.dat")), bank);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestDataFolderLock)

} // namespace
} // namespace tst_datafolderlock

#include "tst_datafolderlock.moc"
