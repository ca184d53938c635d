#pragma once

#include "platform/AudioFileWriter.h"
#include "recording/Recorder.h"

#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vexlor::recording {

// Writes the recordings on a thread of its own, so a slow disk never holds the
// capture, let alone the poll. What waits for the disk is bounded: past it the
// sound is dropped and counted. A file is written under a ".part" name and
// gets its own name only once complete; it is opened after a few seconds of
// sound or at its end, so its tags name what was heard during it.
class RecordingQueue : public RecordingSink {
public:
    static constexpr int kMaxQueuedSeconds = 30;
    static constexpr int kOpenAfterSeconds = 5;

    struct Options {
        QString folder;
        platform::AudioFileWriter::Format format = platform::AudioFileWriter::Format::Flac;
        int sampleRate = 16000;
        qint64 limitBytes = 2LL * 1024 * 1024 * 1024; // 0: none
        int limitDays = 30;                            // 0: none
    };
    struct Done {
        QString file;        // relative to the folder; empty when nothing was kept
        Heard heard;
        double seconds = 0;  // the squelch's open time in it
        double length = 0;   // the file's own length
        QString error;       // why it could not be written
        QStringList removed; // older recordings removed for the limits
    };
    // Called on the queue's thread once a file is done with.
    using Finished = std::function<void(const Done&)>;

    RecordingQueue(const Options& options, std::unique_ptr<platform::AudioFileWriter> writer, Finished finished);
    // Writes out what is queued first.
    ~RecordingQueue() override;

    void begin(const Heard& heard) override;
    void append(const qint16* samples, qsizetype count) override;
    void identify(const Heard& heard) override;
    void end(const Heard& heard, double seconds, bool keep) override;

    qint64 droppedSamples() const { return m_dropped.load(); }

private:
    struct Op {
        enum class Kind { Begin, Samples, Identify, End } kind;
        Heard heard;
        std::vector<qint16> samples;
        double seconds = 0;
        bool keep = false;
    };
    void push(Op op);
    void run();
    void apply(Op& op);
    bool openFile();
    void fail(const QString& why);
    void finish(double seconds, bool keep);

    const Options m_options;
    const Finished m_finished;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Op> m_ops;
    qint64 m_queuedSamples = 0;
    bool m_stopping = false;
    std::atomic<qint64> m_dropped {0};

    // The writing thread's own.
    std::unique_ptr<platform::AudioFileWriter> m_writer;
    Heard m_heard;
    std::vector<qint16> m_pending;
    QString m_part;
    bool m_open = false;
    qint64 m_written = 0;
    QString m_error;
    std::thread m_thread;
};

} // namespace vexlor::recording
