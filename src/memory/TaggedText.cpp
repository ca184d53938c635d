#include "memory/TaggedText.h"

#include "link/Wire.h"
#include "memory/MemoryTables.h"
#include "memory/StoreRecords.h"

#include <QStringDecoder>

#include <cmath>
#include <tuple>

namespace vexlor::memory::tagged {

namespace {

using MT = MemoryTables;
namespace wire = link::wire;

const QString kMark = QStringLiteral("X");
constexpr int kTypeWidth = 3;
constexpr int kNameWidth = 40;

QString barReplaced(const QString& value)
{
    QString out = value;
    return out.replace(QLatin1Char('|'), QLatin1Char('.'));
}

// Control characters other than the tab are no part of any name: a NUL or an
// escape taken from a damaged file would end up in the stores and the grids.
QString withoutControls(QString text)
{
    text.removeIf([](QChar c) { return (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F; });
    return text;
}

class LineWriter {
public:
    explicit LineWriter(QByteArray& out) : m_out(out) {}
    ~LineWriter() { m_out += "\r\n"; }
    LineWriter& field(const char* tag, const QString& value)
    {
        if (!m_first)
            m_out += " | ";
        m_first = false;
        m_out += tag;
        // A control character from a damaged store would break the line.
        m_out += records::latin1(withoutControls(value));
        return *this;
    }

private:
    QByteArray& m_out;
    bool m_first = true;
};

QString yesNo(const Cell& flag) { return flag.display() == QLatin1String("=") ? QStringLiteral("Y") : QStringLiteral("N"); }

void exportBanks(const MemoryTables& t, QByteArray& out)
{
    for (int b = 1; b <= MT::kBanks; ++b) {
        // A trunked bank without a name gets its line too: without it the import would
        // lose the trunk type, and the export after that the bank's IDs.
        if (t.BankNames.at(b).isBlank() && t.BankTrunkTypes.at(b).isBlank())
            continue;
        LineWriter line(out);
        line.field("[Bank]=", wire::digits(b, 2)).field("[BankName]=", barReplaced(t.bankName(b)));
        if (!t.BankTrunkTypes.at(b).isBlank())
            line.field("[BankType]=", barReplaced(t.bankTrunkType(b)));
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
        if (!ch.at(n, MT::kChType).isBlank())
            line.field("[Type]=", barReplaced(ch.text(n, MT::kChType)));
        if (!ch.at(n, MT::kChName).isBlank())
            line.field("[Name]=", barReplaced(ch.text(n, MT::kChName)));
        if (!ch.at(n, MT::kChDLY).isBlank())
            line.field("[Delay]=", yesNo(ch.at(n, MT::kChDLY)));
        if (!ch.at(n, MT::kChLO).isBlank())
            line.field("[Lock]=", yesNo(ch.at(n, MT::kChLO)));
        if (!ch.at(n, MT::kChMode).isBlank())
            line.field("[Mode]=", ch.text(n, MT::kChMode));
    }
}

void exportIDs(const MemoryTables& t, QByteArray& out)
{
    for (int b = 1; b <= MT::kBanks; ++b) {
        if (t.BankTrunkTypes.at(b).isBlank())
            continue;
        for (int s = 1; s <= MT::kSlots; ++s) {
            const QString label = t.IDs.text(b, s, MT::kIdCh);
            if (!label.contains(QLatin1Char('-')))
                continue;
            LineWriter line(out);
            line.field("[IDBank]=", wire::digits(b, 2)).field("[IDScanList]=", label);
            // Free text is bar-replaced like the channel names: a "|" would split the field when read back.
            const std::tuple<int, const char*, bool> optional[] = {{MT::kIdId, "[ID]=", false},
                                                                   {MT::kIdType, "[IDType]=", true},
                                                                   {MT::kIdName, "[IDName]=", true},
                                                                   {MT::kIdLO, "[IDLockOut]=", false}};
            for (const auto& [col, tag, freeText] : optional) {
                if (!t.IDs.at(b, s, col).isBlank())
                    line.field(tag, freeText ? barReplaced(t.IDs.text(b, s, col)) : t.IDs.text(b, s, col));
            }
        }
    }
}

// Blanks the cut leaves at the end go too: the export would write them and the next import trim them.
QString cut(const QString& text, int width) { return text.size() > width ? MT::trimBlanks(text.left(width)) : text; }

QString frequencyValue(const QString& value, bool& fits)
{
    const double mhz = value.contains(QLatin1Char('.')) ? wire::leadingNumber(value) : wire::leadingNumber(value) * 0.0001;
    // Rounded as "000.0000" shows it, so 999.99999 counts as the 1000.0000 it would become.
    fits = mhz >= 0 && std::round(mhz * 10000.0) < 1000.0 * 10000.0;
    return fits ? wire::formatMHz(mhz) : QStringLiteral("000.0000");
}

QString flagValue(const QString& value) { return value.toUpper() == QLatin1String("Y") ? QStringLiteral("=") : QString(); }

bool inRange(double value, int last) { return value >= 1 && value <= last; }
int index(double value) { return int(std::lround(value)); }


QString decodeLine(QByteArrayView bytes)
{
    bool ascii = true;
    for (const char c : bytes) {
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return withoutControls(text);
    }
    return withoutControls(QString::fromLatin1(bytes));
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
            l.bank = wire::leadingNumber(value);
        else if (tag == QLatin1String("[BANKNAME]"))
            l.bankName = value;
        else if (tag == QLatin1String("[BANKTYPE]"))
            l.bankType = value;
        else if (tag == QLatin1String("[CHAN]"))
            l.channel = wire::leadingNumber(value);
        else if (tag == QLatin1String("[FREQ]"))
            l.frequency = frequencyValue(value, l.frequencyFits);
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
            l.idBank = wire::leadingNumber(value);
        else if (tag == QLatin1String("[IDSCANLIST]"))
            l.slotLabel = value;
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
    // A frequency no store can hold would be written back as another one: the channel is left as it was.
    if (inRange(l.channel, MT::kChannels) && l.frequencyFits) {
        const int n = index(l.channel);
        const Cell row[] = {n, l.frequency, l.type, l.name, l.delay, l.lockout, l.mode, kMark};
        for (int col = 0; col < int(std::size(row)); ++col)
            t.Channels.set(n, col, row[col]);
        a.channel = n;
    }
    const qsizetype dash = l.slotLabel.indexOf(QLatin1Char('-'));
    if (inRange(l.idBank, MT::kBanks) && dash >= 0) {
        const int list = wire::leadingInt(QStringView(l.slotLabel).left(dash));
        const int position = wire::leadingInt(QStringView(l.slotLabel).mid(dash + 1));
        const qint64 slot = 10 * (qint64(list) - 1) + position;
        if (slot >= 1 && slot <= MT::kSlots) {
            const int b = index(l.idBank);
            // The slot's own label: one written as found ("1 - 5") would not load again.
            // Six characters, as the store keeps them, so the upload sends what is stored.
            const Cell cells[] = {MT::slotLabel(int(slot)), l.id.left(6), l.idType, l.idName, l.idLockOut, kMark};
            for (int col = 0; col < int(std::size(cells)); ++col)
                t.IDs.set(b, int(slot), col, cells[col]);
            a.idBank = b;
            a.idSlot = int(slot);
        }
    }
    if (inRange(l.bank, MT::kBanks)) {
        const int b = index(l.bank);
        // Cut to what the store holds, as channel names are: a longer one would not be stored at all.
        t.BankNames.set(b, l.bankName.left(records::kBankTextMax));
        t.BankTrunkTypes.set(b, l.bankType);
        t.BankImported.set(b, true);
        a.bank = b;
    }
    return a;
}

ImportCount importText(QByteArrayView bytes, MemoryTables& tables)
{
    ImportCount count;
    qsizetype at = 0;
    const qsizetype size = bytes.size();
    // At least one line, so an empty file reads one empty line, as the format wants.
    do {
        qsizetype end = at;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArrayView raw = bytes.sliced(at, end - at);
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
        const QString text = decodeLine(raw);
        if (applyLine(parseLine(text), tables).any())
            ++count.records;
        else if (!MT::trimBlanks(text).isEmpty())
            ++count.skipped;
    } while (at < size);
    return count;
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
