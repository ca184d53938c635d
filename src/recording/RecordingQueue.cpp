#include "recording/RecordingQueue.h"

#include "recording/RecordingFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vexlor::recording {

RecordingQueue::RecordingQueue(const Options& options, std::unique_ptr<platform::AudioFileWriter> writer, Finished finished)
    : m_options(options), m_finished(std::move(finished)), m_writer(std::move(writer))
{
    m_thread = std::thread([this] { run(); });
}

RecordingQueue::~RecordingQueue()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RecordingQueue::push(Op op)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queuedSamples += qint64(op.samples.size());
        m_ops.push_back(std::move(op));
    }
    m_wake.notify_one();
}

void RecordingQueue::begin(const Heard& heard) { push({Op::Kind::Begin, heard, {}, 0, false}); }

void RecordingQueue::append(const qint16* samples, qsizetype count)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_queuedSamples + count > qint64(kMaxQueuedSeconds) * m_options.sampleRate) {
            m_dropped += count;
            return;
        }
    }
    push({Op::Kind::Samples, {}, std::vector<qint16>(samples, samples + count), 0, false});
}

void RecordingQueue::identify(const Heard& heard) { push({Op::Kind::Identify, heard, {}, 0, false}); }

void RecordingQueue::end(const Heard& heard, double seconds, bool keep) { push({Op::Kind::End, heard, {}, seconds, keep}); }

void RecordingQueue::run()
{
    for (;;) {
        Op op;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_ops.empty(); });
            if (m_ops.empty())
                return;
            op = std::move(m_ops.front());
            m_ops.pop_front();
        }
        apply(op);
        const std::lock_guard lock(m_mutex);
        m_queuedSamples -= qint64(op.samples.size());
    }
}

void RecordingQueue::apply(Op& op)
{
    switch (op.kind) {
    case Op::Kind::Begin:
        m_heard = op.heard;
        m_pending.clear();
        m_open = false;
        m_written = 0;
        m_error.clear();
        m_part = QDir(m_options.folder).filePath(files::relativeName(op.heard, platform::AudioFileWriter::extension(m_options.format)) + QStringLiteral(".part"));
        break;
    case Op::Kind::Samples:
        if (!m_error.isEmpty())
            break;
        if (m_open) {
            if (!m_writer->write(op.samples.data(), qsizetype(op.samples.size())))
                fail(m_writer->errorString());
            m_written += qint64(op.samples.size());
            break;
        }
        m_pending.insert(m_pending.end(), op.samples.begin(), op.samples.end());
        if (qint64(m_pending.size()) >= qint64(kOpenAfterSeconds) * m_options.sampleRate)
            openFile();
        break;
    case Op::Kind::Identify:
        m_heard = op.heard;
        break;
    case Op::Kind::End:
        m_heard = op.heard;
        finish(op.seconds, op.keep);
        break;
    }
}

bool RecordingQueue::openFile()
{
    if (!QDir().mkpath(QFileInfo(m_part).path())) {
        fail(QStringLiteral("the folder %1 cannot be made").arg(QFileInfo(m_part).path()));
        return false;
    }
    if (!m_writer->open(m_part, m_options.format, m_options.sampleRate, files::tags(m_heard))) {
        fail(m_writer->errorString());
        return false;
    }
    m_open = true;
    const bool ok = m_writer->write(m_pending.data(), qsizetype(m_pending.size()));
    m_written = qint64(m_pending.size());
    m_pending.clear();
    if (!ok)
        fail(m_writer->errorString());
    return ok;
}

void RecordingQueue::fail(const QString& why)
{
    if (m_open)
        m_writer->close();
    m_open = false;
    QFile::remove(m_part);
    m_pending.clear();
    m_error = QStringLiteral("Cannot write %1: %2").arg(QFileInfo(m_part).fileName().chopped(5), why);
}

void RecordingQueue::finish(double seconds, bool keep)
{
    Done done;
    done.heard = m_heard;
    done.seconds = seconds;
    if (keep && m_error.isEmpty() && (m_open || openFile())) {
        m_open = false;
        if (!m_writer->close()) {
            m_error = QStringLiteral("Cannot complete %1: %2").arg(QFileInfo(m_part).fileName().chopped(5), m_writer->errorString());
            QFile::remove(m_part);
        } else {
            const QDir root(m_options.folder);
            const QString name = files::freeName(root.filePath(files::relativeName(m_heard, platform::AudioFileWriter::extension(m_options.format))));
            if (QFile::rename(m_part, name)) {
                done.file = root.relativeFilePath(name);
                done.length = double(m_written) / m_options.sampleRate;
                done.removed = files::prune(m_options.folder, m_options.limitBytes, m_options.limitDays, m_heard.at.date(), done.file);
            } else {
                m_error = QStringLiteral("Cannot name %1").arg(name);
                QFile::remove(m_part);
            }
        }
    } else if (m_open) {
        m_open = false;
        m_writer->close();
        QFile::remove(m_part);
    }
    m_pending.clear();
    done.error = m_error;
    if (m_finished)
        m_finished(done);
}

} // namespace vexlor::recording
