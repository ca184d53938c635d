#include "memory/ChannelReplies.h"

#include "link/FrequencyPlan.h"
#include "link/Wire.h"
#include "memory/ChannelTable.h"
#include "memory/MemoryTables.h"

#include <cmath>

namespace vexlor::memory::channels {

namespace {

namespace wire = link::wire;
using MT = MemoryTables;

bool digitsOnly(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

bool nf(QChar c) { return c == QLatin1Char('N') || c == QLatin1Char('F'); }

} // namespace

std::optional<ChannelLine> parseLine(QStringView line)
{
    if (line.size() < 23 || line[0] != QLatin1Char('C'))
        return std::nullopt;
    const QStringView number = line.mid(1, 3);
    const QStringView frequency = line.mid(6, 8);
    if (!digitsOnly(number) || !digitsOnly(frequency) || !nf(line[16]) || !nf(line[19]) || !nf(line[22]))
        return std::nullopt;
    ChannelLine c;
    c.channel = number.toInt();
    if (c.channel < 1 || c.channel > MT::kChannels)
        return std::nullopt;
    c.frequency = wire::frequencyFromWire(frequency);
    c.trunk = line[16] == QLatin1Char('N');
    c.delay = line[19] == QLatin1Char('N');
    c.lockout = line[22] == QLatin1Char('N');
    return c;
}

int decodeReplies(QStringView collected, ChannelTable& table, int first, int last)
{
    if (first < 1 || last < first || last > MT::kChannels)
        return 0;
    QList<bool> filled(last - first + 1, false);
    int count = 0;
    int index = 0;
    for (const QStringView line : collected.tokenize(QLatin1Char('\r'))) {
        if (index++ >= kDecodedLines)
            break;
        const auto c = parseLine(line);
        if (!c || c->channel < first || c->channel > last || filled[c->channel - first])
            continue;
        fill(*c, table);
        filled[c->channel - first] = true;
        ++count;
    }
    return count;
}

void fill(const ChannelLine& c, ChannelTable& table)
{
    table.set(c.channel, MT::kChCh, c.channel);
    table.set(c.channel, MT::kChFrequency, c.frequency);
    table.set(c.channel, MT::kChDLY, c.delay ? QStringLiteral("=") : QString());
    table.set(c.channel, MT::kChLO, c.lockout ? QStringLiteral("=") : QString());
    table.set(c.channel, MT::kChMode, c.trunk ? QStringLiteral("Trunk") : QStringLiteral("Normal"));
}

std::optional<QString> frequencyEntry(QStringView typed)
{
    QString text = typed.toString();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (MT::trimBlanks(text).isEmpty())
        return QString();
    bool point = false;
    const auto value = wire::wholeNumber(text, &point);
    if (!value)
        return typed.toString();
    double mhz = *value;
    if (!point && mhz >= 1000)
        mhz /= 10000.0;
    if (mhz < 0 || std::round(mhz * 10000.0) >= 1000 * 10000.0)
        return std::nullopt;
    return wire::formatMHz(mhz);
}

QString frequencyRefusal(QStringView typed)
{
    const auto entry = frequencyEntry(typed);
    if (!entry)
        return QStringLiteral("%1 is not a frequency the scanner can hold.").arg(MT::trimBlanks(typed.toString()));
    if (entry->isEmpty())
        return {};
    if (!wire::wholeNumber(*entry))
        return QStringLiteral("\"%1\" is not a frequency.").arg(*entry);
    return link::plan::refusal(std::llround(wire::leadingNumber(*entry) * 10000.0));
}

bool isZeroFrequency(const QString& frequency) { return wire::leadingNumber(frequency) == 0; }

QString uploadDigits(const QString& frequency) { return wire::wireFrequency(wire::leadingNumber(frequency)); }

} // namespace vexlor::memory::channels
