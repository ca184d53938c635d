#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace vexlor::platform {

// A record of every byte on the serial line, for reporting a receiver that
// misbehaves. One line per chunk: milliseconds since the trace began (on a
// clock that never jumps), the direction, and the bytes with CR, LF, the
// backslash and anything unprintable escaped. Lines are buffered and written
// at least once a second, never blocking: a pipe whose reader lags gets
// what fits, and past kMaxBuffered the newest lines are dropped and counted,
// so the poll never waits on the trace.
class SerialTrace : public QObject {
    Q_OBJECT
public:
    enum class Direction { Out, In, Event };

    // Past this much buffered text the buffer is written at once.
    static constexpr qsizetype kFlushAt = 64 * 1024;
    // Never more than this waits for a slow reader.
    static constexpr qsizetype kMaxBuffered = 1024 * 1024;

    explicit SerialTrace(const QString& path, QObject* parent = nullptr);
    ~SerialTrace() override;

    // Truncates the file; false with errorString() when it cannot be written.
    bool open();
    QString errorString() const { return m_error; }
    // Stopped after a failed write: nothing more is kept.
    bool failed() const { return m_failed; }
    // Bytes of trace lines lost because the reader lagged.
    qint64 dropped() const { return m_dropped; }

    void record(Direction direction, const QByteArray& bytes);
    void mark(const QString& what) { record(Direction::Event, what.toUtf8()); }
    void flush();

    static QByteArray formatLine(qint64 ms, Direction direction, const QByteArray& bytes);

Q_SIGNALS:
    // Once, when a write fails; the trace then stops.
    void writeFailed(const QString& reason);

private:
    void stopWith(int error);

    QString m_path;
    int m_fd = -1;
    QString m_error;
    QElapsedTimer m_clock;
    QByteArray m_buffer;
    QTimer m_flushTimer;
    bool m_failed = false;
    qint64 m_dropped = 0;
    qint64 m_droppedTold = 0;
};

} // namespace vexlor::platform
