#pragma once

#include "platform/AudioFileWriter.h"
#include "platform/AudioSource.h"
#include "recording/Recorder.h"
#include "recording/RecordingQueue.h"

#include <QList>
#include <QObject>
#include <QThread>

#include <functional>
#include <memory>
#include <mutex>

namespace vexlor::recording {

// Recording from start to stop: the sound input and the recorder on a thread
// of their own, the files written on the queue's. The squelch reports come
// from the user-interface thread and reach the recorder in order, so nothing
// here waits on the poll or the poll on it.
class RecordingSession : public QObject {
    Q_OBJECT
public:
    struct Config {
        QString device; // empty: the system's default input
        Recorder::Settings recorder;
        RecordingQueue::Options files;
    };
    using SourceFactory = std::function<std::unique_ptr<platform::AudioSource>()>;
    using WriterFactory = std::function<std::unique_ptr<platform::AudioFileWriter>()>;

    RecordingSession(const Config& config, SourceFactory source, WriterFactory writer, QObject* parent = nullptr);
    // Stops first, if stop() was not called.
    ~RecordingSession() override;

    // False, with the reason, when the sound input cannot start.
    bool start(QString* error);
    // Ends the file under way and waits until every file is on the disk; recorded() has come for each.
    void stop();
    bool running() const { return m_running; }

    void squelchOpened(const Heard& heard);
    void heard(const Heard& heard);
    void squelchClosed();

    qint64 droppedSamples() const;

Q_SIGNALS:
    // A receiver may stop() the session, but must not delete it (deleteLater does).
    void recorded(const vexlor::recording::RecordingQueue::Done& done);
    // The input stopped by itself, or a file could not be written; recording has stopped.
    void failed(const QString& why);

private:
    // Runs f on the capture thread, in order with the sound.
    void post(std::function<void()> f);
    void deliver();
    // Where in the sound a report made at `ns` belongs, by when the latest sound arrived.
    qint64 sampleAt(qint64 ns) const;

    Config m_config;
    SourceFactory m_sourceFactory;
    WriterFactory m_writerFactory;
    QThread m_thread;
    QObject* m_context = nullptr; // lives on m_thread
    std::unique_ptr<RecordingQueue> m_queue;
    std::unique_ptr<Recorder> m_recorder;          // the capture thread's
    std::unique_ptr<platform::AudioSource> m_source; // the capture thread's
    qint64 m_lastSoundNs = -1;                       // the capture thread's
    bool m_running = false;
    std::mutex m_doneMutex;
    QList<RecordingQueue::Done> m_done;
};

} // namespace vexlor::recording
