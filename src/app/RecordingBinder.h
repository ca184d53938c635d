#pragma once

#include "recording/Recorder.h"
#include "recording/RecordingQueue.h"
#include "recording/RecordingSetup.h"

#include <QJsonArray>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <memory>

#include "recording/RecordingSession.h"

namespace vexlor::platform {
class SoundPlayer;
}
namespace vexlor::recording {
class RecordingList;
class RecordingSetupWindow;
class RecordingsWindow;
}

namespace vexlor::app {

class Application;

// Recordings in the running program: the squelch and what the display names
// drive the recorder; each finished file goes into the activity log and the
// statistics; a failure stops recording and says why.
class RecordingBinder : public QObject {
    Q_OBJECT
public:
    explicit RecordingBinder(Application& app);
    ~RecordingBinder() override;

    // Starts when [Recording]=1; false, with error(), when the input cannot start.
    bool startIfWanted();
    bool start(const recording::RecordingSetup::Settings& settings);
    // Completes the file under way first.
    void stop();
    bool running() const;
    QString error() const { return m_error; }
    QString folder() const;
    recording::RecordingSetup& setup() { return *m_setup; }
    recording::RecordingSession* session() const { return m_session.data(); }
    // Null until first opened.
    recording::RecordingSetupWindow* window() const { return m_window.get(); }
    // Options > Recordings.
    void RecordingSetupMnu_Click();
    // Memories > Recordings: the list of them, to find, play and delete.
    void RecordingsMnu_Click();
    recording::RecordingList& list() { return *m_list; }
    // The newest recordings, for the web remote: time, seconds, frequency, channel and talkgroup with names, file.
    QJsonArray recordingsJson(int most);
    // Null until first opened.
    recording::RecordingsWindow* listWindow() const { return m_listWindow.get(); }

Q_SIGNALS:
    // A file finished, kept or not, or older ones removed: lists of recordings follow it.
    void recordingsChanged();

private:
    recording::RecordingSetup::Settings saved() const;
    void displayChanged();
    recording::Heard heardNow() const;
    bool wanted(const recording::Heard& h) const;
    void recorded(const recording::RecordingQueue::Done& done);
    void failed(const QString& why);
    QString status() const;

    Application& m_app;
    std::unique_ptr<recording::RecordingSetup> m_setup;
    std::unique_ptr<recording::RecordingSetupWindow> m_window;
    std::unique_ptr<platform::SoundPlayer> m_player; // made on first play
    std::unique_ptr<recording::RecordingList> m_list;
    std::unique_ptr<recording::RecordingsWindow> m_listWindow;
    QPointer<recording::RecordingSession> m_session;
    recording::RecordingSetup::Policy m_policy = recording::RecordingSetup::Policy::Everything;
    QSet<int> m_markedChannels;
    QSet<QString> m_markedTalkgroups;
    bool m_squelchOpen = false;
    recording::Heard m_heard; // the transmission under way, as last told
    QString m_error;
};

} // namespace vexlor::app
