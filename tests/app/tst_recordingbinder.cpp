#include "AppFixture.h"
#include "LimitGuard.h"
#include "PacedSound.h"
#include "TestSuite.h"
#include "app/RecordingBinder.h"
#include "app/ui/MainWindow.h"
#include "monitor/MainDisplay.h"
#include "platform/audio/SndFileWriter.h"
#include "platform/audio/SoundFileInfo.h"
#include "recording/RecordingList.h"
#include "recording/ui/RecordingsWindow.h"
#include "recording/RecordingFiles.h"
#include "recording/RecordingSession.h"
#include "recording/RecordingSetup.h"
#include "recording/ui/RecordingSetupWindow.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>
#include <QJsonObject>
#include <QFileInfo>
#include <QTest>

#include <sndfile.h>

#include <cmath>
#include <random>

namespace tst_recordingbinder {
namespace {

using namespace vexlor;

// A 1 kHz tone, or noise, which no encoder can shrink.
std::unique_ptr<platform::AudioSource> tone()
{
    return std::make_unique<fakes::PacedSound>([](qint64 i, int rate) { return qint16(8000 * std::sin(2 * M_PI * 1000.0 * double(i) / rate)); });
}
std::unique_ptr<platform::AudioSource> noise()
{
    return std::make_unique<fakes::PacedSound>([random = std::mt19937(7)](qint64, int) mutable { return qint16(random()); });
}

// Remembers what it was asked to play.
class FakePlayer : public platform::SoundPlayer {
public:
    explicit FakePlayer(QStringList* played) : m_played(played) {}
    bool play(const QString& path) override
    {
        *m_played << path;
        return true;
    }
    void stop() override { *m_played << QStringLiteral("stop"); }
    QString errorString() const override { return {}; }

private:
    QStringList* m_played;
};

class TestRecordingBinder : public QObject, protected testing::AppFixture {
    Q_OBJECT

    void startRecording(const char* extraIni = "")
    {
        QFile ini(QStringLiteral("qorvanix.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray("[Logging File]=night\r\n[Log What]=100000000\r\n[Recording]=1\r\n[RecordingMinimumMs]=200\r\n"
                             "[RecordingHangMs]=300\r\n") + extraIni);
        ini.close();
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        QVERIFY2(m_app->recordingBinder().running(), qPrintable(m_app->recordingBinder().error()));
    }
    // The squelch opens on a channel for a while, then closes; the statistics count it as the decoder would.
    void transmission(int ms)
    {
        recording::MeasureIntfc& meas = m_app->meas();
        meas.Tic();
        meas.CarrierOn(QStringLiteral("C"), QStringLiteral("12"), QStringLiteral("154.4300"));
        monitor::MainDisplay& d = m_app->display();
        d.s.FrequencyBox = QStringLiteral("154.4300");
        d.s.ChLbl = QStringLiteral("12");
        d.s.NameLbl = QStringLiteral("Fire North");
        d.s.SQopen = true;
        d.publish();
        QTest::qWait(ms);
        m_clock.advanceMs(ms);
        meas.Toc();
        d.s.SQopen = false;
        d.publish();
    }
    static QByteArray logText()
    {
        QFile log(QStringLiteral("night.log"));
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(enterScratchDir());
        m_soundInput = &tone;
        m_soundFiles = [] { return std::make_unique<platform::SndFileWriter>(); };
    }
    void cleanup() { leaveScratchDir(); }

