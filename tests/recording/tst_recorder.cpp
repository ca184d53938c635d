#include "TestSuite.h"
#include "recording/Recorder.h"
#include "recording/RecordingFiles.h"
#include "recording/RecordingQueue.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <condition_variable>
#include <mutex>

namespace tst_recorder {
namespace {

using namespace vexlor;
using recording::Heard;
using recording::Recorder;

// Files as the recorder cut them: the first and last sample's place in the input, and the verdict.
struct FakeSink : recording::RecordingSink {
    struct File {
        Heard heard;
        qint64 first = -1, last = -1;
        double seconds = 0;
        bool kept = false;
        bool ended = false;
    };
    QList<File> files;
    int identified = 0;
    void begin(const Heard& heard) override { files.append({heard}); }
    void append(const qint16* samples, qsizetype count) override
    {
        File& f = files.last();
        if (f.first < 0)
            f.first = samples[0];
        QVERIFY2(f.last < 0 || samples[0] == f.last + 1, "a gap or a repeat inside a file");
        f.last = samples[count - 1];
    }
    void identify(const Heard&) override { ++identified; }
    void end(const Heard& heard, double seconds, bool keep) override
    {
        files.last().heard = heard;
        files.last().seconds = seconds;
        files.last().kept = keep;
        files.last().ended = true;
    }
    // "700-4000 kept 2.0 Ch12_002032"
    QStringList described() const
    {
        QStringList out;
        for (const File& f : files)
            out << QStringLiteral("%1-%2 %3 %4 %5").arg(f.first).arg(f.last + 1).arg(f.kept ? "kept" : "dropped")
                       .arg(f.seconds, 0, 'f', 1).arg(recording::files::relativeName(f.heard, "x").mid(18).chopped(2));
        return out;
    }
};

Heard place(const QString& channel, bool wanted = true)
{
    Heard h;
    h.at = QDateTime(QDate(2026, 12, 11), QTime(7, 15, 3));
    h.channel = channel;
    h.frequency = QStringLiteral("154.4300");
    h.wanted = wanted;
    return h;
}

class TestRecorder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // At one sample a millisecond: "a1000" is a second of sound, "o" the squelch opening on
    // channel 12, "O" on channel 13, "x" on an unwanted place, "t" the talkgroup heard,
    // "c" the squelch closing and "s" recording stopped; "@N" places a report at sample N.
    void boundaries_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("pre-roll, transmission, hang")
            << "a1000 o a2000 c a3000" << QStringList {"700-4000 kept 2.0 Ch12"};
        QTest::newRow("less pre-roll than there is at the start") << "a100 o a1000 c a2000" << QStringList {"0-2100 kept 1.0 Ch12"};
        QTest::newRow("a reply within the hang time joins")
            << "a1000 o a1000 c a500 o a1000 c a2000" << QStringList {"700-4500 kept 2.0 Ch12"};
        QTest::newRow("one after it starts a file of its own")
            << "a1000 o a1000 c a1500 o a1000 c a2000" << QStringList {"700-3000 kept 1.0 Ch12", "3200-5500 kept 1.0 Ch12"};
        QTest::newRow("shorter than the minimum") << "a1000 o a400 c a2000" << QStringList {"700-2400 dropped 0.4 Ch12"};
        QTest::newRow("another channel within the hang time")
            << "a1000 o a1000 c a500 O a1000 c a2000" << QStringList {"700-2500 kept 1.0 Ch12", "2200-4500 kept 1.0 Ch13"};
        QTest::newRow("an unwanted place") << "a1000 x a1000 c a2000" << QStringList {"700-3000 dropped 1.0 Ch12"};
        QTest::newRow("wanted once its talkgroup is heard") << "a1000 x a1000 t a500 c a1000" << QStringList {"700-3500 kept 1.5 Ch12_002032"};
        QTest::newRow("stopped while open") << "a1000 o a1000 s a1000" << QStringList {"700-2000 kept 1.0 Ch12"};
        QTest::newRow("the talkgroup heard later names it") << "o a200 t a1000 c a1000" << QStringList {"0-2200 kept 1.2 Ch12_002032"};
        QTest::newRow("an opening reported late") << "a2000 o@1800 a1000 c a1200" << QStringList {"1500-4000 kept 1.2 Ch12"};
        QTest::newRow("a closing reported late") << "a1000 o a2000 c@2500 a2000" << QStringList {"700-3500 kept 1.5 Ch12"};
        QTest::newRow("an opening ahead of the sound") << "a1000 o@1200 t a2000 c a2000" << QStringList {"900-4000 kept 1.8 Ch12_002032"};
        QTest::newRow("later than can be placed") << "a3000 o@1000 a1000 c a1000" << QStringList {"2200-5000 kept 1.5 Ch12"};
        QTest::newRow("sound in pieces larger than the ring") << "a5000 o a2000 c a900 a900" << QStringList {"4700-8000 kept 2.0 Ch12"};
    }
    void boundaries()
    {
        QFETCH(QString, script);
        FakeSink sink;
        Recorder recorder({1000, 300, 1000, 500, 60000}, sink);
        qint64 clock = 0;
        for (const QString& step : script.split(QLatin1Char(' '))) {
            const qint64 at = step.contains(QLatin1Char('@')) ? step.section(QLatin1Char('@'), 1).toLongLong() : recorder.position();
            switch (step[0].toLatin1()) {
            case 'a': {
                std::vector<qint16> sound(size_t(step.mid(1).toInt()));
                for (qint16& s : sound)
                    s = qint16(clock++);
                recorder.audio(sound.data(), qsizetype(sound.size()));
                break;
            }
            case 'o': recorder.squelchOpened(place("12"), at); break;
            case 'O': recorder.squelchOpened(place("13")); break;
            case 'x': recorder.squelchOpened(place("12", false)); break;
            case 't': {
                Heard h = place("12");
                h.talkgroup = QStringLiteral("002032");
                recorder.heard(h);
                break;
            }
            case 'c': recorder.squelchClosed(at); break;
            case 's': recorder.stop(); break;
            }
        }
        QTEST(sink.described(), "files");
        for (const auto& f : sink.files)
            QVERIFY(f.ended);
        QVERIFY(!recorder.recording());
    }

    // A squelch held open is cut into files of the longest length, with nothing lost between them.
    void stuckSquelch()
    {
        FakeSink sink;
        Recorder recorder({1000, 300, 1000, 500, 10000}, sink);
        recorder.squelchOpened(place("12"));
        std::vector<qint16> sound(25000);
        for (size_t i = 0; i < sound.size(); ++i)
            sound[i] = qint16(i);
        recorder.audio(sound.data(), qsizetype(sound.size()));
        recorder.squelchClosed();
        recorder.stop();
        QCOMPARE(sink.described(),
                 (QStringList {"0-10000 kept 10.0 Ch12", "10000-20000 kept 10.0 Ch12", "20000-25000 kept 5.0 Ch12"}));
        QCOMPARE(sink.files[1].heard.at, sink.files[0].heard.at.addSecs(10));
    }
};

VEXLOR_TEST_MAIN(TestRecorder)

} // namespace
} // namespace tst_recorder

#include "tst_recorder.moc"
