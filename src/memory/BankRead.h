#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace vexlor::platform {
class SerialPort;
}
namespace vexlor::link {
class ScannerLink;
class ExchangeGuard;
}

namespace vexlor::memory {

class ChannelTable;

// Reads one frequency bank: "QUF", then five "PM" queries a tick of
// ChTimer, "QUN" on the seventh tick and the collected "C" lines decoded
// into the table. The poll is stopped meanwhile and restarted at the end,
// however the read ends.
class BankRead : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 175;
    static constexpr int kPerTick = 5;
    // At 9600 baud five replies take a little longer than a tick, so the
    // last ones are still on the line at the seventh: up to this many more
    // ticks wait for them.
    static constexpr int kGraceTicks = 4;
    // Far more than 150 reply lines; a flood is cut here.
    static constexpr qsizetype kMaxCollected = 64 * 1024;
    static inline const QString kOwner = QStringLiteral("bank read");

    BankRead(link::ScannerLink& link, platform::SerialPort& port, ChannelTable& channels, QObject* parent = nullptr);
    ~BankRead() override;

    // False (nothing sent) when another exchange holds the line or the bank
    // is not 1..10.
    bool start(int bank);
    bool isRunning() const { return m_guard != nullptr; }
    // Ends a running read at once: "QUN", ChTimer off, the poll on. Nothing is decoded.
    void stop();

    void ChTimer_Timer();
    QTimer& ChTimer() { return m_timer; }

    int bank() const { return m_bank; }
    int LastChannel() const { return m_lastChannel; }
    int NextChannel() const { return m_nextChannel; }
    int ReadProgress() const { return m_progress; }
    const QString& ReplyBuffer() const { return m_buffer; }

Q_SIGNALS:
    void progressed(int percent);
    // The read is over: decoded is the number of channels filled, or -1
    // when it was stopped.
    void finished(int decoded);

private:
    void finish(bool decode);
    void collect();
    bool allReplied() const;

    link::ScannerLink& m_link;
    platform::SerialPort& m_port;
    ChannelTable& m_channels;
    QTimer m_timer;
    std::unique_ptr<link::ExchangeGuard> m_guard;
    int m_bank = 0;
    int m_lastChannel = 0;
    int m_nextChannel = 0;
    int m_progress = 0;
    int m_graceTicks = 0;
    QString m_buffer;
};

} // namespace vexlor::memory
