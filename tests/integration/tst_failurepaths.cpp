#include "RunVexlor.h"
#include "TestSuite.h"
#include "WaitFor.h"
#include "platform/qt/QtSerialPort.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tst_failurepaths {
namespace {

using vexlor::testing::vexlorProgram;
using vexlor::testing::waitFor;

// vexlor-sim as its own process, on a link in the folder, with a trace of what it read.
struct Sim {
    QProcess process;
    QString link;
    QString trace;

    bool start(const QString& dir, const QStringList& faults)
    {
        link = dir + QStringLiteral("/port");
        trace = dir + QStringLiteral("/sim-trace.txt");
        process.start(qEnvironmentVariable("VEXLOR_BIN_DIR") + QStringLiteral("/vexlor-sim"),
                      QStringList {"--link", link, "--no-activity", "--trace", trace} + faults);
        return process.waitForStarted() && waitFor([&] { return QFileInfo::exists(link); }, 20000);
    }
    // Every byte the receiver was sent, after the simulator wrote its trace out.
    QByteArray received(bool stop = true)
    {
        if (stop && process.state() != QProcess::NotRunning) {
            process.terminate();
            process.waitForFinished(5000);
        }
        QFile f(trace);
        QByteArray bytes;
        if (!f.open(QIODevice::ReadOnly))
            return bytes;
        for (const QByteArray& line : f.readAll().split('\n')) {
            if (line.mid(10, 4) != "in  ")
                continue;
            const QByteArray text = line.mid(14);
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text[i] != '\\' || i + 1 >= text.size()) {
                    bytes += text[i];
                } else if (text[++i] == 'r') {
                    bytes += '\r';
                } else if (text[i] == 'x') {
                    bytes += char(text.mid(i + 1, 2).toInt(nullptr, 16));
                    i += 2;
                } else {
                    bytes += text[i] == 'n' ? '\n' : text[i];
                }
            }
        }
        return bytes;
    }
    ~Sim()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
};

// The process has this file open.
bool holdsOpen(const QProcess& process, const QString& path)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(process.processId()));
    for (const QFileInfo& f : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        if (f.symLinkTarget() == path)
            return true;
    }
    return false;
}

// The receiver was given back: these commands came after its last quieting.
bool releasedAfterQuieting(const QByteArray& got, const QList<QByteArray>& commands)
{
    qsizetype at = got.lastIndexOf("MUN\r");
    if (at < 0)
        return false;
    for (const QByteArray& c : commands) {
        at = got.indexOf(c + '\r', at);
        if (at < 0)
            return false;
    }
    return true;
}

