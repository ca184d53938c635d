#include "app/RecordingBinder.h"

#include "app/Application.h"
#include "app/SecondaryWindow.h"
#include "app/ui/MainWindow.h"
#include "memory/MemoryTables.h"
#include "monitor/MainDisplay.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "recording/ActivityLog.h"
#include "recording/RecordingSession.h"
#include "recording/RecordingList.h"
#include "recording/ui/RecordingSetupWindow.h"
#include "recording/ui/RecordingsWindow.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"

#include <QAction>
#include <QDir>
#include <QJsonObject>

#include <cstdio>

namespace vexlor::app {

namespace {

using Setup = recording::RecordingSetup;

int number(const QString& text, int fallback)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : fallback;
}

} // namespace

RecordingBinder::RecordingBinder(Application& app) : m_app(app)
{
    m_setup = std::make_unique<Setup>(Setup::Hooks {
        [this] { return saved(); },
        [this](const Setup::Settings& s) {
            IniFile& ini = m_app.INIObj();
            ini.setRecording(s.enabled ? QStringLiteral("1") : QStringLiteral("0"));
            ini.setRecordingInput(s.device);
            ini.setRecordingFormat(s.opus ? QStringLiteral("opus") : QStringLiteral("flac"));
            ini.setRecordingWhat(QString::number(int(s.policy)));
            ini.setRecordingMarked(s.marked);
            ini.setRecordingMinimumMs(QString::number(s.minimumMs));
            ini.setRecordingHangMs(QString::number(s.hangMs));
            ini.setRecordingLimitGB(QString::number(s.limitGb));
            ini.setRecordingLimitDays(QString::number(s.limitDays));
            m_app.saveConfig();
            if (s.enabled)
                start(s);
            else
                stop();
            return status();
        },
        [this] { return status(); },
        [this] { return m_app.platform().soundInputs ? m_app.platform().soundInputs() : QList<QPair<QString, QString>>(); },
    });
    m_list = std::make_unique<recording::RecordingList>(recording::RecordingList::Hooks {
        [this] { return folder(); },
        m_app.platform().soundInfo,
        [this](const QString& path, QString* error) {
            if (!m_player && m_app.platform().soundPlayer)
                m_player = m_app.platform().soundPlayer();
            if (!m_player) {
                *error = QStringLiteral("this Vexlor cannot play sound");
                return false;
            }
            const bool ok = m_player->play(path);
            if (!ok)
                *error = m_player->errorString();
            return ok;
        },
        [this] {
            if (m_player)
                m_player->stop();
        },
        [this](const QString& path) { m_app.platform().shell.openFile(path); },
        [this](const QString& question) {
            return m_app.platform().dialogs.message({question, QStringLiteral("Recordings"), platform::Dialogs::Buttons::YesNo,
                                                      platform::Dialogs::Icon::Question})
                == platform::Dialogs::Button::Yes;
        },
    });
    // The list follows the recorder while it shows.
    connect(this, &RecordingBinder::recordingsChanged, this, [this] {
        if (m_listWindow && m_listWindow->isVisible())
            m_list->refresh();
    });
    connect(&app.display(), &monitor::MainDisplay::changed, this, &RecordingBinder::displayChanged);
    const std::pair<const char*, void (RecordingBinder::*)()> items[] = {{"RecordingSetupMnu", &RecordingBinder::RecordingSetupMnu_Click},
                                                                         {"RecordingsMnu", &RecordingBinder::RecordingsMnu_Click}};
    for (const auto& [name, click] : items) {
        if (QAction* a = app.window().action(QLatin1String(name))) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, click);
        }
    }
}

RecordingBinder::~RecordingBinder() { stop(); }

Setup::Settings RecordingBinder::saved() const
{
    const IniFile& ini = m_app.INIObj();
    Setup::Settings s;
    s.enabled = ini.Recording().trimmed() == QLatin1String("1");
    s.device = ini.RecordingInput().trimmed();
    s.opus = ini.RecordingFormat().trimmed().compare(QLatin1String("opus"), Qt::CaseInsensitive) == 0;
    s.policy = Setup::Policy(std::clamp(number(ini.RecordingWhat(), 0), 0, 2));
    s.marked = ini.RecordingMarked().trimmed();
    s.minimumMs = std::clamp(number(ini.RecordingMinimumMs(), s.minimumMs), 0, 60000);
    s.hangMs = std::clamp(number(ini.RecordingHangMs(), s.hangMs), 0, 10000);
    s.limitGb = std::clamp(number(ini.RecordingLimitGB(), s.limitGb), 0, 10000);
    s.limitDays = std::clamp(number(ini.RecordingLimitDays(), s.limitDays), 0, 36500);
    return s;
}

