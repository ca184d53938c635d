#pragma once

#include "platform/SerialPort.h"

#include <QLatin1String>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QTimer;

namespace vexlor::platform {
class Clock;
}

namespace vexlor::link {

// The one owner of the conversation with the receiver: straight writes, the
// waiting transaction, quieting around long exchanges and the line-state
// reactions. Waits run a nested event loop, so ticks and clicks go on.
class ScannerLink : public QObject {
    Q_OBJECT
public:
    // Shown in ModeLbl whenever the receiver cannot be reached.
    static constexpr QLatin1String kOfflineText {"Scanner Offline..."};
    // Longest reply kept while a transaction waits for its CR; no receiver
    // line comes near it, so more is noise, as in the poll's pending input.
    static constexpr int kMaxReplyInput = platform::SerialPort::kInBufferSize;
    // Line time that may wait to go out. Anything older is stale by the time
    // the receiver reads it.
    static constexpr int kOutputSeconds = 3;
    // Poll replies an exchange may find on their way (two rounds), and the
    // stillness that tells they are all in.
    static constexpr qint64 kSettleBytes = 180;
    static constexpr qint64 kSettleStillBytes = 12;
    // Room for a lock-out read's 50 queries even on the slowest line.
    static constexpr qint64 kMinOutputBytes = 512;

    ScannerLink(platform::SerialPort& port, platform::Clock& clock, QObject* parent = nullptr);
    ~ScannerLink() override;

    // Writes the command and a CR; no wait, nothing written on a closed port.
    // Dropped and counted when it would take the output queue past outputLimit().
    void Write(const QString& command);
    // Bytes the output queue may hold: kOutputSeconds at the port's speed.
    qint64 outputLimit() const;
    // Milliseconds the line takes to carry this many bytes one way, at the port's settings.
    qint64 lineMs(qint64 bytes) const;
    quint64 droppedWrites() const { return m_droppedWrites; }

    // Sends the command and waits for its reply line. Returns the last
    // complete line, the empty text for a reply of CRs only, or
    // reply::kTimeout when the receiver is offline or too slow.
    QString SyncSerialOut(const QString& command);

    // true: stop the poll and quiet the receiver; false: undo both.
    void QuietScanner(bool QuietState);

    // Sends a command that puts the receiver back after a long exchange (a
    // release, leaving programming), as a transaction or, with wait false,
    // as a straight write. When the line is down it is kept and written
    // once the line returns: a drop mid-exchange must not leave the
    // receiver quieted or programming.
    QString putBack(const QString& command, bool wait = true);

    // The poll around a long exchange that does not quiet the receiver.
    // Resuming does nothing once the program is shutting down.
    void pausePoll();
    void resumePoll();
    // For an exchange: stops a running poll and waits until the replies of
    // its last round are in, and drops them, so none is taken for an answer
    // of the exchange. True when it stopped the poll: resuming is the caller's.
    bool holdPoll();

    // One long exchange owns the line at a time. False when another one
    // holds it, when the receiver is quieted by someone else, or during
    // shut-down. The owner's name goes into the refusal the caller shows.
    bool claim(const QString& owner);
    void unclaim(const QString& owner);
    bool isBusy() const { return !m_owner.isEmpty() || m_quieted; }
    QString owner() const { return m_owner; }

    // The program is ending. Long exchanges put the receiver back first
    // (shuttingDown), a quieted receiver is released with straight writes,
    // then every wait ends at once and no transaction is started again.
    // Straight writes still go out until the port is closed.
    void shutDown();
    bool isShuttingDown() const { return m_closing; }
    // The port is open with DSR up and the program is not ending: a
    // transaction can reach the receiver. A long exchange stops once this
    // goes false rather than sending into a dead line.
    bool lineUp() const { return portUsable() && m_port.dsr(); }

    // The last transaction got no reply although the line was up: the
    // receiver is off or deaf. Cleared by the next reply.
    bool receiverSilent() const { return m_silent; }

    // Commands a dropped line kept from the receiver (see putBack).
    const QStringList& owedCommands() const { return m_owed; }
    // At the end of a run: waits up to waitMs for a dropped line to return
    // (giveUp() may cut it short) and writes what is owed. True when
    // nothing is owed any more.
    bool sendOwed(int waitMs, const std::function<bool()>& giveUp = {});

    // Line-state reaction, connected to the port's lineStateChanged.
    void OnComm(platform::SerialPort::LineEvent event);

    platform::Clock& clock() const { return m_clock; }
    void setPollTimer(QTimer* timer);
    QTimer* pollTimer() const;

    // Seconds; applies once to the start of a reply and once to its end.
    double SerialPortTimeout() const { return m_timeoutSeconds; }
    void setSerialPortTimeout(double seconds);

    bool QuietedScanner() const { return m_quieted; }
    void setQuietedScanner(bool quieted) { m_quieted = quieted; }

    const QStringList& ReplyLines() const { return m_replyLines; }
    void setReplyLines(const QStringList& lines);
    // Counts the batches put into ReplyLines, by the poll or a transaction,
    // so each is decoded once.
    quint64 ReplyBatch() const { return m_replyBatch; }

    bool ScannerOffline() const { return m_offline; }
    void setScannerOffline(bool offline) { m_offline = offline; }

Q_SIGNALS:
    // The window puts kOfflineText into ModeLbl.
    void offlineShown();
    // The raw pieces of the last batch for the console box temp.
    void rawLinesShown(const QString& text);
    // Emitted once by shutDown(), while straight writes still work.
    void shuttingDown();
    // Wakes every nested wait.
    void abortWaits();
    // A straight write found the output queue full; total since start.
    void writesDropped(quint64 total);
    // The poll runs again after an exchange, which took what was on the line.
    void pollResumed();

private:
    bool portUsable() const;
    qint64 timeoutMs() const;
    bool timedOut(qint64 startMs) const;
    // Sleeps until data, a line change, a clock jump or the deadline of startMs.
    void waitForWake(qint64 startMs);
    QString fail();
    // Unbounded: a transaction waits for its reply and so cannot flood.
    void send(const QString& command);
    // Keeps the newest whole lines that fit in kMaxReplyInput.
    static void boundReply(QByteArray& received);
    void owe(const QString& command);
    void writeOwed();

    platform::SerialPort& m_port;
    platform::Clock& m_clock;
    // A nested handler may destroy what we wait on.
    QPointer<platform::SerialPort> m_portAlive;
    QPointer<platform::Clock> m_clockAlive;
    QPointer<QTimer> m_pollTimer;
    QString m_owner;
    bool m_closing = false;
    QStringList m_replyLines;
    quint64 m_replyBatch = 0;
    double m_timeoutSeconds = 3;
    bool m_quieted = false;
    bool m_quieting = false; // quiet commands on their way: a release is due
    bool m_silent = false;
    bool m_offline = false;
    quint64 m_droppedWrites = 0;
    QStringList m_owed;
};

} // namespace vexlor::link
