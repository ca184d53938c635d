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
// rate both directions are paced and the receiver behaves as on a real
// line: bytes arrive one byte time apart, it carries out one command at a
// time and is busy until the last byte of its reply has left, and what
// arrives meanwhile waits in a small input buffer; bytes that find it full
// are lost, as on a UART. No reply byte reaches the reader before the line
// could have carried it.
class PtyEndpoint : public QObject {
    Q_OBJECT
public:
    // More than this many bytes waiting to go out and commands are no longer
    // read: they wait in the tty, as behind flow control.
    static constexpr qsizetype kMaxBacklog = 4096;
    // Likewise with this many bytes still on their way in on a paced line:
    // the rest waits in the sender's tty, as in a real port's output buffer.
    static constexpr std::size_t kMaxArriving = 4096;
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
    // Bytes that arrived while the receiver's input buffer was full.
    qint64 lostBytes() const { return m_lostBytes; }

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
    // A run of this many bytes arrived to a full input buffer and was lost.
    void inputLost(qint64 bytes);

private:
    struct Chunk {
        double dueMs;
        QByteArray bytes;
        bool endsReply = false; // the receiver is free once this has crossed the line
    };
    struct Arrival {
        double dueMs;
        char byte;
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
    void serveInput();
    // Bytes that have arrived by upToMs enter the receiver, in order of time.
    void takeArrivals(double upToMs);
    bool hear(char byte, double atMs);
    void takeBuffered(double atMs);
    void endLossRun();
    double freeAtMs() const;
    double nextInputWake() const;
    void resetInput();
    // atMs: when the command's last byte arrived.
    void process(const LineAssembler::Command& command, double atMs);
    bool queueLine(const QByteArray& line, double dueMs, bool endsReply = false);
    // Chunks due by t go to the output, at line speed.
    void moveDue(double t);
    void pump();
    void writeOut();
    void scheduleDrop();
    bool silentNow() const;
    double draw();
    qint64 now() const { return m_clock.elapsed(); }
    double preciseNow() const { return double(m_clock.nsecsElapsed()) / 1e6; }
    bool paced() const { return m_faults.baud > 0; }
    double msPerByte() const { return paced() ? 10000.0 / m_faults.baud : 0.0; }

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
    // Bytes read but still crossing the line, and when the last of them arrives.
    std::deque<Arrival> m_arriving;
    double m_inDoneMs = 0;
    // What arrived while the receiver was busy.
    QByteArray m_rxBuffer;
    // A reply is queued and not yet on the line; then it is busy until m_busyUntilMs.
    bool m_answering = false;
    double m_busyUntilMs = 0;
    qint64 m_lostBytes = 0;
    qint64 m_lossRun = 0;

    QTimer m_activityTimer;
    QTimer m_peerTimer;
    QTimer m_pumpTimer;
    QTimer m_inputTimer;
    QTimer m_dropTimer;
};

} // namespace vexlor::simulator
