// Recording with a real sound server: a PulseAudio of the test's own with a
// null sink, a tone played into it, the simulator playing a channel for two
// seconds, and the whole vexlor program recording the sink's monitor.
#include "TestSuite.h"
#include "platform/audio/QtSoundPlayer.h"
#include "recording/RecordingFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sndfile.h>

#include <cmath>
#include <vector>

namespace tst_recordingsound {
namespace {

using namespace vexlor;

constexpr int kRate = 16000;
constexpr double kTone = 1000.0;

QString bin(const char* name) { return qEnvironmentVariable("VEXLOR_BIN_DIR") + QLatin1Char('/') + QLatin1String(name); }

bool waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QTest::qWait(50);
    return done();
}

struct Rig {
    QTemporaryDir dir;
    QProcess pulse, player, sim, vexlor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    ~Rig()
    {
        for (QProcess* p : {&vexlor, &sim, &player, &pulse}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000))
                    p->kill();
                p->waitForFinished(2000);
            }
        }
    }

    // A sound server with one null sink, whose monitor is the only input; why not, when it cannot start.
    QString startPulse()
    {
        const QString server = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        const QString pacat = QStandardPaths::findExecutable(QStringLiteral("pacat"));
        if (server.isEmpty() || pacat.isEmpty())
            return QStringLiteral("pulseaudio and pacat are not installed (tools/install-deps.sh installs pulseaudio and pulseaudio-utils)");
        // Its own runtime and home folders: nothing of the user's sound set-up is touched.
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + dir.filePath(QStringLiteral("native")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        pulse.setProcessEnvironment(env);
        pulse.setProcessChannelMode(QProcess::MergedChannels);
        pulse.start(server, {"--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-n", "--log-target=stderr",
                             "--load=module-null-sink sink_name=vexlor_test rate=16000 channels=1",
                             // Qt lists no monitor as an input: a plain source that carries the sink's sound.
                             "--load=module-remap-source source_name=vexlor_in master=vexlor_test.monitor",
                             "--load=module-native-protocol-unix auth-anonymous=1 socket=" + dir.filePath(QStringLiteral("native"))});
        if (!pulse.waitForStarted(5000) || !waitFor([&] { return QFileInfo::exists(dir.filePath(QStringLiteral("native"))); }, 10000))
            return QStringLiteral("the sound server did not start: ") + QString::fromLocal8Bit(pulse.readAll().right(500));
        // The tone, for longer than the test lasts.
        player.setProcessEnvironment(env);
        player.start(pacat, {"--playback", "--format=s16le", "--rate=16000", "--channels=1", "--device=vexlor_test", "--latency-msec=50"});
        if (!player.waitForStarted(5000))
            return QStringLiteral("pacat did not start");
        QByteArray tone(kRate * 2 * 30, Qt::Uninitialized);
        auto* s = reinterpret_cast<qint16*>(tone.data());
        for (int i = 0; i < kRate * 30; ++i)
            s[i] = qint16(8000 * std::sin(2 * M_PI * kTone * i / kRate));
        player.write(tone);
        return {};
    }
};

// The squelch's open time as the program read it: from the line that carried "+" to the one with "-".
double squelchSeconds(const QString& trace)
{
    QFile f(trace);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    qint64 opened = -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        // "     3636 in  W110 F01554750\rMD00\r..."
        const QByteArray t = line.trimmed();
        const qint64 ms = t.left(t.indexOf(' ')).toLongLong();
        const QByteArray rest = t.mid(t.indexOf(' ') + 1);
        if (!rest.startsWith("in  "))
            continue;
        const QByteArray bytes = rest.mid(4);
        if (opened < 0 && (bytes.startsWith("+\\r") || bytes.contains("\\r+\\r")))
            opened = ms;
        else if (opened >= 0 && (bytes.startsWith("-\\r") || bytes.contains("\\r-\\r")))
            return double(ms - opened) / 1000.0;
    }
    return -1;
}

