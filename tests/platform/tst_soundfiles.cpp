#include "TestSuite.h"
#include "platform/audio/SndFileWriter.h"
#include "platform/audio/SoundFileInfo.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <vector>

namespace tst_soundfiles {
namespace {

using namespace vexlor::platform;

class TestSoundFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What is written reads back: its length and its tags, in both formats.
    void roundTrip_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("FLAC") << int(AudioFileWriter::Format::Flac);
        QTest::newRow("Ogg/Opus") << int(AudioFileWriter::Format::Opus);
    }
    void roundTrip()
    {
        QFETCH(int, format);
        const auto f = AudioFileWriter::Format(format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.") + AudioFileWriter::extension(f));
        SndFileWriter writer;
        const AudioFileWriter::Tags tags {QStringLiteral("Ch 12 Fire North"), QStringLiteral("002032 Dispatch"), QStringLiteral("Bank 3"),
                                          QStringLiteral("frequency=154.4300 channel=12"), QStringLiteral("2026-12-11T07:15:03")};
        QVERIFY2(writer.open(path, f, 16000, tags), qPrintable(writer.errorString()));
        std::vector<qint16> tone(16000);
        for (size_t i = 0; i < tone.size(); ++i)
            tone[i] = qint16(8000 * std::sin(2 * M_PI * 1000.0 * double(i) / 16000));
        for (int i = 0; i < 3; ++i)
            QVERIFY2(writer.write(tone.data(), qsizetype(tone.size())), qPrintable(writer.errorString()));
        QVERIFY2(writer.close(), qPrintable(writer.errorString()));
        double seconds = 0;
        AudioFileWriter::Tags back;
        QVERIFY(soundFileInfo(path, &seconds, &back));
        QVERIFY2(std::abs(seconds - 3.0) < 0.05, qPrintable(QString::number(seconds)));
        QCOMPARE(back.title, tags.title);
        QCOMPARE(back.artist, tags.artist);
        QCOMPARE(back.album, tags.album);
        QCOMPARE(back.comment, tags.comment);
    }

    // A file that cannot be made says why; nothing is read from what is not a sound file.
    void refusals()
    {
        QTemporaryDir dir;
        SndFileWriter writer;
        QVERIFY(!writer.open(dir.filePath(QStringLiteral("none/a.flac")), AudioFileWriter::Format::Flac, 16000, {}));
        QVERIFY(!writer.errorString().isEmpty());
        QVERIFY(!writer.write(nullptr, 0));
        double seconds = 0;
        AudioFileWriter::Tags tags;
        QVERIFY(!soundFileInfo(dir.filePath(QStringLiteral("none.flac")), &seconds, &tags));
    }
};

VEXLOR_TEST_MAIN(TestSoundFiles)

} // namespace
} // namespace tst_soundfiles

#include "tst_soundfiles.moc"
