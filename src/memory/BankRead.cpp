#include "memory/BankRead.h"

#include "link/Commands.h"
#include "link/ExchangeGuard.h"
#include "link/ScannerLink.h"
#include "memory/ChannelReplies.h"
#include "memory/MemoryTables.h"
#include "platform/SerialPort.h"

#include <algorithm>

namespace vexlor::memory {

BankRead::BankRead(link::ScannerLink& link, platform::SerialPort& port, ChannelTable& channels, QObject* parent)
    : QObject(parent), m_link(link), m_port(port), m_channels(channels)
{
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &BankRead::ChTimer_Timer);
    // Shut-down closes the port next: the receiver gets its status output back first.
    connect(&m_link, &link::ScannerLink::shuttingDown, this, &BankRead::stop);
}

BankRead::~BankRead() { stop(); }

bool BankRead::start(int bank)
{
    if (isRunning() || bank < 1 || bank > MemoryTables::kBanks)
        return false;
    auto guard = std::make_unique<link::ExchangeGuard>(m_link, kOwner, link::ExchangeGuard::Quiet::No);
    if (!guard->held())
        return false;
    m_guard = std::move(guard);
    m_buffer.clear();
    m_bank = bank;
    m_progress = 0;
    m_answered = 0;
    m_quietTicks = 0;
    m_lastChannel = MemoryTables::kChannelsPerBank * bank;
    m_nextChannel = m_lastChannel - (MemoryTables::kChannelsPerBank - 1);
    m_link.Write(link::cmd::kQUF);
    m_link.pausePoll();
    m_timer.start();
    return true;
}

void BankRead::collect()
{
    if (!m_port.isOpen() || m_port.bytesAvailable() <= 0)
        return;
    const QByteArray bytes = m_port.readAll();
    const qsizetype room = kMaxCollected - m_buffer.size();
    if (room > 0)
        m_buffer += QString::fromLatin1(bytes.left(room));
}

qint64 BankRead::silenceMs() const { return std::max(kMinSilenceMs, 3 * m_link.lineMs(kWindow * kReplyBytes)); }

void BankRead::ChTimer_Timer()
{
    if (!isRunning())
        return;
    collect();
    if (!m_link.lineUp()) {
        finish(true); // nothing more can come; what did is kept
        return;
    }
    const int now = answered();
    m_quietTicks = now > m_answered ? 0 : m_quietTicks + 1;
    m_answered = now;
    const int progress = 100 * m_answered / MemoryTables::kChannelsPerBank;
    if (progress != m_progress) {
        m_progress = progress;
        Q_EMIT progressed(m_progress);
        if (!isRunning())
            return;
    }
    const int first = m_lastChannel - (MemoryTables::kChannelsPerBank - 1);
    if (m_answered == MemoryTables::kChannelsPerBank || qint64(m_quietTicks) * kTickMs >= silenceMs()) {
        finish(true);
        return;
    }
    // Asked and not answered: a lost query holds one place in the window until the end.
    const int asked = m_nextChannel - first;
    for (int n = asked - m_answered; n < kWindow && m_nextChannel <= m_lastChannel && isRunning(); ++n)
        m_link.Write(link::cmd::pmRead(m_nextChannel++)); // a write may end the program, and this read
}

int BankRead::answered() const
{
    const int first = m_lastChannel - (MemoryTables::kChannelsPerBank - 1);
    QList<bool> seen(MemoryTables::kChannelsPerBank, false);
    int count = 0;
    int index = 0;
    // Only complete lines count, and only those the decoding will read.
    const QStringView complete = QStringView(m_buffer).left(m_buffer.lastIndexOf(QLatin1Char('\r')) + 1);
    for (const QStringView line : complete.tokenize(QLatin1Char('\r'))) {
        if (index++ >= channels::kDecodedLines)
            break;
        const auto c = channels::parseLine(line);
        if (c && c->channel >= first && c->channel <= m_lastChannel && !seen[c->channel - first]) {
            seen[c->channel - first] = true;
            ++count;
        }
    }
    return count;
}

void BankRead::stop() { finish(false); }

void BankRead::finish(bool decode)
{
    if (!isRunning())
        return;
    m_timer.stop();
    m_link.putBack(link::cmd::kQUN, false);
    m_link.resumePoll();
    m_guard.reset();
    const int first = m_lastChannel - (MemoryTables::kChannelsPerBank - 1);
    const int decoded = decode ? channels::decodeReplies(m_buffer, m_channels, first, m_lastChannel) : -1;
    Q_EMIT finished(decoded);
}

} // namespace vexlor::memory

#include "moc_BankRead.cpp"