    // A transmission becomes a FLAC file named after its channel, of the squelch's length plus
    // the pre-roll and the hang time, with the tone in it; the log names it.
    void recordsATransmission()
    {
        startRecording();
        QTest::qWait(400); // the pre-roll fills
        transmission(1000);
        QTRY_VERIFY_WITH_TIMEOUT(!recording::files::recordings(QStringLiteral("recordings")).isEmpty(), 5000);
        const QString file = recording::files::recordings(QStringLiteral("recordings")).first();
        QVERIFY2(file.endsWith(QLatin1String("_Ch12.flac")), qPrintable(file));
        SF_INFO info {};
        SNDFILE* f = sf_open(QFile::encodeName(QStringLiteral("recordings/") + file).constData(), SFM_READ, &info);
        QVERIFY2(f, qPrintable(file + ": " + QString::fromLocal8Bit(sf_strerror(nullptr)) + " "
                               + QString::number(QFileInfo(QStringLiteral("recordings/") + file).size())));
        std::vector<short> sound(size_t(info.frames));
        QCOMPARE(sf_read_short(f, sound.data(), info.frames), info.frames);
        const QString title = QString::fromUtf8(sf_get_string(f, SF_STR_TITLE));
        sf_close(f);
        QCOMPARE(title, QStringLiteral("Ch 12 Fire North"));
        const double seconds = double(info.frames) / info.samplerate;
        QVERIFY2(std::abs(seconds - (0.3 + 1.0 + 0.3)) < 0.15, qPrintable(QString::number(seconds)));
        // The tone: about 2000 sign changes a second.
        int crossings = 0;
        for (size_t i = 1; i < sound.size(); ++i)
            crossings += (sound[i - 1] < 0) != (sound[i] < 0);
        QVERIFY2(std::abs(crossings / seconds - 2000) < 100, qPrintable(QString::number(crossings / seconds)));
        QTRY_VERIFY(logText().contains("Recorded recordings/" + file.toUtf8()));
        // Its statistics record counts the squelch's time in the recording.
        QCOMPARE(m_app->meas().Measurements().size(), 1);
        QVERIFY2(std::abs(m_app->meas().Measurements().first().RecordedTime - 1.0) < 0.15,
                 qPrintable(QString::number(m_app->meas().Measurements().first().RecordedTime)));
    }

    // Files limited to 16 KB, as a full disk would: recording stops with a message, the log keeps
    // every line and says so too, and nothing is left half written.
    void fullDiskStops()
    {
        m_soundInput = &noise;
        startRecording();
        QVERIFY(m_app->activityLog().writeLine(QStringLiteral("before the disk filled")));
        const testing::LimitGuard limit(RLIMIT_FSIZE, 16 * 1024);
        QVERIFY(limit.ok());
        QTest::qWait(400);
        transmission(1000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_app->recordingBinder().running(), 5000);
        QVERIFY2(m_dialogs.texts().join('\n').contains("Recording stopped: Cannot write"), qPrintable(m_dialogs.texts().join('\n')));
        QVERIFY(m_app->activityLog().writeLine(QStringLiteral("after it")));
        const QByteArray log = logText();
        QVERIFY(log.contains("before the disk filled\r\n") && log.contains("Recording stopped: Cannot write") && log.contains("after it\r\n"));
        QDirIterator files(QStringLiteral("recordings"), QDir::Files, QDirIterator::Subdirectories);
        QVERIFY2(!files.hasNext(), qPrintable(files.hasNext() ? files.next() : QString())); // no .part either
    }

