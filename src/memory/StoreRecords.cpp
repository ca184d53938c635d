#include "memory/StoreRecords.h"

#include "link/Wire.h"
#include "memory/ChannelTable.h"
#include "memory/IDTable.h"
#include "memory/MemoryTables.h"

#include <algorithm>
#include <cmath>

namespace vexlor::memory::records {

namespace {

using MT = MemoryTables;

// Channel record layout: offset and width of each field.
constexpr int kChannelAt = 0, kChannelW = 3;
constexpr int kFrequencyAt = 3, kFrequencyW = 8;
constexpr int kFreqTypeAt = 11, kTypeW = 3;
constexpr int kFreqNameAt = 14, kNameW = 40;
constexpr int kDelayAt = 54, kLockOutAt = 55, kTrunkAt = 56;
constexpr int kMapNumberAt = 57, kMapNumberW = 1;
constexpr int kMapXAt = 58, kMapYAt = 63, kMapXYW = 5;

// ID record layout.
constexpr int kSlotAt = 0, kSlotW = 5;
constexpr int kIDAt = 5, kIDW = 6;
constexpr int kIDTypeAt = 11;
constexpr int kIDNameAt = 14;
constexpr int kIDLockOutAt = 54;
constexpr int kReservedAt = 55, kReservedW = 10;

// Missing bytes of a record read as zero, like a hole in the file.
QByteArray padded(QByteArrayView record, int size)
{
    QByteArray out = record.first(std::min<qsizetype>(record.size(), size)).toByteArray();
    if (out.size() < size)
        out.append(QByteArray(size - out.size(), '\0'));
    return out;
}

QString textAt(const QByteArray& record, int at, int width)
{
    return QString::fromLatin1(record.constData() + at, width);
}

QString trimmedAt(const QByteArray& record, int at, int width)
{
    return MT::trimBlanks(textAt(record, at, width));
}

bool allZero(const QByteArray& record, int at, int width)
{
    return std::all_of(record.begin() + at, record.begin() + at + width, [](char c) { return c == '\0'; });
}

bool onlyChars(const QString& text, QLatin1String extra)
{
    return std::all_of(text.begin(), text.end(), [extra](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || extra.contains(c);
    });
}

// FreqType/FreqName: three or forty zero bytes are a field never written.
Cell textFieldAt(const QByteArray& record, int at, int width)
{
    return allZero(record, at, width) ? Cell(QString()) : Cell(trimmedAt(record, at, width));
}

void put(QByteArray& record, int at, const QByteArray& bytes) { record.replace(at, bytes.size(), bytes); }

// FreqType/FreqName: a text of zero bytes only would read back as a field never
// written; it is written blank, the empty text it loads as either way.
QByteArray textField(const Cell& value, int width)
{
    QByteArray bytes = field(value.display(), width);
    return allZero(bytes, 0, width) ? QByteArray(width, ' ') : bytes;
}

char flag(bool on) { return on ? 'N' : 'F'; }

// The wire digits of column 1, from the value rather than from character
// positions: a loaded "1111.1111" has four integer digits and must be written
// back as it was read. A negative value would put "-" into the field, and the
// next load would then reject the whole record, name and all.
QByteArray frequencyField(const Cell& frequency)
{
    const double units = std::round(link::wire::leadingNumber(frequency.display()) * 10000);
    if (!(units >= 0 && units < 1e8))
        return QByteArray(kFrequencyW, '0');
    return QByteArray::number(qint64(units)).rightJustified(kFrequencyW, '0');
}

} // namespace

QByteArray latin1(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        out.append(c <= 0xFF ? char(c) : '?');
    return out;
}

QByteArray field(QStringView text, int width)
{
    QByteArray out = latin1(text).left(width);
    if (out.size() < width)
        out.append(QByteArray(width - out.size(), ' '));
    return out;
}

QByteArray encodeChannel(const ChannelTable& channels, int row)
{
    auto col = [&](int c) -> const Cell& { return channels.at(row, c); };
    QByteArray record(kChannelRecordSize, ' ');
    // A channel never filled is written so that it loads back unfilled: a
    // blank channel field fails the load's check.
    if (col(MT::kChCh).isEmpty())
        return record;
    put(record, kChannelAt, field(QString::number(row), kChannelW));
    put(record, kFrequencyAt, frequencyField(col(MT::kChFrequency)));
    put(record, kFreqTypeAt, textField(col(MT::kChType), kTypeW));
    put(record, kFreqNameAt, textField(col(MT::kChName), kNameW));
    record[kDelayAt] = flag(col(MT::kChDLY).display() == QLatin1String("="));
    record[kLockOutAt] = flag(col(MT::kChLO).display() == QLatin1String("="));
    record[kTrunkAt] = flag(col(MT::kChMode).display() != QLatin1String("Normal"));
    return record; // the map fields stay blank
}

bool decodeChannel(QByteArrayView raw, ChannelTable& channels, int row)
{
    const QByteArray record = padded(raw, kChannelRecordSize);
    const QString channel = trimmedAt(record, kChannelAt, kChannelW);
    const double number = link::wire::leadingNumber(channel);
    if (Cell::decimal(number) != channel)
        return false;
    const QString frequency = trimmedAt(record, kFrequencyAt, kFrequencyW);
    if (!onlyChars(frequency, QLatin1String(".")))
        return false;

    auto numberAt = [&](int at, int width) { return Cell(link::wire::leadingNumber(textAt(record, at, width))); };
    auto flagCell = [&](int at) { return Cell(record[at] == 'N' ? QStringLiteral("=") : QString()); };
    channels.set(row, MT::kChCh, Cell(number));
    channels.set(row, MT::kChFrequency, Cell(link::wire::frequencyFromWire(frequency)));
    channels.set(row, MT::kChType, textFieldAt(record, kFreqTypeAt, kTypeW));
    channels.set(row, MT::kChName, textFieldAt(record, kFreqNameAt, kNameW));
    channels.set(row, MT::kChDLY, flagCell(kDelayAt));
    channels.set(row, MT::kChLO, flagCell(kLockOutAt));
    channels.set(row, MT::kChMode, Cell(record[kTrunkAt] == 'N' ? QStringLiteral("Trunk") : QStringLiteral("Normal")));
    channels.set(row, MT::kChMap, numberAt(kMapNumberAt, kMapNumberW));
    channels.set(row, MT::kChX, numberAt(kMapXAt, kMapXYW));
    channels.set(row, MT::kChY, numberAt(kMapYAt, kMapXYW));
    return true;
}

QByteArray encodeIDSlot(const IDTable& ids, int bank, int slot)
{
    auto col = [&](int c) { return ids.at(bank, slot, c).display(); };
    QByteArray record(kIDRecordSize, ' ');
    put(record, kSlotAt, field(col(MT::kIdCh), kSlotW));
    put(record, kIDAt, field(col(MT::kIdId), kIDW)); // an empty ID is all blanks either way
    put(record, kIDTypeAt, field(col(MT::kIdType), kTypeW));
    put(record, kIDNameAt, field(col(MT::kIdName), kNameW));
    put(record, kIDLockOutAt, field(col(MT::kIdLO), 1));
    return record;
}

bool decodeIDSlot(QByteArrayView raw, IDTable& ids, int bank, int slot)
{
    const QByteArray record = padded(raw, kIDRecordSize);
    const QString label = trimmedAt(record, kSlotAt, kSlotW);
    if (!onlyChars(label, QLatin1String("-")))
        return false;
    ids.set(bank, slot, MT::kIdCh, Cell(label));
    ids.set(bank, slot, MT::kIdId, Cell(trimmedAt(record, kIDAt, kIDW)));
    ids.set(bank, slot, MT::kIdType, Cell(trimmedAt(record, kIDTypeAt, kTypeW)));
    ids.set(bank, slot, MT::kIdName, Cell(trimmedAt(record, kIDNameAt, kNameW)));
    ids.set(bank, slot, MT::kIdLO, Cell(textAt(record, kIDLockOutAt, 1)));
    ids.set(bank, slot, MT::kIdReserved, Cell(QString()));
    return true;
}

std::optional<QByteArray> encodeBankText(const Cell& value)
{
    QByteArray record(kIDRecordSize, '\0');
    if (value.isEmpty())
        return record; // tag 0
    const QByteArray text = latin1(value.display());
    if (text.size() > kBankTextMax)
        return std::nullopt;
    record[0] = char(kTagText);
    record[2] = char(text.size());
    record.replace(4, text.size(), text);
    return record;
}

Cell decodeBankText(QByteArrayView raw)
{
    const QByteArray record = padded(raw, kIDRecordSize);
    auto le16 = [&](int at) { return quint16(quint8(record[at]) | quint8(record[at + 1]) << 8); };
    if (le16(0) != kTagText)
        return Cell();
    const int length = le16(2);
    if (length > kBankTextMax)
        return Cell();
    return Cell(QString::fromLatin1(record.constData() + 4, length));
}

} // namespace vexlor::memory::records
