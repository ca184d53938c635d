#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace vexlor::platform {
class SerialPort;
}
namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::monitor {

class MainDisplay;
class StatusDecoder;

// The remote link's part of the tick; the remote subsystem implements it.
class PollRemote {
public:
    virtual ~PollRemote() = default;
    virtual void forwardTick() = 0;  // every eighth connected tick: status to the client
    virtual void statusUpkeep() = 0; // the socket status readout and auto listen
};

// The 50 ms tick that asks the receiver for its status and decodes what comes back.
class PollCycle : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 50;
    static constexpr int kOfflineTicks = 15;
    // Longest unterminated input kept for the next tick.
    static constexpr int kMaxPendingInput = 1024;
    // Output still queued above which a tick asks nothing: a receiver that
    // stops reading must not find a backlog of stale requests. A few ticks' worth.
    static constexpr qint64 kMaxPendingOutput = 64;
    // One round on the line: the six requests out (18 bytes) and their
    // replies back (about 72).
    static constexpr qint64 kRoundBytes = 90;
    // Round line-times a round whose replies went missing holds up the next.
    static constexpr int kRoundWaits = 3;

    PollCycle(platform::SerialPort& port, link::ScannerLink& link, StatusDecoder& decoder,
              MainDisplay& display, QObject* parent = nullptr);

    // MainTimer: started at the end of start-up, stopped while the receiver is quieted.
    QTimer& MainTimer() { return m_timer; }
    void setRemote(PollRemote* remote) { m_remote = remote; }

    // StatusChk: while checked the tick sends the status requests.
    bool StatusChk = true;

    void tick();

    int EmptyTickCount() const { return m_emptyTicks; }
    // A round's replies are still on their way.
    bool roundOpen() const { return m_openRounds > 0; }
    // Rounds that may be on the line at once: two where the line carries a
    // round within a tick, so such a line is still asked every tick.
    int roundsInFlight() const;
    // Longest silence after a round before the next round goes anyway.
    qint64 roundWaitMs() const;
    const QString& PendingInput() const { return m_pending; }

Q_SIGNALS:
    // The raw pieces of the last batch, for the console's Rx box.
    void rawLinesShown(const QString& text);

private:
    void requestStatus();
    void detectSilence();
    void gatherLines();

    platform::SerialPort& m_port;
    link::ScannerLink& m_link;
    StatusDecoder& m_decoder;
    MainDisplay& m_display;
    PollRemote* m_remote = nullptr;
    QTimer m_timer;
    int m_emptyTicks = 0;
    int m_openRounds = 0;
    bool m_askedThisTick = false;
    bool m_roundClosedThisTick = false;
    qint64 m_roundSentMs = 0;
    qint64 m_lastInputMs = 0;
    quint64 m_decodedBatch = 0;
    QString m_pending;
};

} // namespace vexlor::monitor
