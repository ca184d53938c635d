#include "memory/ImportUpload.h"

#include "link/Commands.h"
#include "link/ExchangeGuard.h"
#include "link/Replies.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/ChannelReplies.h"
#include "memory/MemoryTables.h"
#include "memory/TaggedText.h"

namespace vexlor::memory {

namespace {

using MT = MemoryTables;
namespace cmd = link::cmd;
namespace wire = link::wire;

const QString kMark = QStringLiteral("X");

bool isSet(const Cell& flag) { return flag.display() == QLatin1String("="); }

// "TG" for a slot, from its label as a five-character field; empty when the
// label names no list and position 1..10 or the ID is no number (the mark
// goes, nothing is sent).
QString talkgroupCommand(const MemoryTables& t, int bank, int slot)
{
    const QString label = t.IDs.text(bank, slot, MT::kIdCh).left(5).leftJustified(5);
    const qsizetype dash = label.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return QString();
    const int list = wire::leadingInt(QStringView(label).left(dash));
    const int position = wire::leadingInt(QStringView(label).mid(dash + 1));
    if (list < 1 || list > MT::kLists || position < 1 || position > MT::kSlotsPerList)
        return QString();
    // The receiver takes six digits, padded as the tables hold IDs. A cleared
    // slot ("------" as cleared here, "======" as a list read shows it) clears
    // it on the receiver; any other text is no talkgroup and is not sent,
    // least of all as zeros.
    const QString id = MT::trimBlanks(t.IDs.text(bank, slot, MT::kIdId));
    const bool cleared = MT::isClearedId(id);
    if (cleared)
        return cmd::storeTalkgroup(bank, list, position, QStringLiteral("000000"));
    if (!MT::isDigits(id) || id.size() > 6)
        return QString();
    return cmd::storeTalkgroup(bank, list, position, id.rightJustified(6, QLatin1Char('0')));
}

} // namespace

ImportUpload::ImportUpload(link::ScannerLink& link, MemoryTables& tables, QObject* parent)
    : QObject(parent), m_link(link), m_tables(tables)
{
    connect(&m_link, &link::ScannerLink::shuttingDown, this, &ImportUpload::abandon);
}

void ImportUpload::abandon()
{
    // The receiver leaves programming before its release goes out.
    if (m_running && m_link.QuietedScanner())
        m_link.putBack(cmd::key(0), false);
}

bool ImportUpload::linkAlive() const { return !m_link.isShuttingDown() && m_link.lineUp(); }

bool ImportUpload::going() const { return !m_stopRequested && linkAlive() && !m_link.receiverSilent(); }

bool ImportUpload::item(const QStringList& commands, qsizetype data)
{
    m_itemRefused = false;
    for (qsizetype i = 0; i < commands.size(); ++i) {
        if (!linkAlive())
            return false;
        const QString answer = m_link.SyncSerialOut(commands[i]);
        // No answer on a live line: the receiver is off or deaf, and every
        // further command would only wait out its time-out too.
        if (m_link.receiverSilent()) {
            ++m_result.unanswered;
            return false;
        }
        // Only "OK" says the receiver took it; "NG", "ERR" or noise do not.
        if (i == data)
            m_itemRefused = !link::reply::isOk(answer);
        // The keys after a refused channel would change the one the receiver still holds.
        if (i == data && m_itemRefused)
            break;
    }
    return linkAlive();
}

bool ImportUpload::quietIfNeeded(bool memoryFirst)
{
    if (m_link.QuietedScanner())
        return linkAlive();
    if (memoryFirst && !item({cmd::memoryChannel(1)}))
        return false;
    m_guard->quiet();
    if (m_link.receiverSilent())
        ++m_result.unanswered;
    return going();
}

void ImportUpload::done()
{
    ++m_result.sent;
    m_result.refused += m_itemRefused ? 1 : 0;
    m_itemRefused = false;
    Q_EMIT progressed(m_result.sent, m_result.total);
}

void ImportUpload::skip()
{
    ++m_result.skipped;
    Q_EMIT progressed(m_result.sent + m_result.skipped, m_result.total);
}

void ImportUpload::passTrunkTypes()
{
    for (int b = 1; b <= MT::kBanks && going(); ++b) {
        if (!m_tables.BankImported.at(b))
            continue;
        const auto digit = MT::trunkTypeIndex(m_tables.bankTrunkType(b));
        if (!digit) {
            // Sent as another type it would reprogram the bank wrongly.
            m_tables.BankImported.set(b, false);
            skip();
            continue;
        }
        if (!quietIfNeeded(true))
            return;
        if (!item({cmd::trunkType(b, *digit)}, 0))
            return;
        m_tables.BankImported.set(b, false);
        done();
    }
}

void ImportUpload::passChannels(bool trunk)
{
    const QLatin1String mode = trunk ? QLatin1String("Trunk") : QLatin1String("Normal");
    const ChannelTable& ch = m_tables.Channels;
    int currentBank = 0;
    bool any = false;
    for (int n = 1; n <= MT::kChannels && going(); ++n) {
        if (ch.text(n, MT::kChMap) != kMark || ch.text(n, MT::kChMode) != mode)
            continue;
        if (trunk && !MT::trunkTypeIndex(m_tables.bankTrunkType(MT::bankOfChannel(n)))) {
            m_tables.Channels.set(n, MT::kChMap, QString());
            skip();
            continue;
        }
        if (!quietIfNeeded(trunk))
            return;
        const int number = int(ch.at(n, MT::kChCh).number());
        QStringList commands;
        if (trunk && MT::bankOfChannel(n) != currentBank) {
            // Into trunk programming of the channel's bank.
            currentBank = MT::bankOfChannel(n);
            commands << cmd::memoryChannel(number) << cmd::keyHeld(13) << cmd::keyDigit(currentBank % 10)
                     << cmd::key(4);
        }
        if (!trunk && !any)
            commands << cmd::memoryChannel(1);
        any = true;
        const qsizetype data = commands.size();
        commands << cmd::pmRead(number) + QLatin1Char(' ') + channels::uploadDigits(ch.text(n, MT::kChFrequency));
        if (isSet(ch.at(n, MT::kChLO)))
            commands << (trunk ? cmd::key(6) : cmd::lockout(true));
        if (isSet(ch.at(n, MT::kChDLY)))
            commands << cmd::key(12);
        commands << cmd::key(7);
        if (!item(commands, data))
            return;
        m_tables.Channels.set(n, MT::kChMap, QString());
        done();
    }
    if (going() && (trunk || any) && m_link.QuietedScanner())
        item({cmd::key(13)});
}

void ImportUpload::passIDs()
{
    bool any = false;
    for (int b = 1; b <= MT::kBanks; ++b) {
        for (int s = 1; s <= MT::kSlots; ++s) {
            if (!going())
                return;
            if (m_tables.IDs.text(b, s, MT::kIdReserved) != kMark)
                continue;
            const QString tg = talkgroupCommand(m_tables, b, s);
            if (tg.isEmpty() && !MT::trimBlanks(m_tables.IDs.text(b, s, MT::kIdId)).isEmpty()) {
                m_tables.IDs.set(b, s, MT::kIdReserved, QString());
                skip();
                continue;
            }
            if (!quietIfNeeded(false))
                return;
            QStringList commands;
            if (!any)
                commands << cmd::memoryChannel(1);
            any = true;
            const qsizetype data = tg.isEmpty() ? -1 : commands.size();
            if (!tg.isEmpty())
                commands << tg;
            if (!item(commands, data))
                return;
            m_tables.IDs.set(b, s, MT::kIdReserved, QString());
            done();
        }
    }
    if (going() && any && m_link.QuietedScanner())
        item({cmd::key(13)});
}

ImportUpload::Result ImportUpload::run()
{
    if (m_running)
        return {};
    link::ExchangeGuard guard(m_link, kOwner, link::ExchangeGuard::Quiet::No);
    if (!guard.held())
        return {};
    m_guard = &guard;
    m_running = true;
    m_stopRequested = false;
    m_result = {};
    m_result.started = true;
    m_result.total = tagged::markCount(m_tables);

    passTrunkTypes();
    if (going())
        passChannels(true);
    if (going())
        passChannels(false);
    if (going())
        passIDs();

    m_result.stopped = m_result.sent + m_result.skipped < m_result.total;
    if (!m_link.isShuttingDown() && m_link.QuietedScanner())
        m_link.putBack(cmd::key(0));
    guard.release();
    m_guard = nullptr;
    m_running = false;
    m_stopRequested = false;
    return m_result;
}

} // namespace vexlor::memory

#include "moc_ImportUpload.cpp"
