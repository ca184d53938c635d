#include "TestSuite.h"
#include "recording/RecordingFiles.h"
#include "recording/RecordingQueue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <condition_variable>
#include <mutex>

namespace tst_recordingqueue {
namespace {

using namespace vexlor;
using platform::AudioFileWriter;
using recording::Heard;
using recording::RecordingQueue;

// Writes the samples as they come into a real file; can fail, and can be held like a slow disk.
struct FakeWriter : AudioFileWriter {
    struct Shared {
        std::mutex mutex;
        std::condition_variable released;
        bool held = false;
        int failWriteAfter = -1; // writes that succeed before one fails; -1: none fails
        QList<Tags> tags;
    };
    std::shared_ptr<Shared> shared = std::make_shared<Shared>();
    QFile file;
    QString error;

    bool open(const QString& path, Format, int, const Tags& t) override
    {
        std::lock_guard lock(shared->mutex);
        shared->tags << t;
        file.setFileName(path);
        return file.open(QIODevice::WriteOnly);
    }
    bool write(const qint16* samples, qsizetype count) override
    {
        std::unique_lock lock(shared->mutex);
        shared->released.wait(lock, [this] { return !shared->held; });
        if (shared->failWriteAfter == 0) {
            error = QStringLiteral("No space left on device");
            return false;
        }
        if (shared->failWriteAfter > 0)
            --shared->failWriteAfter;
        return file.write(reinterpret_cast<const char*>(samples), count * 2) == count * 2;
    }
    bool close() override
    {
        file.close();
        return true;
    }
    QString errorString() const override { return error; }
};

Heard heard(const QString& talkgroup = {})
{
    Heard h;
    h.at = QDateTime(QDate(2026, 12, 11), QTime(7, 15, 3));
    h.channel = QStringLiteral("12");
    h.channelName = QStringLiteral("Fire North");
    h.frequency = QStringLiteral("154.4300");
    h.talkgroup = talkgroup;
    h.talkgroupName = talkgroup.isEmpty() ? QString() : QStringLiteral("Dispatch");
    return h;
}

struct Rig {
    QTemporaryDir dir;
    FakeWriter* writer = new FakeWriter;
    std::shared_ptr<FakeWriter::Shared> shared = writer->shared;
    std::mutex doneMutex;
    QList<RecordingQueue::Done> done;
    std::unique_ptr<RecordingQueue> queue;
    explicit Rig(qint64 limitBytes = 0)
    {
        queue = std::make_unique<RecordingQueue>(RecordingQueue::Options {dir.path(), AudioFileWriter::Format::Flac, 1000, limitBytes, 0},
                                                 std::unique_ptr<AudioFileWriter>(writer), [this](const RecordingQueue::Done& d) {
                                                     std::lock_guard lock(doneMutex);
                                                     done << d;
                                                 });
    }
    void sound(int ms)
    {
        const std::vector<qint16> s(size_t(ms), 7);
        queue->append(s.data(), ms);
    }
    int finished()
    {
        std::lock_guard lock(doneMutex);
        return int(done.size());
    }
};

class TestRecordingQueue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A kept file gets its name and tags from what was heard by its end; until then it is a ".part".
    // A dropped one, or one whose disk failed, leaves nothing behind.
    void files_data()
    {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<int>("failWriteAfter");
        QTest::addColumn<int>("ms");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("error");
        QTest::newRow("kept") << true << -1 << 2000 << "2026-12-11/071503_Ch12_002032.flac" << QString();
        QTest::newRow("long enough to open before its end") << true << -1 << 7000 << "2026-12-11/071503_Ch12_002032.flac" << QString();
        QTest::newRow("dropped") << false << -1 << 2000 << QString() << QString();
        QTest::newRow("the disk fills") << true << 0 << 2000 << QString() << "Cannot write 071503_Ch12.flac: No space left on device";
        QTest::newRow("the disk fills later") << true << 2 << 7000 << QString() << "Cannot write 071503_Ch12.flac: No space left on device";
    }
    void files()
    {
        QFETCH(bool, keep);
        QFETCH(int, failWriteAfter);
        QFETCH(int, ms);
        Rig rig;
        rig.shared->failWriteAfter = failWriteAfter;
        rig.queue->begin(heard());
        for (int i = 0; i < ms / 500; ++i)
            rig.sound(500);
        if (ms <= 5000) // the talkgroup is heard before the file opens
            rig.queue->identify(heard("002032"));
        rig.queue->end(heard("002032"), ms / 1000.0, keep);
        QTRY_COMPARE(rig.finished(), 1);
        QFETCH(QString, file);
        QFETCH(QString, error);
        QCOMPARE(rig.done[0].file, file);
        QCOMPARE(rig.done[0].error, error);
        QCOMPARE(recording::files::recordings(rig.dir.path()), file.isEmpty() ? QStringList() : QStringList {file});
        QVERIFY(QDir(rig.dir.path()).entryList({"*.part"}, QDir::Files).isEmpty());
        QVERIFY(QDir(rig.dir.filePath("2026-12-11")).entryList({"*.part"}, QDir::Files).isEmpty());
        if (!file.isEmpty()) {
            QCOMPARE(QFileInfo(rig.dir.filePath(file)).size(), qint64(ms) * 2);
            QCOMPARE(rig.done[0].length, ms / 1000.0);
            QCOMPARE(rig.shared->tags.value(0).title, QStringLiteral("Ch 12 Fire North"));
            // Opened after five seconds, the file has the tags known then; a short one has all of them.
            QCOMPARE(rig.shared->tags.value(0).artist, ms <= 5000 ? QStringLiteral("002032 Dispatch") : QString());
        }
    }

