#pragma once

#include "simulator/FaultOptions.h"
#include "simulator/LineAssembler.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <deque>
#include <random>

class QSocketNotifier;

namespace vexlor::platform {
class SerialTrace;
}

namespace vexlor::simulator {

class ReceiverModel;

// Serves a ReceiverModel on the master side of a pseudo-terminal, on the Qt
// event loop. The master is raw and non-blocking. While nobody has the slave
// open nothing is written, so no output piles up for the next one to open
// it. A line drop closes the pty and comes back on a new one: the slave's
// name changes, and the link (when set) is re-pointed to it. With a baud
// rate both directions are paced: a command is carried out once its last
// byte has arrived, and no reply byte reaches the reader before the line
// could have carried it.
class PtyEndpoint : public QObject {
    Q_OBJECT
public:
    // More than this many bytes waiting to go out and commands are no longer
    // read: they wait in the tty, as behind flow control.
    static constexpr qsizetype kMaxBacklog = 4096;
    // Likewise with this many commands still on their way in on a paced line.
    static constexpr std::size_t kMaxInbox = 64;
    static constexpr int kActivityTickMs = 50;

    PtyEndpoint(ReceiverModel& model, const FaultOptions& faults, quint32 seed, QObject* parent = nullptr);
    ~PtyEndpoint() override;

    // Takes effect from the next command and line; a drop schedule starts afresh.
    void setFaults(const FaultOptions& faults);
    const FaultOptions& faults() const { return m_faults; }

    // A symlink kept pointing at the slave; removed while the line is down
    // and on close. Set it before open().
    void setLinkPath(const QString& path) { m_linkPath = path; }
    // Every byte read and written goes to the trace; it must outlive the endpoint.
    void setTrace(platform::SerialTrace* trace) { m_trace = trace; }
    QString linkPath() const { return m_linkPath; }

    bool open();
    void close();
    bool isOpen() const { return m_master >= 0; }
    bool lineDown() const { return m_down; }
    QString slaveName() const { return m_slave; }
    QString errorString() const { return m_error; }
    bool peerConnected() const { return m_peer; }
    qsizetype pendingBytes() const;

    // Hangs up now, as a pulled adapter does; replies not yet written are
    // lost. With periodic drops set it comes back after dropForMs by itself,
    // otherwise it stays down until restoreLine().
    void dropLine();
    void restoreLine();

Q_SIGNALS:
    void slaveChanged(const QString& slaveName);
    void lineDropped();
    void lineRestored();
    void peerChanged(bool connected);
    // A command was answered (or refused); its reply is queued after this.
    void commandCarriedOut(const QByteArray& command);

private:
    struct Chunk {
        double dueMs;
        QByteArray bytes;
    };
    struct Arrival {
        double dueMs;
        LineAssembler::Command command;
    };

    bool openPty();
    void closePty();
    bool pointLink();
    void removeLink();
    void checkPeer();
    void peerLost();
    void takeLastWords();
    void flushSlaveInput();
    void onReadable();
    void onWritable();
    void onActivityTick();
    void receive(const QByteArray& bytes);
    void serveInbox();
    // atMs: when the command's last byte arrived.
    void process(const LineAssembler::Command& command, double atMs);
    void queueLine(const QByteArray& line, double dueMs);
    void pump();
    void writeOut();
    void scheduleDrop();
    bool silentNow() const;
    double draw();
    qint64 now() const { return m_clock.elapsed(); }
    double preciseNow() const { return double(m_clock.nsecsElapsed()) / 1e6; }
    double msPerByte() const { return m_faults.baud > 0 ? 10000.0 / m_faults.baud : 0.0; }

    ReceiverModel& m_model;
    FaultOptions m_faults;
    std::mt19937 m_rng;
    LineAssembler m_assembler;

    int m_master = -1;
    QString m_slave;
    QString m_linkPath;
    QString m_error;
    platform::SerialTrace* m_trace = nullptr;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    bool m_peer = false;
    bool m_down = false;

    QElapsedTimer m_clock;
    qint64 m_lastTick = 0;
    std::deque<Chunk> m_schedule;
    QByteArray m_out;
    // When everything written and waiting in m_out has crossed the paced line.
    double m_outDoneMs = 0;
    // Commands read but not yet fully arrived, and when the last byte read arrives.
    std::deque<Arrival> m_inbox;
    double m_inDoneMs = 0;

    QTimer m_activityTimer;
    QTimer m_peerTimer;
    QTimer m_pumpTimer;
    QTimer m_inboxTimer;
    QTimer m_dropTimer;
};

} // namespace vexlor::simulator
