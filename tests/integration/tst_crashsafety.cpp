#include "CrashWrites.h"

#include "memory/LocalStores.h"
#include "memory/TaggedText.h"
#include "TestSuite.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <functional>

namespace tst_crashsafety {
namespace {

using namespace vexlor;
using memory::LocalStores;
using testing::crash::MT;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// What a start-up loads from the stores in dir (redoing a journal left behind).
MT loaded(const QDir& dir)
{
    MT t;
    LocalStores s(dir.filePath(QStringLiteral("bank.dat")), dir.filePath(QStringLiteral("idbank.dat")));
    s.LoadStores(t);
    return t;
}

// Writes generation g to the stores in dir and returns what a start-up then loads.
MT storeGeneration(const QString& dir, int g)
{
    {
        MT t;
        LocalStores s(dir + QStringLiteral("/bank.dat"), dir + QStringLiteral("/idbank.dat"));
        s.LoadStores(t);
        testing::crash::fillGeneration(t, g);
        s.StoreChannelRange(1, MT::kChannels);
        for (int b = 1; b <= MT::kBanks; ++b)
            s.StoreIDSlots(b, 1, MT::kSlots);
        s.StoreBankNames();
        s.StoreBankTrunkTypes();
    }
    return loaded(QDir(dir));
}

// How many records of `got` hold `a`'s content and how many `b`'s; a record
// that is neither (torn, or lost) is listed in `bad`.
struct Census {
    int a = 0;
    int b = 0;
    QStringList bad;
};

Census census(const MT& got, const MT& a, const MT& b)
{
    Census c;
    auto count = [&](bool inA, bool inB, const QString& what) {
        if (inA)
            ++c.a;
        else if (inB)
            ++c.b;
        else
            c.bad << what;
    };
    auto sameChannel = [](const MT& x, const MT& y, int n) {
        for (int col = MT::kChCh; col <= MT::kChY; ++col) {
            if (!(x.Channels.at(n, col) == y.Channels.at(n, col)))
                return false;
        }
        return true;
    };
    auto sameSlot = [](const MT& x, const MT& y, int bank, int s) {
        for (int col = MT::kIdCh; col <= MT::kIdReserved; ++col) {
            if (!(x.IDs.at(bank, s, col) == y.IDs.at(bank, s, col)))
                return false;
        }
        return true;
    };
    for (int n = 1; n <= MT::kChannels; ++n)
        count(sameChannel(got, a, n), sameChannel(got, b, n), QStringLiteral("channel %1").arg(n));
    for (int bank = 1; bank <= MT::kBanks; ++bank) {
        for (int s = 1; s <= MT::kSlots; ++s)
            count(sameSlot(got, a, bank, s), sameSlot(got, b, bank, s), QStringLiteral("bank %1 slot %2").arg(bank).arg(s));
        count(got.BankNames.at(bank) == a.BankNames.at(bank), got.BankNames.at(bank) == b.BankNames.at(bank),
              QStringLiteral("bank name %1").arg(bank));
        count(got.BankTrunkTypes.at(bank) == a.BankTrunkTypes.at(bank),
              got.BankTrunkTypes.at(bank) == b.BankTrunkTypes.at(bank), QStringLiteral("trunk type %1").arg(bank));
    }
    return c;
}

// The files in dir, less the temporary copies a kill leaves when it lands
// between an atomic save's two steps ("out.txt.AbC123"): harmless, and
// the file itself is whole.
QStringList filesIn(const QString& dir)
{
    static const QRegularExpression leftover(QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    QStringList files = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    files.removeIf([](const QString& f) { return leftover.match(f).hasMatch(); });
    return files;
}

QString program() { return qEnvironmentVariable("VEXLOR_BIN_DIR") + QStringLiteral("/vexlor"); }

} // namespace

// Processes killed with SIGKILL at random moments while they write; every
// file they leave must load, and hold each record either old or new.
class TestCrashSafety : public QObject {
    Q_OBJECT

    QRandomGenerator m_random {20261209};

