#include "LimitGuard.h"
#include "PathState.h"
#include "TestSuite.h"
#include "platform/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <memory>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace tst_safewrite {
namespace {

namespace safewrite = vexlor::platform::safewrite;

class TestSafeWrite : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString path(const QString& name) const { return m_dir->filePath(name); }

    static bool write(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    static QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(write(path("old.txt"), "old contents\r\n"));
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    }

    // Every failure keeps the old destination as it was, leaves nothing beside
    // it and gives the system's reason.
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<QString>("reason");
        // Smaller than a buffered write: the disk refuses it only when it is flushed.
        QTest::newRow("past a file-size limit") << "old.txt" << true << EFBIG << "";
        QTest::newRow("a missing folder") << "no/such/x.txt" << false << ENOENT << "";
        QTest::newRow("a FIFO") << "fifo" << false << 0 << "it is not a regular file";
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, name);
        QFETCH(int, errorNumber);
        QFETCH(QString, reason);
        const QString before = vexlor::testing::pathState(path(name));
        const QStringList entries = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
        safewrite::Result r;
        {
            vexlor::testing::LimitGuard limit(RLIMIT_FSIZE, 1024);
            QVERIFY(limit.ok());
            r = safewrite::replace(path(name), QByteArray(2369, 'x'));
        }
        QVERIFY(!r.written);
        QTEST(r.opened, "opened");
        QCOMPARE(r.errorNumber, errorNumber);
        QCOMPARE(r.reason, errorNumber ? QString::fromLocal8Bit(std::strerror(errorNumber)) : reason);
        QCOMPARE(vexlor::testing::pathState(path(name)), before);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden), entries);
    }

    // The file a link names is replaced; the link stays, and so does the file's mode.
    void replaceFollowsALink()
    {
        QVERIFY(QFile::link(path("old.txt"), path("link")));
        QCOMPARE(::chmod(QFile::encodeName(path("old.txt")).constData(), 0640), 0);
        const auto r = safewrite::replace(path("link"), "new\n");
        QVERIFY2(r.written, qPrintable(r.reason));
        QVERIFY(QFileInfo(path("link")).isSymLink());
        QCOMPARE(read(path("old.txt")), QByteArray("new\n"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path("old.txt")).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
    }

    // Destinations an export or a backup must refuse, however they are named.
    void destinationProblem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem"); // part of it; empty: none
        QTest::newRow("a new file") << "new.txt" << "";
        QTest::newRow("a missing folder") << "no/x.txt" << "/no does not exist";
        QTest::newRow("a FIFO") << "fifo" << "it is not a regular file";
        QTest::newRow("own file, through ..") << "sub/../bank.dat" << "one of Vexlor's own files (bank.dat)";
        QTest::newRow("own file, through a link") << "link" << "one of Vexlor's own files (bank.dat)";
        QTest::newRow("own file not made yet") << "sub/../conf.ini" << "one of Vexlor's own files (conf.ini)";
    }
    void destinationProblem()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QVERIFY(QDir(m_dir->path()).mkdir("sub"));
        QVERIFY(write(path("bank.dat"), "records"));
        QVERIFY(QFile::link(path("bank.dat"), path("link")));
        const QStringList own {path("bank.dat"), path("conf.ini")};
        const QString folder = safewrite::folderProblem(path(name));
        const QString why = folder.isEmpty() ? safewrite::refusal(path(name), own) : folder;
        QVERIFY2(problem.isEmpty() ? why.isEmpty() : why.contains(problem), qPrintable(why));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestSafeWrite)

} // namespace
} // namespace tst_safewrite

#include "tst_safewrite.moc"
