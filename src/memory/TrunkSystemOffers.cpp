#include "memory/TrunkSystemOffers.h"

#include "memory/LocalStores.h"
#include "memory/MemoryNotices.h"
#include "memory/MemoryTables.h"
#include "platform/Dialogs.h"

namespace vexlor::memory {

using MT = MemoryTables;
using platform::Dialogs;

namespace {

bool isBank(int bank) { return bank >= 1 && bank <= MT::kBanks; }

QString storedText(const QString& shortForm)
{
    if (const auto selector = MT::selectorForShortForm(shortForm))
        return *selector;
    return QStringLiteral("\"%1\"").arg(shortForm);
}

} // namespace

TrunkSystemOffers::TrunkSystemOffers(MemoryTables& tables, LocalStores& stores, platform::Dialogs& dialogs)
    : m_tables(tables), m_stores(stores), m_dialogs(dialogs)
{
}

void TrunkSystemOffers::reported(int bank, QStringView system)
{
    const auto index = MT::trunkTypeIndex(system);
    // "0 - Conventional Only" has no short form to report: a trunking receiver never names it.
    if (!isBank(bank) || !index || *index == 0)
        return;
    m_reported[size_t(bank)] = QString(MT::TrunkTypeTable[size_t(*index)].shortForm);
}

QString TrunkSystemOffers::pending(int bank) const
{
    if (!isBank(bank))
        return {};
    const QString& reported = m_reported[size_t(bank)];
    if (reported.isEmpty() || reported == m_declined[size_t(bank)]
        || reported.compare(MT::trimBlanks(m_tables.bankTrunkType(bank)), Qt::CaseInsensitive) == 0)
        return {};
    return reported;
}

bool TrunkSystemOffers::offer(int bank)
{
    const QString reported = pending(bank);
    if (reported.isEmpty())
        return false;
    const QString stored = m_tables.bankTrunkType(bank);
    Dialogs::Message ask {QStringLiteral("The scanner reports bank %1 as %2, but it is stored as %3.")
                              .arg(bank)
                              .arg(reported, storedText(stored)),
                          QStringLiteral("Trunk Type"), Dialogs::Buttons::YesNo, Dialogs::Icon::Question};
    ask.informative = QStringLiteral("Take %1 as the bank's trunk type? Its IDs are exported and uploaded only "
                                     "with a trunk type.")
                          .arg(*MT::selectorForShortForm(reported));
    if (m_dialogs.message(ask) != Dialogs::Button::Yes) {
        m_declined[size_t(bank)] = reported;
        return false;
    }
    m_tables.BankTrunkTypes.set(bank, reported);
    if (!m_stores.StoreBankTrunkType(bank)) {
        // The tables never hold what the file does not.
        m_tables.BankTrunkTypes.set(bank, stored);
        Dialogs::Message failed {QStringLiteral("The trunk type of bank %1 could not be stored.").arg(bank),
                                 QStringLiteral("Watch out!"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
        failed.informative = m_stores.errorString() + QStringLiteral("\nThe bank keeps %1.").arg(storedText(stored));
        m_dialogs.message(failed);
        return false;
    }
    m_tables.announce(MemoryChange::bankData(bank, nullptr));
    return true;
}

} // namespace vexlor::memory
