#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <deque>

namespace vexlor::platform {
class SerialPort;
}
namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::memory {

class IDListRead;
class MemoryTables;

// Reads the receiver's memories for a backup: all 300 channels, then the ID
// lists of every bank that the local tables call trunked. Names, type codes
// and bank types come from the local tables, which are never changed. The
// channel queries are pipelined a few deep, so the line is kept busy in both
// directions; a query that gets no answer, "NG" or "ERR" is asked again,
// but one refused for longer than the serial time-out ends the backup.
class ReceiverBackup : public QObject {
    Q_OBJECT
public:
    static inline const QString kOwner = QStringLiteral("receiver backup");
    // Queries on the line at once: the receiver queues a handful.
    static constexpr int kWindow = 4;
    static constexpr int kAttempts = 3;

    enum class Outcome {
        Refused,  // another exchange held the line: nothing sent
        Complete,
        Partial,  // all but the ID lists of unreadBanks(), which the copy leaves out
        Failed,   // failure() says why
        Stopped,  // stop(), the program ending
    };

    ReceiverBackup(link::ScannerLink& link, platform::SerialPort& port, QObject* parent = nullptr);

    // Fills `out` with the local tables overlaid with what the receiver holds.
    Outcome run(const MemoryTables& local, MemoryTables& out);
    void stop();
    bool isRunning() const { return m_running; }
    QString failure() const { return m_failure; }
    // Trunked banks whose ID lists the receiver would not give, in order.
    const QList<int>& unreadBanks() const { return m_unreadBanks; }
    // "bank 3", "banks 3 and 7", for the messages.
    static QString bankList(const QList<int>& banks);

    // Queries that make up the backup of these tables: 300 channels and ten lists a trunked bank.
    static int steps(const MemoryTables& local);

Q_SIGNALS:
    void statusChanged(const QString& text);
    void progressed(int done, int total);

private:
    bool going() const;
    // The serial time-out, at least a second.
    qint64 serialTimeoutMs() const;
    bool fail(const QString& why);
    void step();
    bool readChannels(MemoryTables& out);
    bool readIDs(const MemoryTables& local, MemoryTables& out);
    void notRead(int bank, int fromList, MemoryTables& out);
    // Sleeps a moment, or less when deadlineMs on the link's clock comes first.
    void waitForData(qint64 deadlineMs);
    // Reads what came and takes the complete lines; returns the bytes read.
    qsizetype takeLines(std::deque<int>& asked, std::deque<int>& toAsk, MemoryTables& out);
    bool again(int channel, std::deque<int>& toAsk);

    link::ScannerLink& m_link;
    platform::SerialPort& m_port;
    IDListRead* m_reader = nullptr; // the list read in flight
    QByteArray m_pending;
    int m_attempts[301] = {};
    // When the channel's query was first refused since it was last asked fresh; -1: not refused.
    qint64 m_refusedSince[301] = {};
    int m_done = 0;
    int m_total = 0;
    bool m_running = false;
    bool m_stopRequested = false;
    QString m_failure;
    QList<int> m_unreadBanks;
};

} // namespace vexlor::memory