    // A disk that does not keep up costs a bounded queue: the sound past it is dropped and counted.
    void slowDiskIsBounded()
    {
        Rig rig;
        rig.shared->held = true;
        rig.queue->begin(heard());
        for (int i = 0; i < 100; ++i)
            rig.sound(1000); // 100 s of sound at 1000 samples a second
        // Held: what waits is the queue's worth, the file's first seconds and the piece being written.
        const qint64 dropped = rig.queue->droppedSamples();
        QVERIFY(dropped > 0);
        QVERIFY(100000 - dropped <= (RecordingQueue::kMaxQueuedSeconds + RecordingQueue::kOpenAfterSeconds + 2) * 1000);
        rig.queue->end(heard(), 100, true);
        {
            std::lock_guard lock(rig.shared->mutex);
            rig.shared->held = false;
        }
        rig.shared->released.notify_all();
        QTRY_COMPARE(rig.finished(), 1);
        QCOMPARE(rig.done[0].length, 100.0 - dropped / 1000.0);
    }

    // Oldest first, down to the limits; never the newest.
    void prune_data()
    {
        QTest::addColumn<qint64>("limitBytes");
        QTest::addColumn<int>("maxAgeDays");
        QTest::addColumn<QStringList>("removed");
        const QStringList all {"2026-11-01/080000_Ch1.flac", "2026-12-10/235959_Ch2.flac", "2026-12-11/000001_Ch3.flac"};
        QTest::newRow("within the limits") << qint64(3000) << 0 << QStringList {};
        QTest::newRow("over the size") << qint64(2500) << 0 << QStringList {all[0]};
        QTest::newRow("far over it") << qint64(10) << 0 << QStringList {all[0], all[1]};
        QTest::newRow("too old") << qint64(0) << 30 << QStringList {all[0]};
    }
    void prune()
    {
        QTemporaryDir dir;
        for (const char* name : {"2026-11-01/080000_Ch1.flac", "2026-12-10/235959_Ch2.flac", "2026-12-11/000001_Ch3.flac"}) {
            QVERIFY(QDir(dir.path()).mkpath(QFileInfo(QStringLiteral("recordings/") + QLatin1String(name)).path()));
            QFile f(dir.filePath(QStringLiteral("recordings/") + QLatin1String(name)));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(1000, 'x')) == 1000);
        }
        QFETCH(qint64, limitBytes);
        QFETCH(int, maxAgeDays);
        // A folder named as the program names it, relative to the working one.
        struct Back {
            QString dir;
            ~Back() { QDir::setCurrent(dir); }
        } back {QDir::currentPath()};
        QVERIFY(QDir::setCurrent(dir.path()));
        const QStringList removed = recording::files::prune(QStringLiteral("recordings"), limitBytes, maxAgeDays, QDate(2026, 12, 11),
                                                            "2026-12-11/000001_Ch3.flac");
        QTEST(removed, "removed");
        for (const QString& r : removed)
            QVERIFY(!QFileInfo::exists(dir.filePath("recordings/" + r)) && !QFileInfo::exists(dir.filePath("recordings/" + QFileInfo(r).path())));
    }

    // Names from the receiver never make a path.
    void names_data()
    {
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("talkgroup");
        QTest::addColumn<QString>("name");
        QTest::newRow("channel and talkgroup") << "12" << "002032" << "2026-12-11/071503_Ch12_002032.flac";
        QTest::newRow("a frequency alone") << "" << "" << "2026-12-11/071503_154.4300.flac";
        QTest::newRow("slashes and dots") << "../1" << "a/b c" << "2026-12-11/071503_Ch..-1_a-b-c.flac";
    }
    void names()
    {
        QFETCH(QString, channel);
        QFETCH(QString, talkgroup);
        Heard h = heard(talkgroup);
        h.channel = channel;
        QTEST(recording::files::relativeName(h, "flac"), "name");
    }
};

VEXLOR_TEST_MAIN(TestRecordingQueue)

} // namespace
} // namespace tst_recordingqueue

#include "tst_recordingqueue.moc"
