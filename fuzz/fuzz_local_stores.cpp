// Any bytes as a store journal, and as bank.dat and idbank.dat (split at the first "IDB:"; without it
// both files hold the whole input). A loaded store written back must load as
// it was, and a second write-back must change no byte.
#include "FuzzSupport.h"

#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"

#include <QFile>
#include <memory>

using namespace vexlor;
using memory::LocalStores;
using memory::MemoryTables;
using MT = MemoryTables;

namespace {

QString g_bank;
QString g_idBank;

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzz::violated("a store could not be written");
}

QByteArray get(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fuzz::violated("a store could not be read");
    return file.readAll();
}

// Loads both stores into fresh tables and writes every table back through the store calls.
std::unique_ptr<MemoryTables> loadAndWriteBack()
{
    auto tables = std::make_unique<MemoryTables>();
    LocalStores stores(g_bank, g_idBank);
    stores.LoadStores(*tables);
    VEXLOR_FUZZ_CHECK(stores.StoreChannelRange(1, MT::kChannels));
    for (int bank = 1; bank <= MT::kBanks; ++bank) {
        for (int list = 1; list <= MT::kLists; ++list)
            VEXLOR_FUZZ_CHECK(stores.StoreIDList(bank, list));
    }
    VEXLOR_FUZZ_CHECK(stores.StoreBankNames());
    VEXLOR_FUZZ_CHECK(stores.StoreBankTrunkTypes());
    return tables;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const QTemporaryDir& dir = fuzz::scratchDir();
    g_bank = dir.filePath(QStringLiteral("bank.dat"));
    g_idBank = dir.filePath(QStringLiteral("idbank.dat"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytesOf(data, size);
    // The journal a killed process leaves: taken only when it is exactly what encode() writes.
    if (const auto writes = memory::RecordJournal::decode(input))
        VEXLOR_FUZZ_CHECK(memory::RecordJournal::encode(*writes) == input);
    const qsizetype split = input.indexOf("IDB:");
    put(g_bank, split < 0 ? input : input.left(split));
    put(g_idBank, split < 0 ? input : input.mid(split + 4));

    const auto first = loadAndWriteBack();
    const QByteArray bank = get(g_bank);
    const QByteArray idBank = get(g_idBank);
    const auto second = loadAndWriteBack();
    VEXLOR_FUZZ_CHECK(get(g_bank) == bank);
    VEXLOR_FUZZ_CHECK(get(g_idBank) == idBank);

    // Nothing a valid record held is lost on the way through the file (the map
    // fields are not stored, and a record's number is its place in the file).
    for (int row = 1; row <= MT::kChannels; ++row) {
        if (first->Channels.at(row, MT::kChCh).isBlank())
            continue;
        for (int col = MT::kChFrequency; col <= MT::kChMode; ++col)
            VEXLOR_FUZZ_CHECK(second->Channels.at(row, col) == first->Channels.at(row, col));
    }
    for (int bank = 1; bank <= MT::kBanks; ++bank) {
        for (int slot = 1; slot <= MT::kSlots; ++slot) {
            for (int col = MT::kIdCh; col <= MT::kIdReserved; ++col)
                VEXLOR_FUZZ_CHECK(second->IDs.at(bank, slot, col) == first->IDs.at(bank, slot, col));
        }
        VEXLOR_FUZZ_CHECK(second->BankNames.at(bank) == first->BankNames.at(bank));
        VEXLOR_FUZZ_CHECK(second->BankTrunkTypes.at(bank) == first->BankTrunkTypes.at(bank));
    }
    return 0;
}