QString RecordingBinder::folder() const { return QDir(QDir::currentPath()).filePath(QStringLiteral("recordings")); }

bool RecordingBinder::startIfWanted()
{
    const Setup::Settings s = saved();
    return !s.enabled || start(s);
}

bool RecordingBinder::start(const Setup::Settings& s)
{
    stop();
    m_error.clear();
    const Platform& p = m_app.platform();
    if (!p.soundInput || !p.soundFiles) {
        m_error = QStringLiteral("This Vexlor cannot record sound.");
        return false;
    }
    m_markedChannels.clear();
    m_markedTalkgroups.clear();
    QString bad;
    Setup::parseMarked(s.marked, &m_markedChannels, &m_markedTalkgroups, &bad);
    m_policy = s.policy;
    recording::RecordingSession::Config config;
    config.device = s.device;
    config.recorder.minimumMs = s.minimumMs;
    config.recorder.hangMs = s.hangMs;
    config.files.folder = folder();
    config.files.format = s.opus ? platform::AudioFileWriter::Format::Opus : platform::AudioFileWriter::Format::Flac;
    config.files.sampleRate = config.recorder.sampleRate;
    config.files.limitBytes = qint64(s.limitGb) * 1024 * 1024 * 1024;
    config.files.limitDays = s.limitDays;
    auto* session = new recording::RecordingSession(config, p.soundInput, p.soundFiles, this);
    connect(session, &recording::RecordingSession::recorded, this, &RecordingBinder::recorded);
    connect(session, &recording::RecordingSession::failed, this, &RecordingBinder::failed);
    if (!session->start(&m_error)) {
        delete session;
        m_error = QStringLiteral("Cannot record: %1").arg(m_error);
        std::fprintf(stderr, "vexlor: %s\n", qPrintable(m_error));
        return false;
    }
    m_session = session;
    m_squelchOpen = false;
    displayChanged(); // a transmission under way is recorded from here
    return true;
}

void RecordingBinder::stop()
{
    if (!m_session)
        return;
    recording::RecordingSession* session = m_session;
    m_session.clear();
    session->stop();
    // Not deleted here: this may run inside one of its signals.
    session->deleteLater();
}

bool RecordingBinder::running() const { return m_session && m_session->running(); }

QString RecordingBinder::status() const
{
    if (running()) {
        QString s = QStringLiteral("Recording into %1.").arg(QDir::toNativeSeparators(folder()));
        // Sound the disk could not take in time is dropped, not waited for: the operator hears of it.
        if (const qint64 dropped = m_session->droppedSamples(); dropped > 0)
            s += QStringLiteral(" %1 s of sound were dropped: the disk did not keep up.").arg(double(dropped) / recording::Recorder::Settings().sampleRate, 0, 'f', 1);
        return s;
    }
    return m_error.isEmpty() ? QStringLiteral("Off.") : m_error;
}

void RecordingBinder::RecordingSetupMnu_Click()
{
    if (m_app.finished())
        return;
    if (!m_window)
        m_window = std::make_unique<recording::RecordingSetupWindow>(*m_setup, &m_app.window());
    const bool open = m_window->isVisible();
    showSecondaryWindow(m_app.window(), *m_window);
    if (!open)
        m_setup->open();
}

QJsonArray RecordingBinder::recordingsJson(int most)
{
    // Files already read are not opened again.
    m_list->refresh();
    QJsonArray out;
    for (const recording::RecordingList::Entry& e : m_list->all().mid(0, most)) {
        out.append(QJsonObject {{"time", e.at.toString(Qt::ISODate)}, {"seconds", qRound(e.seconds * 10) / 10.0}, {"frequency", e.frequency},
                                {"channel", e.channel}, {"channelName", e.channelName}, {"talkgroup", e.talkgroup},
                                {"talkgroupName", e.talkgroupName}, {"file", e.file}});
    }
    return out;
}

void RecordingBinder::RecordingsMnu_Click()
{
    if (m_app.finished())
        return;
    if (!m_listWindow)
        m_listWindow = std::make_unique<recording::RecordingsWindow>(*m_list, &m_app.window());
    showSecondaryWindow(m_app.window(), *m_listWindow);
    m_list->refresh();
}

