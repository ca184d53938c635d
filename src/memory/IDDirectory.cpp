#include "memory/IDDirectory.h"

#include "link/Commands.h"
#include "link/ExchangeGuard.h"
#include "link/Retry.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/BankGrid.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "memory/UploadTexts.h"
#include "platform/Dialogs.h"

#include <QPointer>
#include <QRegularExpression>

namespace vexlor::memory {

namespace {

using MT = MemoryTables;
using platform::Dialogs;
namespace wire = link::wire;

const QString kOwner = QStringLiteral("ID directory");
const QString kLockedOut = QStringLiteral("=");
constexpr int kIdChars = 6;
constexpr int kIdNameChars = 40;
constexpr int kLabelChars = 5; // "10-10"


QString verifyText(const QString& first) { return first + QStringLiteral("\r\nPlease verify and try again."); }


} // namespace

IDDirectory::IDDirectory(const Parts& parts, QObject* parent)
    : QObject(parent),
      m_link(parts.link),
      m_dialogs(parts.dialogs),
      m_tables(parts.tables),
      m_stores(parts.stores),
      m_read(parts.link, parts.tables.IDs),
      m_upload(parts.link, parts.tables.IDs)
{
    m_s.headings = MT::idHeadings().mid(0, 5);
    m_idt.setSingleShot(true);
    m_idt.setInterval(kOpenDelayMs);
    connect(&m_idt, &QTimer::timeout, this, &IDDirectory::IDT_Timer);
    connect(&m_read, &IDListRead::statusChanged, this, [this](const QString& text) {
        m_s.WaitLbl = text;
        m_s.WaitLblVisible = true;
        publish();
    });
    connect(&m_read, &IDListRead::progressed, this, [this](int done, int total) {
        m_s.progress = 100 * done / total;
        publish();
    });
    connect(&m_upload, &IDUpload::progressed, this, [this](int sent, int total) {
        m_s.progress = total > 0 ? 100 * sent / total : 0;
        publish();
    });
    // The program is ending with the window open: the receiver still gets its banks back.
    m_notices = m_tables.subscribe([this](const MemoryChange& change) { tablesChanged(change); });
    connect(&m_link, &link::ScannerLink::shuttingDown, this, [this] {
        m_idt.stop();
        if (m_opened && m_savedBankReply != link::reply::kFailure)
            m_link.putBack(m_savedBankReply, false);
        m_opened = false;
    });
}

IDDirectory::~IDDirectory() = default;

void IDDirectory::tablesChanged(const MemoryChange& change)
{
    if (change.source == this || m_bank < 1 || m_list < 1)
        return;
    const int first = MT::slotOf(m_list, 1);
    bool shown = change.coversBankData(m_bank);
    for (int slot = first; slot < first + MT::kSlotsPerList; ++slot)
        shown = shown || change.coversSlot(m_bank, slot);
    if (!shown)
        return;
    formatgrid();
    if (!slotInRange() || !change.coversSlot(m_bank, m_selectedSlot))
        return;
    if (m_shown != QStringList {m_s.IDbox, m_s.TypeCmb, m_s.NameBox}) {
        Dialogs::Message m {QStringLiteral("ID %1 changed while you were editing it.").arg(m_s.ChBox),
                            QStringLiteral("Question"), Dialogs::Buttons::YesNo, Dialogs::Icon::Question};
        m.informative = QStringLiteral("Keep your edit? No shows the ID as it is now.");
        if (m_dialogs.message(m) == Dialogs::Button::Yes)
            return;
    }
    loadEditor();
    publish();
}

void IDDirectory::loadEditor()
{
    const auto& ids = m_tables.IDs;
    if (ids.at(m_bank, m_selectedSlot, MT::kIdCh).isBlank()) {
        m_s.IDbox = QStringLiteral("000000");
        m_s.TypeCmb.clear();
        m_s.NameBox.clear();
    } else {
        m_s.IDbox = ids.text(m_bank, m_selectedSlot, MT::kIdId);
        m_s.TypeCmb = ids.text(m_bank, m_selectedSlot, MT::kIdType);
        m_s.NameBox = ids.text(m_bank, m_selectedSlot, MT::kIdName);
    }
    m_shown = {m_s.IDbox, m_s.TypeCmb, m_s.NameBox};
}

void IDDirectory::announceSlot()
{
    m_tables.announce(MemoryChange::ids(m_bank, m_selectedSlot, m_selectedSlot, this));
}

void IDDirectory::setBusy(bool busy)
{
    m_s.busy = busy;
    publish();
}

void IDDirectory::open()
{
    m_s.Option1 = false;
    m_s.Option2 = true;
    clearEditor();
    m_opened = true;
    if (m_s.busy && m_closeAfterBusy) {
        // The last session still ends an exchange: its banks go back first.
        m_reopenAfterBusy = true;
        publish();
        return;
    }
    m_closeAfterBusy = false;
    publish();
    m_idt.start();
}

void IDDirectory::clearEditor()
{
    m_selectedSlot = 0;
    m_shown.clear();
    m_s.ChBox.clear();
    m_s.IDbox.clear();
    m_s.TypeCmb.clear();
    m_s.NameBox.clear();
    m_s.currentRow = m_s.currentCol = 0;
}

void IDDirectory::IDT_Timer()
{
    m_idt.stop();
    if (!m_opened || m_s.busy)
        return;
    m_s.WaitLbl = QStringLiteral("Loading Form..");
    m_s.WaitLblVisible = true;
    setBusy(true);
    const QPointer<IDDirectory> self(this);
    QString reply;
    {
        link::ExchangeGuard guard(m_link, kOwner, link::ExchangeGuard::Quiet::Yes);
        reply = guard.held() ? link::RetryUntil(m_link, link::cmd::kSB, {QLatin1String("SB")}) : QString();
        if (!guard.held() && self) {
            setBusy(false);
            texts::refuseBusy(m_dialogs, m_link);
            Q_EMIT closeWanted();
            return;
        }
    }
    if (!self || m_link.isShuttingDown())
        return;
    m_savedBankReply = reply == link::reply::kFailure ? reply : link::cmd::restoreBanks(reply);
    setBusy(false);
    if (closedMeanwhile())
        return;
    if (reply == link::reply::kFailure) {
        m_s.WaitLblVisible = false;
        publish();
        m_dialogs.message({verifyText(QStringLiteral("Unable To Query Scanner For Active Banks"))});
        if (self)
            Q_EMIT closeWanted();
        return;
    }
    formatgrid();
    BankCmb_Click(1);
    if (!self || !m_opened)
        return;
    IDBankCmb_Click(1);
    if (!self)
        return;
    Q_EMIT focusWanted(QStringLiteral("IDBankCmb"));
    if (!m_s.busy) {
        m_s.WaitLblVisible = false;
        publish();
    }
}

void IDDirectory::restoreBanks()
{
    const QString saved = std::exchange(m_savedBankReply, link::reply::kFailure);
    if (saved == link::reply::kFailure || m_link.isShuttingDown())
        return;
    link::ExchangeGuard guard(m_link, kOwner, link::ExchangeGuard::Quiet::No);
    if (guard.held())
        link::RetrySyncOut(m_link, saved);
}

void IDDirectory::Form_Unload()
{
    m_idt.stop();
    m_reopenAfterBusy = false; // closed again before the deferred opening
    clearEditor(); // a closed window asks nothing when its slot changes elsewhere
    if (!m_opened)
        return;
    m_opened = false;
    if (m_s.busy) {
        // The banks go back once the exchange in flight has ended.
        m_closeAfterBusy = true;
        m_read.stop();
        m_upload.stop();
        return;
    }
    restoreBanks();
    Q_EMIT mainWindowWanted();
}

void IDDirectory::BankCmb_Click(int bank)
{
    if (m_s.busy) {
        publish();
        return;
    }
    Q_EMIT focusWanted(QStringLiteral("IDBankCmb"));
    const int before = m_bank;
    clearEditor();
    m_trunkBankShown = false;
    m_bank = bank >= 1 && bank <= MT::kBanks ? bank : 0;
    m_list = m_s.IDBankCmb;
    m_s.BankCmb = m_bank;
    formatgrid();
    if (m_bank == 0)
        return;

    const QPointer<IDDirectory> self(this);
    setBusy(true);
    bool failed = false;
    bool refused = false;
    {
        link::ExchangeGuard guard(m_link, kOwner, link::ExchangeGuard::Quiet::Yes);
        if (!guard.held()) {
            refused = true;
        } else {
            const QString letter = wire::bankLetter(m_bank);
            failed = link::RetryUntil(m_link, QStringLiteral("SB ") + letter, {QLatin1String("SB ")})
                == link::reply::kFailure;
            if (self && !m_link.isShuttingDown()) {
                link::RetrySyncOut(m_link, QLatin1String("MA") + MT::firstChannelText(m_bank));
                m_trunkBankShown = link::RetrySyncOut(m_link, link::cmd::key(13)) != link::reply::kFailure;
            }
        }
    }
    if (!self || m_link.isShuttingDown())
        return;
    setBusy(false);
    if (closedMeanwhile())
        return;
    if (refused) {
        // The receiver stays on the bank shown before, and so does the window.
        m_bank = before;
        m_s.BankCmb = before;
        formatgrid();
        texts::refuseBusy(m_dialogs, m_link);
    } else if (failed) {
        m_dialogs.message({verifyText(QStringLiteral("Is this bank TRUNKED?"))});
        if (self)
            Q_EMIT closeWanted();
    }
}

void IDDirectory::IDBankCmb_Click(int list)
{
    if (m_s.busy) {
        publish();
        return;
    }
    clearEditor();
    m_list = list >= 1 && list <= MT::kLists ? list : 0;
    m_s.IDBankCmb = m_list;
    if (m_bank == 0 || m_list == 0) {
        publish();
        return;
    }
    if (m_s.Option2 || !m_s.Option1) {
        formatgrid();
        return;
    }

    const QPointer<IDDirectory> self(this);
    setBusy(true);
    m_s.TypeLblVisible = false;
    m_s.progress = 0;
    m_s.progressVisible = true;
    publish();
    const IDListRead::Outcome outcome = m_read.run(m_bank, m_list);
    if (!self || m_link.isShuttingDown())
        return;
    if (outcome == IDListRead::Outcome::Failed && !m_closeAfterBusy)
        m_dialogs.message({verifyText(QStringLiteral("Is this bank TRUNKED?"))});
    if (!self)
        return;
    m_s.WaitLblVisible = false;
    m_s.progressVisible = false;
    m_s.TypeLblVisible = true;
    if (outcome != IDListRead::Outcome::Refused) // a read cut short changed some slots too
        m_tables.announce(MemoryChange::ids(m_bank, MT::slotOf(m_list, 1), MT::slotOf(m_list, MT::kSlotsPerList), this));
    formatgrid();
    setBusy(false);
    if (closedMeanwhile())
        return;
    if (outcome == IDListRead::Outcome::Refused)
        texts::refuseBusy(m_dialogs, m_link);
}

bool IDDirectory::closedMeanwhile()
{
    if (!m_closeAfterBusy || m_s.busy)
        return false;
    m_closeAfterBusy = false;
    restoreBanks();
    Q_EMIT mainWindowWanted();
    if (std::exchange(m_reopenAfterBusy, false)) {
        m_opened = true;
        m_idt.start();
    }
    return true;
}

void IDDirectory::Option1_Click()
{
    m_s.Option1 = true;
    m_s.Option2 = false;
    publish();
}

void IDDirectory::Option2_Click()
{
    m_s.Option1 = false;
    m_s.Option2 = true;
    publish();
}

void IDDirectory::formatgrid()
{
    m_s.IDList.clear();
    if (m_bank >= 1 && m_list >= 1) {
        for (int k = 1; k <= MT::kSlotsPerList; ++k) {
            const int slot = MT::slotOf(m_list, k);
            QStringList row {QStringLiteral("%1-%2").arg(m_list).arg(k)};
            for (int col = MT::kIdId; col <= MT::kIdLO; ++col) {
                const Cell& cell = m_tables.IDs.at(m_bank, slot, col);
                row << (cell.isEmpty() ? QStringLiteral(" ") : cell.display());
            }
            m_s.IDList << row;
        }
    }
    m_s.IDTypeBankBox = m_tables.BankTrunkTypes.at(m_bank).display();
    publish();
}

void IDDirectory::WriteBank()
{
    m_stores.StoreIDList(m_bank, m_list);
    m_stores.StoreBankTrunkType(m_bank);
}

bool IDDirectory::slotInRange() const
{
    return m_selectedSlot >= 1 && m_selectedSlot <= MT::kSlots && m_bank >= 1 && m_bank <= MT::kBanks;
}

void IDDirectory::IDList_Click(int row, int col)
{
    if (row < 1 || row > MT::kSlotsPerList || m_list < 1 || m_bank < 1)
        return;
    m_selectedSlot = MT::slotOf(m_list, row);
    if (m_selectedSlot == 0)
        m_selectedSlot = 1;
    m_s.ChBox = QStringLiteral("%1-%2").arg(m_list).arg(row);
    auto& ids = m_tables.IDs;
    loadEditor();
    m_s.currentRow = row;
    m_s.currentCol = col;

    if (col == MT::kIdLO) {
        // Straight writes would land in the middle of another exchange's replies.
        if (m_s.busy || m_link.isBusy()) {
            publish();
            texts::refuseBusy(m_dialogs, m_link);
            return;
        }
        const QString id = MT::trimBlanks(m_s.IDbox);
        const bool unlock = ids.text(m_bank, m_selectedSlot, MT::kIdLO) == kLockedOut;
        ids.set(m_bank, m_selectedSlot, MT::kIdLO, unlock ? QString() : kLockedOut);
        // A bank the receiver would not trunk: its lock-out list is another bank's.
        if (m_trunkBankShown)
            m_link.Write((unlock ? QStringLiteral("ILD ") : QStringLiteral("ILR ")) + id);
        announceSlot();
        formatgrid();
    }
    Q_EMIT focusWanted(col == MT::kIdId ? QStringLiteral("IDbox")
                           : col == MT::kIdType ? QStringLiteral("TypeCmb")
                                                : QStringLiteral("NameBox"));
    publish();
}

void IDDirectory::ChBox_Change(const QString& text) { m_s.ChBox = MT::trimBlanks(text).left(kLabelChars); }

void IDDirectory::IDbox_Change(const QString& text) { m_s.IDbox = MT::trimBlanks(text).left(kIdChars); }

void IDDirectory::TypeCmb_Change(const QString& text) { m_s.TypeCmb = text.left(3); }

void IDDirectory::TypeCmb_Click(const QString& text)
{
    TypeCmb_Change(text);
    Q_EMIT focusWanted(QStringLiteral("NameBox"));
}

void IDDirectory::NameBox_Change(const QString& text)
{
    const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (at < 0) {
        m_s.NameBox = text.left(kIdNameChars);
        return;
    }
    m_s.NameBox = text.left(at).left(kIdNameChars);
    publish();
    CommitID();
}

bool IDDirectory::takeTargetSlot()
{
    // A slot's label is always its own: the box names where the edit goes.
    const int target = BankGrid::slotOfLabel(m_s.ChBox);
    if (target == 0) {
        Dialogs::Message m {QStringLiteral("\"%1\" is not an ID channel.").arg(m_s.ChBox), QStringLiteral("Watch out!"),
                            Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
        m.informative = QStringLiteral("A channel is an ID list and a position, from 1-1 to 10-10.");
        m_s.ChBox = MT::slotLabel(m_selectedSlot);
        publish();
        m_dialogs.message(m);
        return false;
    }
    if (target == m_selectedSlot)
        return true;
    const auto& ids = m_tables.IDs;
    const QString held = MT::trimBlanks(ids.text(m_bank, target, MT::kIdId));
    if (!ids.at(m_bank, target, MT::kIdCh).isBlank() && !held.isEmpty() && !MT::isClearedId(held)) {
        Dialogs::Message m {QStringLiteral("ID %1 holds %2.").arg(MT::slotLabel(target), held), QStringLiteral("Question"),
                            Dialogs::Buttons::YesNo, Dialogs::Icon::Question};
        m.informative = QStringLiteral("Replace it?");
        if (m_dialogs.message(m) != Dialogs::Button::Yes)
            return false;
    }
    m_selectedSlot = target;
    m_s.currentRow = MT::listOfSlot(target) == m_list ? MT::positionOfSlot(target) : 0;
    return true;
}

void IDDirectory::CommitID()
{
    const bool moved = slotInRange() && BankGrid::slotOfLabel(m_s.ChBox) != m_selectedSlot;
    if (!slotInRange() || (!moved && m_shown == QStringList {m_s.IDbox, m_s.TypeCmb, m_s.NameBox}) || !takeTargetSlot())
        return;
    m_s.ChBox = MT::slotLabel(m_selectedSlot);
    QString id = MT::trimBlanks(m_s.IDbox).left(kIdChars);
    if (MT::isDigits(id))
        id = id.rightJustified(kIdChars, QLatin1Char('0'));
    m_s.IDbox = id;
    auto& ids = m_tables.IDs;
    ids.set(m_bank, m_selectedSlot, MT::kIdCh, m_s.ChBox);
    ids.set(m_bank, m_selectedSlot, MT::kIdId, id);
    ids.set(m_bank, m_selectedSlot, MT::kIdType, MT::trimBlanks(m_s.TypeCmb));
    ids.set(m_bank, m_selectedSlot, MT::kIdName, MT::trimBlanks(m_s.NameBox));
    ids.set(m_bank, m_selectedSlot, MT::kIdReserved, QString());
    m_shown = {m_s.IDbox, m_s.TypeCmb, m_s.NameBox};
    WriteBank();
    if (MT::listOfSlot(m_selectedSlot) != m_list)
        m_stores.StoreIDList(m_bank, MT::listOfSlot(m_selectedSlot));
    announceSlot();
    formatgrid();
    publish();
}

void IDDirectory::DeleteImg_Click()
{
    if (!slotInRange())
        return;
    auto& ids = m_tables.IDs;
    // A slot never filled gets its label too, or the store would skip it.
    if (ids.at(m_bank, m_selectedSlot, MT::kIdCh).isBlank())
        ids.set(m_bank, m_selectedSlot, MT::kIdCh, m_s.ChBox);
    ids.set(m_bank, m_selectedSlot, MT::kIdId, QStringLiteral("------"));
    for (int col : {MT::kIdType, MT::kIdName, MT::kIdReserved})
        ids.set(m_bank, m_selectedSlot, col, QString());
    ids.set(m_bank, m_selectedSlot, MT::kIdLO, kLockedOut);
    WriteBank();
    announceSlot();
    formatgrid();
}

void IDDirectory::ConvertLbl_Click() { Q_EMIT convertWanted(); }

void IDDirectory::SendToScanner_Click()
{
    if (m_s.busy || m_link.isBusy()) {
        texts::refuseBusy(m_dialogs, m_link);
        return;
    }
    if (!texts::confirmUpload(m_dialogs))
        return;
    const int bank = m_s.BankCmb;
    const int list = m_s.IDBankCmb;
    if (bank < 1 || bank > MT::kBanks || list < 1 || list > MT::kLists)
        return;
    const QPointer<IDDirectory> self(this);
    m_s.WaitLbl = QStringLiteral("Uploading to scanner..");
    m_s.WaitLblVisible = true;
    m_s.progress = 0;
    m_s.progressVisible = true;
    m_s.uploading = true;
    setBusy(true);
    const IDUpload::Result r = m_upload.run(bank, list);
    if (!self || m_link.isShuttingDown())
        return;
    m_s.WaitLblVisible = false;
    m_s.progressVisible = false;
    m_s.uploading = false;
    setBusy(false);
    const bool closed = m_closeAfterBusy;
    texts::reportUpload(m_dialogs, m_link, r, QStringLiteral("ID"), QStringLiteral("IDs"));
    if (self && closed)
        closedMeanwhile();
}

void IDDirectory::StopCmd_Click()
{
    m_upload.stop();
    m_read.stop();
}

void IDDirectory::OKCmd_Click()
{
    WriteBank();
    Q_EMIT closeWanted();
}

void IDDirectory::CancelCmd_Click() { Q_EMIT closeWanted(); }

} // namespace vexlor::memory

#include "moc_IDDirectory.cpp"
