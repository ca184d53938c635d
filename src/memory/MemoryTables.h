#pragma once

#include "memory/BankList.h"
#include "memory/Cell.h"
#include "memory/ChannelTable.h"
#include "memory/IDTable.h"
#include "memory/MemoryNotices.h"

#include <QLatin1String>
#include <QStringList>

#include <array>
#include <optional>

namespace vexlor::memory {

struct TrunkTypeRow {
    QLatin1String selector; // the text of the trunk-type selectors
    QLatin1String shortForm; // what BankTrunkTypes and the stores hold
};

struct TypeCode {
    QLatin1String code;
    QLatin1String meaning;
};

// The program's copy of the receiver's memories, owned by the composition root
// for the whole run: the one source of truth. Whoever changes it announces
// what changed, and every view of it follows.
class MemoryTables {
public:
    static constexpr int kBanks = 10;
    static constexpr int kChannels = 300;
    static constexpr int kChannelsPerBank = 30;
    static constexpr int kSlots = 100;
    static constexpr int kLists = 10;
    static constexpr int kSlotsPerList = 10;

    // Columns of `Channels`, shared with the frequency grid.
    static constexpr int kChCh = 0;
    static constexpr int kChFrequency = 1;
    static constexpr int kChType = 2;
    static constexpr int kChName = 3;
    static constexpr int kChDLY = 4;
    static constexpr int kChLO = 5;
    static constexpr int kChMode = 6;
    static constexpr int kChMap = 7;
    static constexpr int kChX = 8;
    static constexpr int kChY = 9;

    // Columns of `IDs`.
    static constexpr int kIdCh = 0;
    static constexpr int kIdId = 1;
    static constexpr int kIdType = 2;
    static constexpr int kIdName = 3;
    static constexpr int kIdLO = 4;
    static constexpr int kIdReserved = 5;

    static const QStringList& channelHeadings(); // "Ch", "Frequency", ... "Y"
    static const QStringList& idHeadings(); // "Ch", "ID", "Type", "Name", "L/O", ""

    static constexpr std::array<TrunkTypeRow, 7> TrunkTypeTable { {
        { QLatin1String("0 - Conventional Only"), QLatin1String("") },
        { QLatin1String("1 - E1 Motorola"), QLatin1String("E1") },
        { QLatin1String("2 - E2-800 Motorola"), QLatin1String("E2-800") },
        { QLatin1String("3 - E2-900 Motorola"), QLatin1String("E2-900") },
        { QLatin1String("4 - E2-UHF Motorola"), QLatin1String("E2-UHF") },
        { QLatin1String("5 - E2-Hi (VHF) Motorola"), QLatin1String("E2-Hi") },
        { QLatin1String("6 - EDACS Ericsson/GE"), QLatin1String("EDACS") },
    } };

    // The codes the type selectors offer, in their order. The tables accept any text of up to three characters.
    static constexpr std::array<TypeCode, 17> TypeCodes { {
        { QLatin1String("AIR"), QLatin1String("Aviation") },
        { QLatin1String("AMB"), QLatin1String("Ambulance") },
        { QLatin1String("COM"), QLatin1String("Commercial") },
        { QLatin1String("CTG"), QLatin1String("Shipping") },
        { QLatin1String("FDP"), QLatin1String("Fire Department") },
        { QLatin1String("EMG"), QLatin1String("Emergency Svc") },
        { QLatin1String("GOV"), QLatin1String("Government") },
        { QLatin1String("MED"), QLatin1String("Media") },
        { QLatin1String("MRN"), QLatin1String("Marine") },
        { QLatin1String("MSC"), QLatin1String("Miscellaneous") },
        { QLatin1String("MUN"), QLatin1String("Municipality") },
        { QLatin1String("POL"), QLatin1String("Police Department") },
        { QLatin1String("PTP"), QLatin1String("Public Transport") },
        { QLatin1String("TRK"), QLatin1String("Trunking System") },
        { QLatin1String("RWY"), QLatin1String("RailRoad") },
        { QLatin1String("SEC"), QLatin1String("Security agency") },
        { QLatin1String("UTY"), QLatin1String("Gas, Electricity") },
    } };

    static QStringList trunkTypeSelectors();
    static QStringList typeCodeList();

    // Selector text for a short form, compared after trimming and in any case; nullopt when none fits.
    static std::optional<QString> selectorForShortForm(QStringView shortForm);
    // Short form for an exact selector text; nullopt when the text is no selector.
    static std::optional<QString> shortFormForSelector(QStringView selector);
    // Selector position 0..6 of a short form, trimmed and in any case; nullopt when none fits.
    static std::optional<int> trunkTypeIndex(QStringView shortForm);
    // The same, with anything unknown counted as conventional (0).
    static int trunkTypeDigit(QStringView shortForm) { return trunkTypeIndex(shortForm).value_or(0); }

    // 1, 31, ... 271; 0 for a bank outside 1..10.
    static int firstChannel(int bank);
    // "001", "031", ... "271"; empty for a bank outside 1..10.
    static QString firstChannelText(int bank);
    // 1..10 for channels 1..300, 0 otherwise.
    static int bankOfChannel(int channel);
    // ID list 1..10 of a slot 1..100, 0 otherwise.
    static int listOfSlot(int slot);
    // Position 1..10 of a slot within its list, 0 for a slot outside 1..100.
    static int positionOfSlot(int slot);
    // Slot 1..100 of list and position, 0 when either is out of range.
    static int slotOf(int list, int position);
    // "L-n" ("1-1" .. "10-10"); empty for a slot outside 1..100.
    static QString slotLabel(int slot);

    // Blanks (0x20) only: tabs and no-break spaces are part of a name.
    static QString trimBlanks(QStringView text);
    // Digits only once blanks are trimmed, and at least one: what counts as a talkgroup number.
    static bool isDigits(QStringView text);
    // A cleared talkgroup: "------" as Clear leaves it, "======" as a list read shows it.
    static bool isClearedId(QStringView text);

    QString bankName(int bank) const { return BankNames.at(bank).display(); }
    // The slot of a bank whose ID reads `id`; nullopt for none. Never-set slots hold no ID.
    std::optional<int> slotOfId(int bank, const QString& id) const;
    QString bankTrunkType(int bank) const { return BankTrunkTypes.at(bank).display(); }

    void clear();

    // Tells every listener what changed; the writer calls it once its change is complete.
    void announce(const MemoryChange& change) const { Notices.announce(change); }
    [[nodiscard]] MemoryNotices::Subscription subscribe(MemoryNotices::Listener listener) const
    {
        return Notices.subscribe(std::move(listener));
    }

    friend bool operator==(const MemoryTables&, const MemoryTables&) = default;

    ChannelTable Channels;
    IDTable IDs;
    BankList<Cell> BankNames;
    // Cells too: the store keeps "no value" (tag 0) apart from the empty text (tag 8, length 0).
    BankList<Cell> BankTrunkTypes;
    BankList<bool> BankImported;
    MemoryNotices Notices;
};

} // namespace vexlor::memory
