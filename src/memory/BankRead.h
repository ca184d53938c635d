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

// Reads one frequency bank: "QUF", then the "PM" queries, a few on the line
// at a time so the receiver's small input buffer never overflows, then
// "QUN" once every channel has answered or the receiver has been quiet for
// a while that follows the line's speed; the collected "C" lines of the
// bank's own channels are decoded into the table. The poll is stopped
// meanwhile and restarted at the end, however the read ends.
class BankRead : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 175;
    // Queries on the line at once: 30 bytes, half the receiver's input buffer.
    static constexpr int kWindow = 5;
    // One "C" reply line with its CR.
    static constexpr qint64 kReplyBytes = 36;
    // No new channel for this long, or three window's line times if longer,
    // and the rest are not coming.
    static constexpr qint64 kMinSilenceMs = 700;
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
    // The wait for a reply before the read ends without it.
    qint64 silenceMs() const;

Q_SIGNALS:
    void progressed(int percent);
    // The read is over: decoded is the number of the bank's channels filled
    // (fewer than 30 when some never answered), or -1 when it was stopped.
    void finished(int decoded);

private:
    void finish(bool decode);
    void collect();
    int answered() const;

    link::ScannerLink& m_link;
    platform::SerialPort& m_port;
    ChannelTable& m_channels;
    QTimer m_timer;
    std::unique_ptr<link::ExchangeGuard> m_guard;
    int m_bank = 0;
    int m_lastChannel = 0;
    int m_nextChannel = 0;
    int m_progress = 0;
    int m_answered = 0;
    int m_quietTicks = 0;
    QString m_buffer;
};

} // namespace vexlor::memory
