#include "memory/TaggedText.h"

#include "link/FrequencyPlan.h"
#include "link/Wire.h"
#include "memory/MemoryTables.h"
#include "memory/StoreRecords.h"

#include <cmath>

namespace vexlor::memory::tagged {

namespace {

using MT = MemoryTables;
namespace wire = link::wire;

const QString kMark = QStringLiteral("X");
constexpr int kTypeWidth = 3;
constexpr int kNameWidth = 40;

// Control characters other than the tab are no part of any name: a NUL or an
// escape taken from a damaged file would end up in the stores and the grids.
QString withoutControls(QString text)
{
    text.removeIf([](QChar c) { return (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F; });
    return text;
}

// A value as the import reads it back: a "|" would split the field and is
// written as ".", controls (a NUL or a line end from a damaged store) would
// break the line and are left out, and the reader trims blanks at the ends.
QString written(const QString& value)
{
    return MT::trimBlanks(withoutControls(value)).replace(QLatin1Char('|'), QLatin1Char('.'));
}

class LineWriter {
public:
    explicit LineWriter(QByteArray& out) : m_out(out) {}
    ~LineWriter() { m_out += "\r\n"; }
    LineWriter& field(const char* tag, const QString& value) { return put(tag, written(value)); }
    // A field that reads back empty says no more than its absence, which is what the next export writes.
    LineWriter& optional(const char* tag, const QString& value)
    {
        const QString text = written(value);
        return text.isEmpty() ? *this : put(tag, text);
    }

private:
    LineWriter& put(const char* tag, const QString& text)
    {
        if (!m_first)
            m_out += " | ";
        m_first = false;
        m_out += tag;
        m_out += records::latin1(text);
        return *this;
    }

    QByteArray& m_out;
    bool m_first = true;
};

// "Y" or "N"; nothing for a flag that writes as nothing.
QString yesNo(const Cell& flag)
{
    if (written(flag.display()).isEmpty())
        return {};
    return flag.display() == QLatin1String("=") ? QStringLiteral("Y") : QStringLiteral("N");
}

bool trunked(const MemoryTables& t, int bank) { return !written(t.bankTrunkType(bank)).isEmpty(); }

void exportBanks(const MemoryTables& t, QByteArray& out)
{
    for (int b = 1; b <= MT::kBanks; ++b) {
        // A trunked bank without a name gets its line too: without it the import would
        // lose the trunk type, and the export after that the bank's IDs.
        if (written(t.bankName(b)).isEmpty() && !trunked(t, b))
            continue;
        LineWriter line(out);
        line.field("[Bank]=", wire::digits(b, 2))
            .field("[BankName]=", t.bankName(b))
            .optional("[BankType]=", t.bankTrunkType(b));
    }
}

void exportChannels(const MemoryTables& t, QByteArray& out)
{
    const ChannelTable& ch = t.Channels;
    for (int n = 1; n <= MT::kChannels; ++n) {
        if (ch.at(n, MT::kChFrequency).isBlank())
            continue;
        LineWriter line(out);
        line.field("[Chan]=", wire::digits(n, 3)).field("[Freq]=", ch.text(n, MT::kChFrequency));
        line.optional("[Type]=", ch.text(n, MT::kChType))
            .optional("[Name]=", ch.text(n, MT::kChName))
            .optional("[Delay]=", yesNo(ch.at(n, MT::kChDLY)))
            .optional("[Lock]=", yesNo(ch.at(n, MT::kChLO)))
            .optional("[Mode]=", ch.text(n, MT::kChMode));
    }
}

void exportIDs(const MemoryTables& t, QByteArray& out)
{
    for (int b = 1; b <= MT::kBanks; ++b) {
        if (!trunked(t, b))
            continue;
        for (int s = 1; s <= MT::kSlots; ++s) {
            const QString label = t.IDs.text(b, s, MT::kIdCh);
            if (!label.contains(QLatin1Char('-')))
                continue;
            LineWriter line(out);
            line.field("[IDBank]=", wire::digits(b, 2)).field("[IDScanList]=", label);
            line.optional("[ID]=", t.IDs.text(b, s, MT::kIdId))
                .optional("[IDType]=", t.IDs.text(b, s, MT::kIdType))
                .optional("[IDName]=", t.IDs.text(b, s, MT::kIdName))
                .optional("[IDLockOut]=", t.IDs.text(b, s, MT::kIdLO));
        }
    }
}

// Blanks the cut leaves at the end go too: the export would write them and the next import trim them.
QString cut(const QString& text, int width) { return text.size() > width ? MT::trimBlanks(text.left(width)) : text; }

// No number field of a proper file comes near this.
constexpr qsizetype kMaxNumberChars = 20;

// A number field's whole value. A value with anything else in it makes the line bad:
// its leading number ("1" of "1e2") would land the record somewhere else.
double numberValue(const QString& value, Line& l, bool* point = nullptr)
{
    const auto number = value.size() <= kMaxNumberChars ? wire::wholeNumber(value, point) : std::nullopt;
    l.badNumber = l.badNumber || !number;
    return number.value_or(0);
}

QString frequencyValue(const QString& value, Line& l)
{
    bool point = false;
    const double number = numberValue(value, l, &point);
    const double mhz = point ? number : number * 0.0001;
    // Rounded as "000.0000" shows it, so 999.99999 counts as the 1000.0000 it would become.
    l.frequencyFits = mhz >= 0 && std::round(mhz * 10000.0) < 1000.0 * 10000.0;
    // One the receiver cannot take would be lost at the upload without a word.
    l.frequencyRefused = l.frequencyFits && !link::plan::refusal(std::llround(mhz * 10000.0)).isEmpty();
    l.frequencyFits = l.frequencyFits && !l.frequencyRefused;
    return l.frequencyFits ? wire::formatMHz(mhz) : QStringLiteral("000.0000");
}

// "list-position" as a slot number: "1-15" is slot 15. 0 without a dash.
double slotValue(const QString& label, Line& l)
{
    const qsizetype dash = label.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return 0;
    const double list = numberValue(label.left(dash), l);
    const double position = numberValue(label.mid(dash + 1), l);
    if (list != std::trunc(list) || position != std::trunc(position))
        l.badNumber = true;
    return 10 * (list - 1) + position;
}

QString flagValue(const QString& value) { return value.toUpper() == QLatin1String("Y") ? QStringLiteral("=") : QString(); }

bool inRange(double value, int last) { return value >= 1 && value <= last; }
int index(double value) { return int(std::lround(value)); }

QString decodeLine(QByteArrayView bytes, bool utf8)
{
    return withoutControls(utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes));
}

} // namespace

QByteArray exportText(const MemoryTables& tables)
{
    QByteArray out;
    exportBanks(tables, out);
    exportChannels(tables, out);
    exportIDs(tables, out);
    return out;
}

QStringList exportOmissions(const MemoryTables& tables)
{
    QStringList out;
    for (int b = 1; b <= MT::kBanks; ++b) {
        if (trunked(tables, b))
            continue;
        int ids = 0;
        for (int s = 1; s <= MT::kSlots; ++s) {
            const bool held = !written(tables.IDs.text(b, s, MT::kIdId)).isEmpty()
                || !written(tables.IDs.text(b, s, MT::kIdName)).isEmpty();
            ids += held && tables.IDs.text(b, s, MT::kIdCh).contains(QLatin1Char('-')) ? 1 : 0;
        }
        if (ids > 0)
            out << QStringLiteral("Bank %1: %2 ID(s) not exported: the bank has no trunk type. Set its type, then "
                                  "export again.")
                       .arg(b)
                       .arg(ids);
    }
    return out;
}

Line parseLine(QStringView text)
{
    Line l;
    const QString line = MT::trimBlanks(text);
    for (const QStringView field : QStringView(line).tokenize(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const qsizetype eq = field.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString tag = MT::trimBlanks(field.left(eq)).toUpper();
        const QString value = MT::trimBlanks(field.mid(eq + 1));
        if (tag == QLatin1String("[BANK]"))
            l.bank = numberValue(value, l);
        else if (tag == QLatin1String("[BANKNAME]"))
            l.bankName = value;
        else if (tag == QLatin1String("[BANKTYPE]"))
            l.bankType = value;
        else if (tag == QLatin1String("[CHAN]"))
            l.channel = numberValue(value, l);
        else if (tag == QLatin1String("[FREQ]"))
            l.frequency = frequencyValue(value, l);
        else if (tag == QLatin1String("[TYPE]"))
            l.type = cut(value, kTypeWidth);
        else if (tag == QLatin1String("[NAME]"))
            l.name = cut(value, kNameWidth);
        else if (tag == QLatin1String("[DELAY]"))
            l.delay = flagValue(value);
        else if (tag == QLatin1String("[LOCK]"))
            l.lockout = flagValue(value);
        else if (tag == QLatin1String("[MODE]"))
            l.mode = value.toUpper() == QLatin1String("TRUNK") ? QStringLiteral("Trunk") : QStringLiteral("Normal");
        else if (tag == QLatin1String("[IDBANK]"))
            l.idBank = numberValue(value, l);
        else if (tag == QLatin1String("[IDSCANLIST]"))
            l.slot = slotValue(value, l);
        else if (tag == QLatin1String("[ID]"))
            l.id = value;
        else if (tag == QLatin1String("[IDTYPE]"))
            l.idType = value;
        else if (tag == QLatin1String("[IDNAME]"))
            l.idName = value;
        else if (tag == QLatin1String("[IDLOCKOUT]"))
            l.idLockOut = value;
    }
    return l;
}

Applied applyLine(const Line& l, MemoryTables& t)
{
    Applied a;
    if (l.badNumber)
        return a;
    // A frequency no store can hold would be written back as another one: the channel is left as it was.
    if (inRange(l.channel, MT::kChannels) && l.frequencyFits) {
        const int n = index(l.channel);
        const Cell row[] = {n, l.frequency, l.type, l.name, l.delay, l.lockout, l.mode, kMark};
        for (int col = 0; col < int(std::size(row)); ++col)
            t.Channels.set(n, col, row[col]);
        a.channel = n;
    }
    if (inRange(l.idBank, MT::kBanks) && inRange(l.slot, MT::kSlots)) {
        const int b = index(l.idBank);
        const int slot = index(l.slot);
        // The slot's own label: one written as found ("1 - 5") would not load again.
        // Six characters, as the store keeps them, so the upload sends what is stored.
        const Cell cells[] = {MT::slotLabel(slot), l.id.left(6), l.idType, l.idName, l.idLockOut, kMark};
        for (int col = 0; col < int(std::size(cells)); ++col)
            t.IDs.set(b, slot, col, cells[col]);
        a.idBank = b;
        a.idSlot = slot;
    }
    if (inRange(l.bank, MT::kBanks)) {
        const int b = index(l.bank);
        // Cut to what the store holds, as channel names are: a longer text would not be stored at all.
        t.BankNames.set(b, l.bankName.left(records::kBankTextMax));
        t.BankTrunkTypes.set(b, l.bankType.left(records::kBankTextMax));
        t.BankImported.set(b, true);
        a.bank = b;
    }
    return a;
}

ImportCount importText(QByteArrayView bytes, MemoryTables& tables)
{
    ImportCount count;
    const bool utf8 = bytes.startsWith("\xEF\xBB\xBF");
    qsizetype at = utf8 ? 3 : 0;
    const qsizetype size = bytes.size();
    // At least one line, so an empty file reads one empty line, as the format wants.
    do {
        qsizetype end = at;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArrayView raw = bytes.sliced(at, end - at);
        // No line end after it: the file was cut inside this line.
        const bool unended = end == size;
        at = end;
        if (at < size && bytes[at] == '\r')
            ++at;
        if (at < size && bytes[at] == '\n')
            ++at;
        ++count.lines;
        if (raw.size() > kMaxLineBytes) {
            ++count.skipped;
            continue;
        }
        const QString text = decodeLine(raw, utf8);
        if (MT::trimBlanks(text).isEmpty())
            continue;
        const Line line = parseLine(text);
        if (!unended && applyLine(line, tables).any())
            ++count.records;
        else
            ++count.skipped;
        count.refusedFrequencies += line.frequencyRefused && inRange(line.channel, MT::kChannels) ? 1 : 0;
    } while (at < size);
    return count;
}

QString refusedFrequenciesNote(int lines)
{
    return QStringLiteral("%1 of them hold a frequency the scanner cannot take (outside 29-54, 108-174, 406-512 and "
                          "806-956 MHz, or off its 5 kHz and 6.25 kHz steps); those channels keep what they held.")
        .arg(lines);
}

void clearMarks(MemoryTables& t)
{
    for (int n = 1; n <= MT::kChannels; ++n)
        t.Channels.set(n, MT::kChMap, QString());
    for (int b = 1; b <= MT::kBanks; ++b) {
        for (int s = 1; s <= MT::kSlots; ++s)
            t.IDs.set(b, s, MT::kIdReserved, QString());
        t.BankImported.set(b, false);
    }
}

int markCount(const MemoryTables& t)
{
    int n = 0;
    for (int c = 1; c <= MT::kChannels; ++c)
        n += t.Channels.text(c, MT::kChMap) == kMark;
    for (int b = 1; b <= MT::kBanks; ++b) {
        for (int s = 1; s <= MT::kSlots; ++s)
            n += t.IDs.text(b, s, MT::kIdReserved) == kMark;
        n += t.BankImported.at(b);
    }
    return n;
}

} // namespace vexlor::memory::tagged