    // Starts the program; once `started` says so, waits a random 0..maxDelayMs and kills it.
    void killAtRandom(const QString& program, const QStringList& args, const QString& cwd, int maxDelayMs,
                      const std::function<bool(QProcess&)>& started)
    {
        QProcess p;
        p.setWorkingDirectory(cwd);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(program, args);
        QVERIFY2(p.waitForStarted(), qPrintable(p.errorString()));
        QElapsedTimer waited;
        waited.start();
        while (!started(p)) {
            QVERIFY2(waited.elapsed() < 30000 && p.state() == QProcess::Running, "never got going");
            p.waitForReadyRead(5);
        }
        QThread::msleep(m_random.bounded(maxDelayMs + 1));
        ::kill(pid_t(p.processId()), SIGKILL);
        QVERIFY(p.waitForFinished(10000));
    }

    static bool saidReady(QProcess& p) { return p.canReadLine() && p.readLine().startsWith("ready"); }
    static bool begun(QProcess&) { return true; }

private Q_SLOTS:
    void storesKilledWhileWriting_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("bank read") << "read";
        QTest::newRow("Banks save") << "save";
        QTest::newRow("import") << "import";
    }
    void storesKilledWhileWriting()
    {
        QFETCH(QString, pattern);
        QTemporaryDir dir;
        const MT gen1 = storeGeneration(dir.path(), 1);
        const MT gen0 = storeGeneration(dir.path(), 0);
        const QString writer = QCoreApplication::applicationDirPath() + QStringLiteral("/crashwriter");
        int mixed = 0;
        int next = 1;
        for (int run = 0; run < 40; ++run) {
            // The writer starts from what the last kill left, so its start-up redoes that journal.
            killAtRandom(writer, {QStringLiteral("stores"), dir.path(), pattern, QString::number(next)}, dir.path(), 60,
                         saidReady);
            const Census c = census(loaded(QDir(dir.path())), gen0, gen1);
            next = c.a >= c.b ? 1 : 0; // mostly what the files hold already changes nothing
            QVERIFY2(c.bad.isEmpty(), qPrintable(QStringLiteral("run %1: %2").arg(run).arg(c.bad.join(u", "))));
            mixed += c.a > 0 && c.b > 0;
            QCOMPARE(filesIn(dir.path()), QStringList({"bank.dat", "idbank.dat"}));
        }
        // The kills did land in the middle of the writing.
        QVERIFY2(mixed >= 5, qPrintable(QString::number(mixed)));
    }

    void configurationKilledWhileSaving()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qorvanix.ini"));
        const QByteArray gen0 = testing::crash::iniGeneration(path, 0).contents();
        const QByteArray gen1 = testing::crash::iniGeneration(path, 1).contents();
        const QString writer = QCoreApplication::applicationDirPath() + QStringLiteral("/crashwriter");
        QVERIFY(testing::crash::iniGeneration(path, 0).SaveINI());
        for (int run = 0; run < 40; ++run) {
            killAtRandom(writer, {QStringLiteral("ini"), dir.path()}, dir.path(), 20, saidReady);
            const QByteArray got = readFile(path);
            QVERIFY2(got == gen0 || got == gen1, got.constData());
            QCOMPARE(filesIn(dir.path()), QStringList {"qorvanix.ini"});
        }
    }

