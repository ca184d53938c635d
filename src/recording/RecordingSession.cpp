#include "recording/RecordingSession.h"

#include <QMetaObject>

#include <chrono>

namespace vexlor::recording {

namespace {
qint64 nowNs() { return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count(); }
} // namespace

RecordingSession::RecordingSession(const Config& config, SourceFactory source, WriterFactory writer, QObject* parent)
    : QObject(parent), m_config(config), m_sourceFactory(std::move(source)), m_writerFactory(std::move(writer))
{
    m_thread.setObjectName(QStringLiteral("capture"));
}

RecordingSession::~RecordingSession() { stop(); }

bool RecordingSession::start(QString* error)
{
    if (m_running)
        return true;
    m_queue = std::make_unique<RecordingQueue>(m_config.files, m_writerFactory(), [this](const RecordingQueue::Done& d) {
        {
            const std::lock_guard lock(m_doneMutex);
            m_done << d;
        }
        QMetaObject::invokeMethod(this, &RecordingSession::deliver, Qt::QueuedConnection);
    });
    m_recorder = std::make_unique<Recorder>(m_config.recorder, *m_queue);
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    m_thread.start();
    // The source is made and started on the capture thread, so its sound arrives there.
    bool started = false;
    QString why;
    QMetaObject::invokeMethod(m_context, [&] {
        m_source = m_sourceFactory();
        started = m_source->start(m_config.device, m_config.recorder.sampleRate,
            [this](const qint16* samples, qsizetype count) {
                m_recorder->audio(samples, count);
                m_lastSoundNs = nowNs();
            },
            [this](const QString& reason) {
                QMetaObject::invokeMethod(this, [this, reason] { Q_EMIT failed(reason); }, Qt::QueuedConnection);
            });
        if (!started) {
            why = m_source->errorString();
            m_source.reset();
        }
    }, Qt::BlockingQueuedConnection);
    m_running = true;
    if (!started) {
        stop();
        if (error)
            *error = why;
        return false;
    }
    return true;
}

void RecordingSession::stop()
{
    if (!m_running)
        return;
    m_running = false;
    QMetaObject::invokeMethod(m_context, [this] {
        if (m_source)
            m_source->stop();
        m_source.reset();
        m_recorder->stop();
    }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_context; // its thread has ended
    m_context = nullptr;
    m_recorder.reset();
    m_queue.reset(); // writes out what waits
    deliver();
}

void RecordingSession::post(std::function<void()> f)
{
    if (m_running && m_context)
        QMetaObject::invokeMethod(m_context, std::move(f), Qt::QueuedConnection);
}

// Reports are stamped when they are made: the capture thread may take them a sound piece later.
void RecordingSession::squelchOpened(const Heard& heard)
{
    const qint64 at = nowNs();
    post([this, heard, at] { m_recorder->squelchOpened(heard, sampleAt(at)); });
}

void RecordingSession::heard(const Heard& heard)
{
    post([this, heard] { m_recorder->heard(heard); });
}

void RecordingSession::squelchClosed()
{
    const qint64 at = nowNs();
    post([this, at] { m_recorder->squelchClosed(sampleAt(at)); });
}

qint64 RecordingSession::sampleAt(qint64 ns) const
{
    if (m_lastSoundNs < 0)
        return m_recorder->position();
    return m_recorder->position() + (ns - m_lastSoundNs) * m_config.recorder.sampleRate / 1000000000;
}

qint64 RecordingSession::droppedSamples() const { return m_queue ? m_queue->droppedSamples() : 0; }

void RecordingSession::deliver()
{
    QList<RecordingQueue::Done> done;
    {
        const std::lock_guard lock(m_doneMutex);
        done.swap(m_done);
    }
    for (const RecordingQueue::Done& d : done) {
        Q_EMIT recorded(d);
        if (!d.error.isEmpty())
            Q_EMIT failed(d.error);
    }
}

} // namespace vexlor::recording
