#include "PathState.h"
#include "RunVexlor.h"
#include "TestSuite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tst_batch {
namespace {

// vexlor --export, --import and --backup, run as a script would run them.
class TestBatch : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QByteArray read(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    int run(const QStringList& args, QByteArray* err = nullptr,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
    {
        return vexlor::testing::runVexlor(m_dir.path(), args, err, env);
    }

    bool write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

    QString describe(const QString& name) const { return vexlor::testing::pathState(path(name)); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A data folder with a memory set whose export fits in one buffered write.
        QByteArray set = "[Bank]=1 | [BankName]=County\r\n";
        for (int c = 1; c <= 40; ++c)
            set += "[Chan]=" + QByteArray::number(c) + " | [Freq]=155.0 | [Name]=Fire\r\n";
        QVERIFY(write("set.txt", set) && QDir(m_dir.path()).mkpath("good/sub"));
        QCOMPARE(run({"--import", "set.txt", "--data-dir", "good"}), 0);
        QVERIFY(QDir(m_dir.path()).mkpath("nobank") && QDir(m_dir.path()).mkpath("loopbank")
                && QDir(m_dir.path()).mkpath("fresh"));
        QVERIFY(QFile::copy(path("good/idbank.dat"), path("nobank/idbank.dat")));
        QVERIFY(QFile::link("bank.dat", path("loopbank/bank.dat")));
        QVERIFY(write("fresh/bank.dat", {}) && write("fresh/idbank.dat", {}));
        QVERIFY(write("empty.txt", {}));
        QVERIFY(write("picture.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20) + QByteArray(600, '\xff')));
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    }

    // A run that cannot do its work says why, exits 1 and changes nothing:
    // not the destination, not the stores, not the receiver.
    void failedRunChangesNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("sizeLimit");
        QTest::addColumn<QString>("stderrHas");
        QTest::addColumn<QStringList>("kept");
        const QStringList stores {"good/bank.dat", "good/idbank.dat"};
        QTest::newRow("export past a file-size limit")
            << QStringList {"--export", "dest.txt", "--data-dir", "good"} << true << "File too large" << QStringList {"dest.txt"};
        QTest::newRow("export onto a FIFO")
            << QStringList {"--export", "fifo", "--data-dir", "good"} << false << "it is not a regular file" << QStringList {"fifo"};
        QTest::newRow("export onto the store")
            << QStringList {"--export", "good/sub/../bank.dat", "--data-dir", "good"} << false
            << "one of Vexlor's own files (bank.dat)" << stores;
        QTest::newRow("mistyped data folder")
            << QStringList {"--export", "dest.txt", "--data-dir", "goood"} << false
            << "the data directory goood does not exist" << QStringList {"dest.txt", "goood"};
        QTest::newRow("missing bank.dat")
            << QStringList {"--export", "dest.txt", "--data-dir", "nobank"} << false
            << "nobank/bank.dat: No such file or directory" << QStringList {"dest.txt", "nobank/bank.dat"};
        QTest::newRow("unreadable bank.dat")
            << QStringList {"--export", "dest.txt", "--data-dir", "loopbank"} << false
            << "loopbank/bank.dat: Too many levels of symbolic links" << QStringList {"dest.txt"};
        QTest::newRow("nothing to export")
            << QStringList {"--export", "dest.txt", "--data-dir", "fresh"} << false << "nothing to export"
            << QStringList {"dest.txt"};
        QTest::newRow("empty import") << QStringList {"--import", "empty.txt", "--data-dir", "good"} << false
                                      << "nothing was found to import" << stores;
        QTest::newRow("picture import") << QStringList {"--import", "picture.png", "--data-dir", "good"} << false
                                        << "nothing was found to import" << stores;
        QTest::newRow("backup into a missing folder")
            << QStringList {"--backup", "nofolder/b.txt", "--simulate", "--fast", "--trace", "trace.txt", "--data-dir", "good"}
            << false << "nofolder does not exist" << QStringList {"nofolder"};
        QTest::newRow("backup onto the simulator's memories")
            << QStringList {"--backup", "good/simulator-memories.txt", "--simulate", "--fast", "--trace", "trace.txt",
                            "--data-dir", "good"}
            << false << "one of Vexlor's own files (simulator-memories.txt)" << QStringList {"good/simulator-memories.txt"};
    }
    void failedRunChangesNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, sizeLimit);
        QFETCH(QStringList, kept);
        QVERIFY(write("dest.txt", "old destination\r\n"));
        QStringList before;
        for (const QString& name : kept)
            before << describe(name);
        QProcess p;
        p.setWorkingDirectory(m_dir.path());
        if (sizeLimit) {
            p.setChildProcessModifier([] {
                const rlimit small {1024, 1024};
                ::setrlimit(RLIMIT_FSIZE, &small);
            });
        }
        p.start(vexlor::testing::vexlorProgram(), args);
        QVERIFY(p.waitForFinished(60000));
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QFETCH(QString, stderrHas);
        QVERIFY2(QString::fromLocal8Bit(err).contains(stderrHas), err.constData());
        for (qsizetype i = 0; i < kept.size(); ++i)
            QCOMPARE(describe(kept[i]), before[i]);
        // Nothing went to the receiver.
        QVERIFY(!read("trace.txt").contains(" out "));
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("upload alone") << QStringList {"--upload"} << 2 << "--upload goes with --import";
        QTest::newRow("two operations") << QStringList {"--export", "a", "--backup", "b"} << 2 << "cannot be used together";
        QTest::newRow("import of a missing file")
            << QStringList {"--import", "missing.txt", "--data-dir", "d"} << 1 << "cannot read";
        QTest::newRow("export into a missing folder")
            << QStringList {"--export", "no/such/out.txt", "--data-dir", "d"} << 1 << "cannot write";
        QTest::newRow("backup on a port that will not open")
            << QStringList {"--backup", "b.txt", "--port", "/dev/vexlor-none", "--data-dir", "d"} << 1
            << "cannot open the serial port /dev/vexlor-none";
        QTest::newRow("a trace file that cannot be written")
            << QStringList {"--export", "t.txt", "--trace", "no/such/trace.txt", "--data-dir", "d"} << 1
            << "cannot write the trace file";
        QTest::newRow("a line wait that is no number") << QStringList {"--export", "t.txt", "--line-wait", "5s"} << 2
                                                       << "--line-wait takes whole seconds";
        QTest::newRow("an import whose upload finds no port")
            << QStringList {"--import", "p25.txt", "--upload", "--port", "/dev/vexlor-none", "--data-dir", "noport"} << 1
            << "the memories are imported into the local files, but nothing was sent to the scanner";
        QTest::newRow("an import with a frequency the scanner cannot take")
            << QStringList {"--import", "refused.txt", "--data-dir", "plan"} << 1 << "1 of them hold a frequency the scanner cannot take";
        QTest::newRow("an upload that sends not everything")
            << QStringList {"--import", "p25.txt", "--upload", "--simulate", "--fast", "--data-dir", "p25"} << 1 << "1 of 2 items not sent";
    }
    void exitStatus()
    {
        QFETCH(QStringList, args);
        QVERIFY(QDir(m_dir.path()).mkpath("d") && QDir(m_dir.path()).mkpath("p25"));
        QFile p25(path(QStringLiteral("p25.txt")));
        QVERIFY(p25.open(QIODevice::WriteOnly));
        p25.write("[Bank]=2 | [BankType]=P25 | [BankName]=Digital\r\n[Chan]=5 | [Freq]=155.0\r\n");
        p25.close();
        QFile refused(path(QStringLiteral("refused.txt")));
        QVERIFY(refused.open(QIODevice::WriteOnly));
        refused.write("[Chan]=6 | [Freq]=600.0\r\n[Chan]=7 | [Freq]=155.0\r\n");
        refused.close();
        for (const char* folder : {"noport", "plan"})
            QVERIFY(QDir(m_dir.path()).mkpath(QLatin1String(folder)));
        QByteArray err;
        QTEST(run(args, &err), "status");
        QFETCH(QString, stderrHas);
        QVERIFY2(QString::fromLocal8Bit(err).contains(stderrHas), err.constData());
    }

    // The IDs of a bank without a trunk type are not in the file: the run says so and fails.
    void exportNamesTheIDsItLeftOut()
    {
        QFile in(path(QStringLiteral("ids.txt")));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write("[Bank]=03 | [BankName]=County\r\n[IDBank]=3 | [IDScanList]=1-1 | [ID]=001234\r\n");
        in.close();
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("left")));
        QCOMPARE(run({"--import", "ids.txt", "--data-dir", "left"}), 0);
        QByteArray err;
        QCOMPARE(run({"--export", "out.txt", "--data-dir", "left"}, &err), 1);
        QVERIFY2(err.contains("Bank 3: 1 ID(s) not exported: the bank has no trunk type."), err.constData());
        QVERIFY(read(QStringLiteral("out.txt")).startsWith("[Bank]=03 | [BankName]=County"));
    }

    // One store that cannot be written refuses the whole import: the other keeps what it held.
    void refusedImportWritesNothing()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("ro/idbank.dat")));
        QFile in(path(QStringLiteral("in.txt")));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write("[Chan]=5 | [Freq]=155.0\r\n[IDBank]=1 | [IDScanList]=1-1 | [ID]=001234\r\n");
        in.close();
        QByteArray err;
        QCOMPARE(run({"--import", "in.txt", "--data-dir", "ro"}, &err), 1);
        QVERIFY2(err.contains("nothing was imported"), err.constData());
        QCOMPARE(QFileInfo(path(QStringLiteral("ro/bank.dat"))).size(), 0);
    }

    // SIGINT while a long file is read: the run ends with nothing written, or, when the
    // signal came too late to stop it, with everything written and status 0.
    void interruptedImportWritesNothing()
    {
        QByteArray big;
        for (int i = 0; i < 100000; ++i)
            big += QByteArray("[Chan]=") + QByteArray::number(i % 300 + 1) + " | [Freq]=154.0000\r\n";
        QFile in(path(QStringLiteral("big.txt")));
        QVERIFY(in.open(QIODevice::WriteOnly) && in.write(big) == big.size());
        in.close();
        int interrupted = 0;
        for (int delayMs : {100, 300, 900}) {
            QVERIFY(QDir(path(QStringLiteral("sig"))).removeRecursively() && QDir(m_dir.path()).mkpath(QStringLiteral("sig")));
            QProcess p;
            p.setWorkingDirectory(m_dir.path());
            p.start(vexlor::testing::vexlorProgram(), {"--import", "big.txt", "--data-dir", "sig"});
            QVERIFY(p.waitForStarted());
            QThread::msleep(delayMs);
            ::kill(pid_t(p.processId()), SIGINT);
            QVERIFY(p.waitForFinished(60000));
            const bool stored = QFileInfo(path(QStringLiteral("sig/bank.dat"))).size() > 0;
            const bool done = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
            const QByteArray err = p.readAllStandardError();
            QVERIFY2(stored == done, err.constData());
            interrupted += p.exitStatus() == QProcess::NormalExit && err.contains("interrupted: nothing was imported");
        }
        QVERIFY(interrupted > 0);
    }

    void backupImportUploadExport()
    {
        QByteArray err;
        QVERIFY(QDir(m_dir.path()).mkpath("d"));
        // A fresh data folder has nothing to export.
        QCOMPARE(run({"--export", "none.txt", "--data-dir", "d"}), 1);
        QVERIFY(!QFile::exists(path("none.txt")));

        QCOMPARE(run({"--backup", "backup.txt", "--simulate", "--fast", "--data-dir", "d"}, &err), 0);
        QCOMPARE(read("backup.txt").count("[Chan]="), 300);

        // Changed, imported with the upload into the simulator: the files now hold the change,
        // and a second backup reads it back from the receiver.
        QVERIFY(write("edited.txt", read("backup.txt") + "[Chan]=005 | [Freq]=155.5500 | [Delay]=Y | [Mode]=Normal\r\n"));
        QCOMPARE(run({"--import", "edited.txt", "--upload", "--simulate", "--fast", "--data-dir", "d"}, &err), 0);
        QCOMPARE(run({"--export", "again.txt", "--data-dir", "d"}), 0);
        QVERIFY(read("again.txt").contains("[Chan]=005 | [Freq]=155.5500 | [Delay]=Y | [Mode]=Normal\r\n"));
        QCOMPARE(run({"--backup", "backup2.txt", "--simulate", "--fast", "--data-dir", "d"}, &err), 0);
        QCOMPARE(read("backup2.txt"), read("again.txt"));
    }

    // --simulate keeps its receiver's memories in the data folder: what one run
    // uploads, the next reads back, until the file is deleted. A file it cannot
    // read is named and set aside, never saved over.
    void simulatorKeepsItsMemories_data()
    {
        QTest::addColumn<QString>("between"); // done to the memories between the runs
        QTest::addColumn<QByteArray>("readBack");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("kept") << "" << QByteArray("162.5500") << "";
        QTest::newRow("deleted") << "delete" << QByteArray("158.7300") << "";
        QTest::newRow("corrupt") << "corrupt" << QByteArray("158.7300") << "simulator-memories.txt.corrupt";
    }
    void simulatorKeepsItsMemories()
    {
        QFETCH(QString, between);
        QFETCH(QByteArray, readBack);
        QFETCH(QString, stderrHas);
        const QString folder = QStringLiteral("sim-") + QLatin1String(QTest::currentDataTag());
        const QString memories = folder + QStringLiteral("/simulator-memories.txt");
        QVERIFY(QDir(m_dir.path()).mkpath(folder) && write("ch7.txt", "[Chan]=007 | [Freq]=162.5500\r\n"));
        QCOMPARE(run({"--import", "ch7.txt", "--upload", "--simulate", "--fast", "--data-dir", folder}), 0);
        QVERIFY(read(memories).contains("channel 007 01625500 "));
        const QByteArray garbage("vexlor-sim-state 1\nchannel 007 bad\n");
        if (between == QLatin1String("delete"))
            QVERIFY(QFile::remove(path(memories)));
        else if (between == QLatin1String("corrupt"))
            QVERIFY(write(memories, garbage));
        QByteArray err;
        QCOMPARE(run({"--backup", folder + "/b.txt", "--simulate", "--fast", "--data-dir", folder}, &err), 0);
        QVERIFY2(read(folder + "/b.txt").contains("[Chan]=007 | [Freq]=" + readBack), err.constData());
        QVERIFY2(err.contains(stderrHas.toUtf8()), err.constData());
        if (between == QLatin1String("corrupt"))
            QCOMPARE(read(memories + ".corrupt"), garbage);
    }

    // Without --fast the built-in receiver answers at the configured speed:
    // no reply byte comes before the line could have carried it, and its small
    // input buffer loses nothing of a backup's queries. --fast ignores even a
    // slow speed.
    void simulatorPacesTheConfiguredSpeed_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<bool>("fast");
        QTest::newRow("19200 baud") << 19200 << false;
        QTest::newRow("1200 baud, --fast") << 1200 << true;
    }
    void simulatorPacesTheConfiguredSpeed()
    {
        QFETCH(int, baud);
        QFETCH(bool, fast);
        const QString folder = QStringLiteral("speed-%1").arg(baud);
        QVERIFY(QDir(m_dir.path()).mkpath(folder)
                && write(folder + "/qorvanix.ini", "[comm speed]=" + QByteArray::number(baud) + ",n,8,1\r\n"));
        QStringList args {"--backup", folder + "/b.txt", "--simulate", "--trace", folder + "/t.txt", "--data-dir", folder};
        if (fast)
            args << "--fast";
        QByteArray err;
        QCOMPARE(run(args, &err), 0);
        QVERIFY2(!err.contains("lost"), err.constData());
        QCOMPARE(read(folder + "/b.txt").count("[Chan]="), 300);
        // How far the bytes read ever ran ahead of the line, counted from the first query.
        const double bytesPerMs = baud / 10000.0;
        qint64 firstOut = -1;
        qint64 received = 0;
        double ahead = -1e9;
        for (const QByteArray& line : read(folder + "/t.txt").split('\n')) {
            const QByteArray direction = line.mid(10, 4);
            const qint64 ms = line.left(9).trimmed().toLongLong();
            if (direction == "out " && firstOut < 0)
                firstOut = ms;
            if (direction != "in  " || firstOut < 0)
                continue;
            const QByteArray text = line.mid(14);
            for (qsizetype i = 0; i < text.size(); ++i, ++received) {
                if (text[i] == '\\')
                    i += text.at(i + 1) == 'x' ? 3 : 1; // one escaped byte
            }
            ahead = std::max(ahead, double(received) - bytesPerMs * double(ms - firstOut));
        }
        QVERIFY(received > 10000);
        // Paced, only the trace's whole milliseconds can put it ahead.
        QVERIFY2(fast ? ahead > received / 2 : ahead <= 2 * bytesPerMs, qPrintable(QString::number(ahead)));
    }

    // The menu entry's option: the files go to the user's data folder, made when missing.
    void desktopKeepsTheFilesInTheUserDataFolder()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), path("xdg"));
        QCOMPARE(run({"--backup", "desk.txt", "--simulate", "--fast", "--desktop"}, nullptr, env), 0);
        QVERIFY(QFileInfo(path("xdg/vexlor")).isDir());
        QCOMPARE(run({"--import", "desk.txt", "--desktop"}, nullptr, env), 0);
        QVERIFY(QFile::exists(path("xdg/vexlor/bank.dat")));
        QVERIFY(!QFile::exists(path("bank.dat")));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestBatch)

} // namespace
} // namespace tst_batch

#include "tst_batch.moc"
