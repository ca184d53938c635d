#include "memory/MemoryTables.h"

#include "link/Wire.h"

#include <algorithm>

namespace vexlor::memory {

const QStringList& MemoryTables::channelHeadings()
{
    static const QStringList headings { QStringLiteral("Ch"), QStringLiteral("Frequency"), QStringLiteral("Type"),
        QStringLiteral("Name"), QStringLiteral("DLY"), QStringLiteral("L/O"), QStringLiteral("Mode"),
        QStringLiteral("Map#"), QStringLiteral("X"), QStringLiteral("Y") };
    return headings;
}

const QStringList& MemoryTables::idHeadings()
{
    static const QStringList headings { QStringLiteral("Ch"), QStringLiteral("ID"), QStringLiteral("Type"),
        QStringLiteral("Name"), QStringLiteral("L/O"), QString() };
    return headings;
}

QStringList MemoryTables::trunkTypeSelectors()
{
    QStringList out;
    for (const auto& row : TrunkTypeTable)
        out << row.selector;
    return out;
}

QStringList MemoryTables::typeCodeList()
{
    QStringList out;
    for (const auto& type : TypeCodes)
        out << type.code;
    return out;
}

std::optional<QString> MemoryTables::selectorForShortForm(QStringView shortForm)
{
    if (const auto i = trunkTypeIndex(shortForm))
        return QString(TrunkTypeTable[size_t(*i)].selector);
    return std::nullopt;
}

std::optional<QString> MemoryTables::shortFormForSelector(QStringView selector)
{
    for (const auto& row : TrunkTypeTable) {
        if (selector == row.selector)
            return QString(row.shortForm);
    }
    return std::nullopt;
}

std::optional<int> MemoryTables::trunkTypeIndex(QStringView shortForm)
{
    const QString wanted = trimBlanks(shortForm);
    for (size_t i = 0; i < TrunkTypeTable.size(); ++i) {
        if (wanted.compare(TrunkTypeTable[i].shortForm, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return std::nullopt;
}

int MemoryTables::firstChannel(int bank)
{
    return bank >= 1 && bank <= kBanks ? kChannelsPerBank * (bank - 1) + 1 : 0;
}

QString MemoryTables::firstChannelText(int bank)
{
    const int channel = firstChannel(bank);
    return channel ? link::wire::digits(channel, 3) : QString();
}

int MemoryTables::bankOfChannel(int channel)
{
    return channel >= 1 && channel <= kChannels ? (channel - 1) / kChannelsPerBank + 1 : 0;
}

int MemoryTables::listOfSlot(int slot)
{
    return slot >= 1 && slot <= kSlots ? (slot - 1) / kSlotsPerList + 1 : 0;
}

int MemoryTables::positionOfSlot(int slot)
{
    return slot >= 1 && slot <= kSlots ? slot - kSlotsPerList * (listOfSlot(slot) - 1) : 0;
}

int MemoryTables::slotOf(int list, int position)
{
    if (list < 1 || list > kLists || position < 1 || position > kSlotsPerList)
        return 0;
    return kSlotsPerList * (list - 1) + position;
}

std::optional<int> MemoryTables::slotOfId(int bank, const QString& id) const
{
    for (int slot = 1; bank >= 1 && slot <= kSlots; ++slot) {
        if (!IDTable::contains(bank, slot, kIdId))
            break;
        const Cell& cell = IDs.at(bank, slot, kIdId);
        if (!cell.isEmpty() && cell.display() == id)
            return slot;
    }
    return std::nullopt;
}

QString MemoryTables::slotLabel(int slot)
{
    if (!listOfSlot(slot))
        return QString();
    return QString::number(listOfSlot(slot)) + QLatin1Char('-') + QString::number(positionOfSlot(slot));
}

QString MemoryTables::trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin).toString();
}

bool MemoryTables::isDigits(QStringView text)
{
    const QString t = trimBlanks(text);
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool MemoryTables::isClearedId(QStringView text)
{
    const QString id = trimBlanks(text);
    return !id.isEmpty() && (id.count(QLatin1Char('-')) == id.size() || id.count(QLatin1Char('=')) == id.size());
}

void MemoryTables::clear()
{
    Channels.clear();
    IDs.clear();
    BankNames.fill(Cell());
    BankTrunkTypes.fill(Cell());
    BankImported.fill(false);
}

} // namespace vexlor::memory