class TestRecordingSound : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void toneOfAChannelHeardForTwoSeconds()
    {
        Rig rig;
        if (const QString why = rig.startPulse(); !why.isEmpty())
            QSKIP(qPrintable(why));
        const QDir dir(rig.dir.path());
        QFile script(dir.filePath(QStringLiteral("script.txt")));
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write("gap 8000\nchannel 5 2000\ngap 600000\n") > 0);
        script.close();
        rig.sim.start(bin("vexlor-sim"), {"--link", dir.filePath(QStringLiteral("port")), "--no-activity", "--script", script.fileName()});
        QVERIFY(rig.sim.waitForStarted(5000) && waitFor([&] { return QFileInfo::exists(dir.filePath(QStringLiteral("port"))); }, 10000));
        QVERIFY(dir.mkpath(QStringLiteral("data")));
        QFile ini(dir.filePath(QStringLiteral("data/qorvanix.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[UserName]=Sound\r\n[Recording]=1\r\n") > 0);
        ini.close();
        rig.vexlor.setProcessEnvironment(rig.env);
        rig.vexlor.setProcessChannelMode(QProcess::MergedChannels);
        rig.vexlor.start(bin("vexlor"), {"--port", dir.filePath(QStringLiteral("port")), "--data-dir", dir.filePath(QStringLiteral("data")),
                                         "--trace", dir.filePath(QStringLiteral("trace.txt"))});
        QVERIFY(rig.vexlor.waitForStarted(5000));
        const QString folder = dir.filePath(QStringLiteral("data/recordings"));
        QVERIFY2(waitFor([&] { return !recording::files::recordings(folder).isEmpty(); }, 30000),
                 rig.vexlor.readAll().right(2000).constData());
        const QString file = QDir(folder).filePath(recording::files::recordings(folder).first());

        SF_INFO info {};
        SNDFILE* f = sf_open(QFile::encodeName(file).constData(), SFM_READ, &info);
        QVERIFY2(f, sf_strerror(nullptr));
        std::vector<short> sound(size_t(info.frames));
        QCOMPARE(sf_read_short(f, sound.data(), info.frames), info.frames);
        sf_close(f);
        QCOMPARE(info.samplerate, kRate);
        const double seconds = double(info.frames) / info.samplerate;
        const double squelch = squelchSeconds(dir.filePath(QStringLiteral("trace.txt")));
        QVERIFY2(squelch > 1.5 && squelch < 2.5, qPrintable(QString::number(squelch)));
        // The squelch time, the 300 ms before it and the 1 s hang after it.
        QVERIFY2(std::abs(seconds - (squelch + 0.3 + 1.0)) <= 0.05,
                 qPrintable(QStringLiteral("%1 s in the file, %2 s of squelch").arg(seconds).arg(squelch)));
        int crossings = 0;
        for (size_t i = 1; i < sound.size(); ++i)
            crossings += (sound[i - 1] < 0) != (sound[i] < 0);
        const double frequency = crossings / seconds / 2;
        qInfo("file %.3f s, squelch %.3f s, tone %.1f Hz", seconds, squelch, frequency);
        QVERIFY2(std::abs(frequency - kTone) < kTone * 0.02, qPrintable(QString::number(frequency)));
        QVERIFY2(QFileInfo(file).fileName().contains(QLatin1String("_Ch5")), qPrintable(file));

        // Played back from the Recordings window's player, it reaches the sound server.
        qputenv("PULSE_SERVER", rig.env.value(QStringLiteral("PULSE_SERVER")).toLocal8Bit());
        platform::QtSoundPlayer player;
        QVERIFY2(player.play(file), qPrintable(player.errorString()));
        const auto streams = [&] {
            QProcess pactl;
            pactl.setProcessEnvironment(rig.env);
            pactl.start(QStringLiteral("pactl"), {"list", "short", "sink-inputs"});
            pactl.waitForFinished(5000);
            return pactl.readAllStandardOutput();
        };
        QVERIFY2(waitFor([&] { return streams().count('\n') >= 2; }, 5000), streams().constData()); // the tone's, and the playback's
        player.stop();
    }
};

VEXLOR_TEST_MAIN(TestRecordingSound)

} // namespace
} // namespace tst_recordingsound

#include "tst_recordingsound.moc"