    // Memories > Recordings lists what was recorded, with the names from the files themselves,
    // finds by text and day, plays, and deletes after asking.
    void listWindow()
    {
        QStringList played;
        m_soundPlayer = [&played] { return std::make_unique<FakePlayer>(&played); };
        m_soundInfo = &platform::soundFileInfo;
        startRecording();
        QTest::qWait(400);
        transmission(600);
        QTRY_VERIFY_WITH_TIMEOUT(!recording::files::recordings(QStringLiteral("recordings")).isEmpty(), 5000);
        m_app->window().action(QStringLiteral("RecordingsMnu"))->trigger();
        app::RecordingBinder& rec = m_app->recordingBinder();
        QVERIFY(rec.listWindow() && rec.listWindow()->isVisible());
        for (const char* name : {"FilterBox", "FromDate", "ToDate", "RecordingsGrid", "PlayCmd", "StopCmd", "OpenFolderCmd", "DeleteCmd",
                                 "StatusLbl", "CloseCmd"})
            QVERIFY2(rec.listWindow()->findChild<QWidget*>(QLatin1String(name)), name);
        recording::RecordingList& list = rec.list();
        QCOMPARE(list.rowCount(), 1);
        const auto cell = [&](int column) { return list.data(list.index(0, column)).toString(); };
        QCOMPARE(cell(recording::RecordingList::Channel), QStringLiteral("12 Fire North"));
        QCOMPARE(cell(recording::RecordingList::Frequency), QStringLiteral("154.4300"));
        QCOMPARE(cell(recording::RecordingList::Time), m_clock.localDateTime().toString("yyyy-MM-dd HH:mm:ss"));
        QVERIFY2(std::abs(list.entry(0).seconds - 1.2) < 0.15, qPrintable(QString::number(list.entry(0).seconds)));
        // Found by name, not by another; not on another day.
        const std::pair<QString, int> finds[] = {{"north", 1}, {"002032", 0}, {"", 1}};
        for (const auto& [text, rows] : finds) {
            list.FilterBox_Change(text);
            QCOMPARE(list.rowCount(), rows);
        }
        list.FromDate_Change(m_clock.localDateTime().date().addDays(1));
        QCOMPARE(list.rowCount(), 0);
        // The web remote lists them whatever the window shows, and leaves the window's table as it is.
        const QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
        const QJsonArray listed = rec.recordingsJson(100);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed[0].toObject().value("channelName").toString(), QStringLiteral("Fire North"));
        list.FromDate_Change({});
        QVERIFY(list.PlayCmd_Click(0));
        QVERIFY(played.value(0).endsWith(QLatin1String("_Ch12.flac")));
        m_dialogs.answers = {platform::Dialogs::Button::No, platform::Dialogs::Button::Yes};
        QCOMPARE(list.DeleteCmd_Click({0}), 0);
        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(list.DeleteCmd_Click({0}), 1);
        QCOMPARE(list.rowCount(), 0);
        QVERIFY(recording::files::recordings(QStringLiteral("recordings")).isEmpty());
        QVERIFY(m_dialogs.texts().join('\n').contains("Delete the recording "));
        // A new recording shows while the window is open.
        transmission(600);
        QTRY_COMPARE_WITH_TIMEOUT(list.rowCount(), 1, 5000);
    }

    // Options > Recordings keeps the choices and starts or stops recording at once.
    void window()
    {
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        m_app->window().action(QStringLiteral("RecordingSetupMnu"))->trigger();
        app::RecordingBinder& rec = m_app->recordingBinder();
        QVERIFY(rec.window() && rec.window()->isVisible());
        for (const char* name : {"EnabledChk", "DeviceBox", "FormatBox", "PolicyBox", "MarkedBox", "MinimumBox", "HangBox",
                                 "LimitGbBox", "LimitDaysBox", "StatusLbl", "ApplyCmd", "CloseCmd"})
            QVERIFY2(rec.window()->findChild<QWidget*>(QLatin1String(name)), name);
        recording::RecordingSetup& setup = rec.setup();
        setup.EnabledChk_Click(true);
        setup.PolicyBox_Click(1);
        setup.MarkedBox_Change(QStringLiteral("12, x9"));
        QVERIFY(!setup.ApplyCmd_Click());
        QVERIFY(setup.StatusLbl().contains("\"x9\""));
        QVERIFY(!rec.running());
        setup.MarkedBox_Change(QStringLiteral("12, 002032"));
        QVERIFY(setup.ApplyCmd_Click());
        QVERIFY2(rec.running(), qPrintable(setup.StatusLbl()));
        QVERIFY(setup.StatusLbl().startsWith("Recording into "));
        QVERIFY(m_app->INIObj().RecordingMarked() == QStringLiteral("12, 002032"));
        setup.EnabledChk_Click(false);
        QVERIFY(setup.ApplyCmd_Click());
        QVERIFY(!rec.running());
        QCOMPARE(setup.StatusLbl(), QStringLiteral("Off."));
    }
};

VEXLOR_TEST_MAIN(TestRecordingBinder)

} // namespace
} // namespace tst_recordingbinder

#include "tst_recordingbinder.moc"