    // The program itself, killed while it exports, imports, backs up or saves its configuration at exit.
    void programKilledWhileWriting_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("runs");
        QTest::newRow("export") << "export" << 15;
        QTest::newRow("import") << "import" << 15;
        QTest::newRow("backup") << "backup" << 5;
        QTest::newRow("configuration at exit") << "exit" << 6;
    }
    void programKilledWhileWriting()
    {
        QFETCH(QString, operation);
        QFETCH(int, runs);
        QTemporaryDir dir;
        const QDir root(dir.path());
        const QString data = dir.filePath(QStringLiteral("d"));
        const QString gen0Dir = dir.filePath(QStringLiteral("gen0"));
        QVERIFY(root.mkpath(QStringLiteral("d")) && root.mkpath(QStringLiteral("gen0")));
        const bool backup = operation == QLatin1String("backup");
        const MT gen0 = storeGeneration(gen0Dir, 0);
        auto resetData = [&] {
            // A backup reads the lists of the banks the tables call trunked, and the simulator has none.
            for (const QString& name : {QStringLiteral("bank.dat"), QStringLiteral("idbank.dat")}) {
                QFile::remove(data + u'/' + name);
                QVERIFY(backup || QFile::copy(gen0Dir + u'/' + name, data + u'/' + name));
            }
            writeFile(data + QStringLiteral("/qorvanix.ini"), "[UserName]=Owl\r\n[Logging File]=night\r\n");
        };
        resetData();
        const QString out = dir.filePath(QStringLiteral("out.txt"));
        QStringList args;
        if (operation == QLatin1String("export"))
            args = {QStringLiteral("--export"), out};
        else if (operation == QLatin1String("backup"))
            args = {QStringLiteral("--backup"), out, QStringLiteral("--simulate"), QStringLiteral("--fast")};
        else if (operation == QLatin1String("exit"))
            args = {QStringLiteral("--simulate"), QStringLiteral("--fast")};
        else {
            MT gen1;
            testing::crash::fillGeneration(gen1, 1);
            writeFile(dir.filePath(QStringLiteral("gen1.txt")), memory::tagged::exportText(gen1));
            args = {QStringLiteral("--import"), dir.filePath(QStringLiteral("gen1.txt"))};
        }
        args << QStringLiteral("--data-dir") << data;

        // A whole run first: what the kills must leave, or the state before.
        QElapsedTimer clock;
        clock.start();
        // Generation 0's bank 7 is conventional and holds IDs: the export writes the rest and says so with status 1.
        if (operation != QLatin1String("exit"))
            QCOMPARE(QProcess::execute(program(), args), operation == QLatin1String("export") ? 1 : 0);
        const int span = int(clock.elapsed()) + 50;
        const QByteArray complete = readFile(out);
        const MT before = backup ? MT() : gen0;
        const MT after = loaded(QDir(data));

        const QByteArray old("old\n");
        const QString ini = data + QStringLiteral("/qorvanix.ini");
        const QByteArray oldIni = readFile(ini);
        QByteArray savedIni;
        for (int run = 0; run <= runs; ++run) {
            resetData();
            writeFile(out, old);
            if (operation == QLatin1String("exit")) {
                // Killed between the signal that ends it and the end of its exit; run 0 is let finish.
                const QString log = data + QStringLiteral("/night.log");
                QFile::remove(log);
                QProcess p;
                p.start(program(), args);
                QVERIFY(p.waitForStarted());
                QElapsedTimer t;
                t.start();
                while (!QFile::exists(log) && t.elapsed() < 30000)
                    QThread::msleep(5);
                QThread::msleep(200); // on its feet
                ::kill(pid_t(p.processId()), SIGTERM);
                if (run > 0) {
                    QThread::msleep(m_random.bounded(150));
                    ::kill(pid_t(p.processId()), SIGKILL);
                }
                QVERIFY(p.waitForFinished(10000));
                const QByteArray got = readFile(ini);
                if (run == 0)
                    savedIni = got;
                QVERIFY2(got == oldIni || got == savedIni, got.constData());
                QVERIFY(savedIni != oldIni);
                continue;
            }
            if (run == 0)
                continue;
            killAtRandom(program(), args, dir.path(), span, begun);
            const QByteArray got = readFile(out);
            // The simulator is seeded anew each run, so a backup can only be checked for being whole.
            const bool whole = operation == QLatin1String("backup")
                ? got.count("[Chan]=") == MT::kChannels && got.endsWith('\n')
                : got == complete;
            QVERIFY2(got == old || whole, got.left(200).constData());
            const MT left = loaded(QDir(data));
            const Census c = census(left, before, after);
            QVERIFY2(c.bad.isEmpty(), qPrintable(c.bad.join(u", ")));
            // An import is one step: no record new while another that it changes is still old.
            if (operation == QLatin1String("import"))
                QVERIFY2(c.b == 0 || census(left, after, before).b == 0, qPrintable(QString::number(c.b)));
            QCOMPARE(filesIn(data).filter(QStringLiteral(".dat")), QStringList({"bank.dat", "idbank.dat"}));
            QCOMPARE(filesIn(dir.path()).filter(QStringLiteral("out")), QStringList {"out.txt"});
        }
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestCrashSafety)

} // namespace
} // namespace tst_crashsafety

#include "tst_crashsafety.moc"