recording::Heard RecordingBinder::heardNow() const
{
    const monitor::MainDisplayState& d = m_app.display().s;
    recording::Heard h;
    h.at = m_app.platform().clock.localDateTime();
    h.frequency = d.FrequencyBox.trimmed();
    h.channel = d.ChLbl.trimmed();
    h.channelName = d.NameLbl.trimmed();
    h.channelType = d.TypeLbl.trimmed();
    h.bank = d.FreqBankLbl.trimmed();
    if (d.IDListen) {
        h.talkgroup = d.IDbox.trimmed();
        h.talkgroupName = d.IDNameLbl.trimmed();
        h.talkgroupType = d.IDTypeLbl.trimmed();
    }
    h.wanted = wanted(h);
    return h;
}

bool RecordingBinder::wanted(const recording::Heard& h) const
{
    bool isNumber = false;
    const int channel = h.channel.toInt(&isNumber);
    switch (m_policy) {
    case Setup::Policy::Everything: return true;
    case Setup::Policy::MarkedOnly:
        return (isNumber && m_markedChannels.contains(channel)) || (!h.talkgroup.isEmpty() && m_markedTalkgroups.contains(h.talkgroup.toUpper()));
    case Setup::Policy::SkipLockedOut:
        return !(isNumber && channel >= 1 && channel <= memory::MemoryTables::kChannels
                 && m_app.tables().Channels.at(channel, memory::MemoryTables::kChLO).display() == QLatin1String("="));
    }
    return true;
}

void RecordingBinder::displayChanged()
{
    if (!m_session)
        return;
    const bool open = m_app.display().s.SQopen;
    if (open && !m_squelchOpen) {
        m_heard = heardNow();
        m_session->squelchOpened(m_heard);
    } else if (open) {
        recording::Heard now = heardNow();
        now.at = m_heard.at;
        const auto key = [](const recording::Heard& h) {
            return QStringList {h.frequency, h.channel, h.channelName, h.channelType, h.bank, h.talkgroup, h.talkgroupName, h.talkgroupType};
        };
        if (key(now) != key(m_heard) || now.wanted != m_heard.wanted) {
            m_heard = now;
            m_session->heard(now);
        }
    } else if (m_squelchOpen) {
        m_session->squelchClosed();
    }
    m_squelchOpen = open;
}

void RecordingBinder::recorded(const recording::RecordingQueue::Done& done)
{
    recording::ActivityLog& log = m_app.activityLog();
    const QDateTime now = m_app.platform().clock.localDateTime();
    const QString stamp = recording::ActivityLog::dateField(now.date()) + QLatin1Char(' ') + recording::ActivityLog::timeField(now.time());
    if (!done.file.isEmpty()) {
        if (log.isOpen())
            log.writeLine(QStringLiteral("%1 Recorded recordings/%2 (%3 s)").arg(stamp, done.file).arg(done.length, 0, 'f', 1));
        // The statistics record of what was heard counts the time recorded, under the keys the decoder gives it.
        const recording::Heard& h = done.heard;
        recording::MeasureIntfc& meas = m_app.meas();
        // A transmission too short to count has no record to add to.
        if (!h.talkgroup.isEmpty()) {
            if (!meas.addRecorded(QStringLiteral("T"), h.bank, h.talkgroup, done.seconds))
                meas.addRecorded(QStringLiteral("T*"), h.bank, h.talkgroup, done.seconds);
        } else if (!h.channel.isEmpty()) {
            meas.addRecorded(QStringLiteral("C"), h.channel, h.frequency, done.seconds);
        } else {
            meas.addRecorded(QStringLiteral("X"), QStringLiteral("0"), h.frequency, done.seconds);
        }
    }
    for (const QString& old : done.removed) {
        if (log.isOpen())
            log.writeLine(QStringLiteral("%1 Recording removed for the disk limit: recordings/%2").arg(stamp, old));
    }
    Q_EMIT recordingsChanged();
}

void RecordingBinder::failed(const QString& why)
{
    if (!m_session)
        return; // one failure says it once
    stop();
    m_error = QStringLiteral("Recording stopped: %1").arg(why);
    std::fprintf(stderr, "vexlor: %s\n", qPrintable(m_error));
    recording::ActivityLog& log = m_app.activityLog();
    if (log.isOpen()) {
        const QDateTime now = m_app.platform().clock.localDateTime();
        log.writeLine(recording::ActivityLog::dateField(now.date()) + QLatin1Char(' ') + recording::ActivityLog::timeField(now.time())
                      + QLatin1Char(' ') + m_error);
    }
    m_app.platform().dialogs.message({m_error, QStringLiteral("Recordings"), platform::Dialogs::Buttons::Ok, platform::Dialogs::Icon::Warning});
}

} // namespace vexlor::app