class TestFailurePaths : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Channels 31..35 in a trunked bank: an upload that goes through trunk programming.
    QString uploadFile()
    {
        QByteArray text = "[Bank]=02 | [BankName]=County | [BankType]=E2-800\r\n";
        for (int c = 31; c <= 35; ++c)
            text += "[Chan]=0" + QByteArray::number(c) + " | [Freq]=851.0125 | [Mode]=Trunk\r\n";
        QFile f(path(QStringLiteral("upload.txt")));
        return f.open(QIODevice::WriteOnly) && f.write(text) == text.size() ? f.fileName() : QString();
    }

    void start(QProcess& vexlor, const QString& dataDir, const QStringList& args)
    {
        QDir(m_dir.path()).mkpath(dataDir);
        vexlor.setWorkingDirectory(m_dir.path());
        vexlor.start(vexlorProgram(), args + QStringList {"--data-dir", dataDir});
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Whatever terminating signal ends an exchange, the receiver is released before the exit.
    void signalReleasesTheReceiver_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("signal");
        QTest::addColumn<QByteArray>("waitFor"); // sent to the receiver before the signal
        QTest::addColumn<QList<QByteArray>>("release");
        const QList<QByteArray> quiet {"MUA", "QUN", "IDN"};
        QTest::newRow("backup, terminal closed") << "backup" << SIGHUP << QByteArray("PM0") << quiet;
        QTest::newRow("backup, SIGTERM") << "backup" << SIGTERM << QByteArray("PM0") << quiet;
        QTest::newRow("backup, SIGPIPE") << "backup" << SIGPIPE << QByteArray("PM0") << quiet;
        QTest::newRow("backup, SIGUSR1") << "backup" << SIGUSR1 << QByteArray("PM0") << quiet;
        QTest::newRow("upload in programming, SIGALRM")
            << "upload" << SIGALRM << QByteArray("PM0") << (QList<QByteArray> {"KEY00"} + quiet);
    }
    void signalReleasesTheReceiver()
    {
        QFETCH(QString, operation);
        QFETCH(int, signal);
        QFETCH(QByteArray, waitFor);
        const QString folder = QStringLiteral("sig-%1-%2").arg(operation).arg(signal);
        QVERIFY(QDir(m_dir.path()).mkpath(folder));
        Sim sim;
        QVERIFY(sim.start(path(folder), {"--baud", "9600", "--latency-ms", "150"}));
        const QStringList args = operation == QLatin1String("backup")
            ? QStringList {"--backup", path(folder + "/b.txt")}
            : QStringList {"--import", uploadFile(), "--upload"};
        QProcess vexlor;
        start(vexlor, folder, args + QStringList {"--port", sim.link});
        QVERIFY(vexlor.waitForStarted());
        QVERIFY(vexlor::testing::waitFor([&] { return sim.received(false).contains(waitFor); }, 20000));
        ::kill(pid_t(vexlor.processId()), signal);
        QVERIFY(vexlor.waitForFinished(20000));
        const QByteArray err = vexlor.readAllStandardError();
        QCOMPARE(vexlor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(vexlor.exitCode(), 1);
        QVERIFY2(err.contains("interrupted"), err.constData());
        QFETCH(QList<QByteArray>, release);
        const QByteArray got = sim.received();
        QVERIFY2(releasedAfterQuieting(got, release), got.right(200).constData());
    }

    // A line that drops mid-backup: the release waits for it to return, within --line-wait.
    void droppedLineIsReleasedWhenItReturns_data()
    {
        QTest::addColumn<QString>("dropFor");
        QTest::addColumn<QString>("lineWait");
        QTest::addColumn<bool>("released");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("returns") << "1500" << "30" << true << "the line returned and the scanner was released";
        QTest::newRow("stays away") << "600000" << "1" << false << "the scanner never got MUA, QUN, IDN";
    }
    void droppedLineIsReleasedWhenItReturns()
    {
        QFETCH(QString, dropFor);
        QFETCH(QString, lineWait);
        const QString folder = QStringLiteral("drop-") + dropFor;
        QVERIFY(QDir(m_dir.path()).mkpath(folder));
        Sim sim;
        QVERIFY(sim.start(path(folder), {"--baud", "9600", "--drop-after", "3000", "--drop-for", dropFor}));
        QProcess vexlor;
        start(vexlor, folder, {"--backup", path(folder + "/b.txt"), "--port", sim.link, "--line-wait", lineWait});
        QVERIFY(vexlor.waitForFinished(60000));
        const QByteArray err = vexlor.readAllStandardError();
        QCOMPARE(vexlor.exitCode(), 1);
        QFETCH(QString, stderrHas);
        QVERIFY2(err.contains(stderrHas.toUtf8()), err.constData());
        QFETCH(bool, released);
        // The simulator looks for a new reader now and then; let it see the last one.
        QTest::qWait(500);
        const QByteArray got = sim.received();
        QVERIFY2(releasedAfterQuieting(got, {"MUA", "QUN", "IDN"}) == released, got.right(100).constData());
    }

    // The command-line upload says what the receiver did not take, and finds a dead one at once.
    void uploadCountsWhatWasNotTaken_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("all NG") << QStringList {"--ng-fraction", "1"} << "the scanner refused 6 of 6 items";
        QTest::newRow("half ERR") << QStringList {"--err-fraction", "0.5", "--seed", "3"} << "the scanner refused";
        QTest::newRow("noise") << QStringList {"--garbage", "1", "--seed", "3"} << "the scanner refused";
        QTest::newRow("dead") << QStringList {"--silent-after", "1", "--silent-for", "600000"}
                              << "the scanner stopped answering (0 of 6 items sent)";
    }
    void uploadCountsWhatWasNotTaken()
    {
        QFETCH(QStringList, faults);
        const QString folder = QStringLiteral("up-") + QString::number(qHash(faults.join(' ')));
        QVERIFY(QDir(m_dir.path()).mkpath(folder));
        Sim sim;
        QVERIFY(sim.start(path(folder), faults));
        QElapsedTimer t;
        t.start();
        QByteArray err;
        QCOMPARE(vexlor::testing::runVexlor(m_dir.path(),
                                            {"--import", uploadFile(), "--upload", "--port", sim.link, "--data-dir", folder},
                                            &err),
                 1);
        QFETCH(QString, stderrHas);
        QVERIFY2(err.contains(stderrHas.toUtf8()), err.constData());
        // One time-out finds a dead receiver, not one per item (that took 216 s).
        QVERIFY2(t.elapsed() < 30000, qPrintable(QString::number(t.elapsed())));
    }

    // Ctrl+C ends an import from a FIFO that nobody, or a stalled writer, feeds: nothing is stored.
    void interruptedFifoImport_data()
    {
        QTest::addColumn<bool>("writer");
        QTest::newRow("no writer") << false;
        QTest::newRow("stalled writer") << true;
    }
    void interruptedFifoImport()
    {
        QFETCH(bool, writer);
        const QString folder = writer ? QStringLiteral("fifo-w") : QStringLiteral("fifo");
        const QString fifo = path(folder + ".fifo");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QProcess vexlor;
        start(vexlor, folder, {"--import", fifo});
        QVERIFY(vexlor.waitForStarted());
        // Interrupted only once it reads the FIFO: before that a signal would find no handler.
        QVERIFY(waitFor([&] { return holdsOpen(vexlor, fifo); }, 20000));
        int fd = -1;
        if (writer) {
            fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
            QVERIFY(fd >= 0);
            const QByteArray half = "[Chan]=005 | [Freq]=155.0\r\n[Chan]=006 | [Fr";
            QCOMPARE(::write(fd, half.constData(), size_t(half.size())), ssize_t(half.size()));
        }
        QTest::qWait(300);
        ::kill(pid_t(vexlor.processId()), SIGINT);
        // Without the fix the run waits for its writer for ever.
        QVERIFY(vexlor.waitForFinished(20000));
        if (fd >= 0)
            ::close(fd);
        QCOMPARE(vexlor.exitCode(), 1);
        QVERIFY(vexlor.readAllStandardError().contains("interrupted: nothing was imported"));
        QVERIFY(!QFileInfo(path(folder + "/bank.dat")).size());
    }

    // A trace reader that stops reading, or goes, costs trace lines, never the run.
    void traceReaderStopsOrGoes_data()
    {
        QTest::addColumn<bool>("goes");
        QTest::newRow("stops reading") << false;
        QTest::newRow("goes away") << true;
    }
    void traceReaderStopsOrGoes()
    {
        QFETCH(bool, goes);
        const QString name = goes ? QStringLiteral("gone") : QStringLiteral("stalled");
        const QString fifo = path(name + ".fifo");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        ::fcntl(reader, F_SETPIPE_SZ, 4096);
        QProcess vexlor;
        start(vexlor, name, {"--backup", path(name + ".txt"), "--simulate", "--fast", "--trace", fifo});
        if (goes) {
            // Once it writes the trace: a reader gone before its open would leave it waiting there.
            QVERIFY(waitFor([&] { return holdsOpen(vexlor, fifo); }, 20000));
            QTest::qWait(500);
            ::close(reader);
            reader = -1;
        }
        QVERIFY(vexlor.waitForFinished(60000));
        if (reader >= 0)
            ::close(reader);
        QCOMPARE(vexlor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(vexlor.exitCode(), 0);
        QVERIFY(QFileInfo(path(name + ".txt")).size() > 10000);
    }

    // A port held by another program is named as such, with the holder.
    void portInUse()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("inuse")));
        Sim sim;
        QVERIFY(sim.start(path("inuse"), {}));
        vexlor::platform::QtSerialPort holder;
        holder.setPortName(sim.link);
        QVERIFY(holder.open());
        QByteArray err;
        QCOMPARE(vexlor::testing::runVexlor(m_dir.path(), {"--backup", path("x.txt"), "--port", sim.link, "--data-dir", "inuse"},
                                            &err),
                 1);
        QVERIFY2(err.contains(QStringLiteral("in use by another program, process %1").arg(::getpid()).toUtf8()),
                 err.constData());
    }

    // Banks the receiver will not scan in trunk mode cost only their ID lists.
    void backupWithAnUnreadableBank()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("partial")));
        QByteArray err;
        QCOMPARE(vexlor::testing::runVexlor(m_dir.path(), {"--import", uploadFile(), "--data-dir", "partial"}, &err), 0);
        QCOMPARE(vexlor::testing::runVexlor(m_dir.path(),
                                            {"--backup", path("partial.txt"), "--simulate", "--fast", "--data-dir", "partial"}, &err),
                 1);
        QVERIFY2(err.contains("would not scan bank 2 in trunk mode"), err.constData());
        QFile f(path("partial.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QCOMPARE(text.count("[Chan]="), 300);
        QVERIFY(text.contains("[BankName]=County"));
        QVERIFY(!text.contains("[IDBank]=02"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestFailurePaths)

} // namespace
} // namespace tst_failurepaths

#include "tst_failurepaths.moc"
