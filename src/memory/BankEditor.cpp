#include "memory/BankEditor.h"

#include "link/Wire.h"
#include "memory/BankSearch.h"
#include "memory/ChannelReplies.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

#include <QPointer>

#include <algorithm>

#include <cmath>

namespace vexlor::memory {

namespace {

using MT = MemoryTables;
namespace wire = link::wire;
using platform::Dialogs;

} // namespace

BankEditor::BankEditor(const Parts& parts, QObject* parent)
    : QObject(parent), m_dialogs(parts.dialogs), m_clipboard(parts.clipboard), m_tables(parts.tables),
      m_stores(parts.stores), m_reports(parts.reports)
{
    // Each step's snapshots share their rows with the grid, so a long history stays small.
    m_undo.setUndoLimit(1000);
    // An undo or redo also ends an in-place edit, whose cell may have moved.
    connect(&m_undo, &QUndoStack::indexChanged, this, [this] {
        m_discard = true;
        publish();
    });
    m_notices = m_tables.subscribe([this](const MemoryChange& change) { tablesChanged(change); });
}

// The history's own end would otherwise report to members already gone.
BankEditor::~BankEditor() { m_undo.blockSignals(true); }

QStringList BankEditor::channelRecord(int n) const
{
    QStringList record;
    for (int col = MT::kChFrequency; col <= MT::kChMode; ++col)
        record << m_tables.Channels.text(n, col);
    return record;
}

QStringList BankEditor::idRecord(int slot) const
{
    QStringList record;
    for (int col = MT::kIdId; col <= MT::kIdLO; ++col)
        record << MT::trimBlanks(m_tables.IDs.text(bank(), slot, col));
    return record;
}

QStringList BankEditor::trimmedValues(const QStringList& idRow)
{
    QStringList values;
    for (int col = MT::kIdId; col <= MT::kIdLO; ++col)
        values << MT::trimBlanks(idRow.value(col));
    return values;
}

int BankEditor::channelOfRow(const QStringList& row) { return BankGrid::channelOf(row.value(0)); }

void BankEditor::loadBankData()
{
    m_s.BankNameBox = m_nameBase = m_tables.bankName(bank());
    // A type the selector lacks shows as none, and is kept until the operator picks one.
    m_s.BankTypeBox = m_typeBase = MT::trunkTypeIndex(m_tables.bankTrunkType(bank())).value_or(-1);
}

bool BankEditor::nameEdited() const
{
    const QString name = MT::trimBlanks(m_s.BankNameBox);
    return name != m_nameBase && name != m_tables.bankName(bank());
}

bool BankEditor::typeEdited() const
{
    const int type = m_s.BankTypeBox;
    return type >= 0 && type != m_typeBase && QString(MT::TrunkTypeTable[size_t(type)].shortForm) != m_tables.bankTrunkType(bank());
}

bool BankEditor::channelRowPending(const QStringList& row) const
{
    // Rows without a channel number are skipped by Save, as are rows shown and not changed.
    const int n = channelOfRow(row);
    if (n == 0)
        return false;
    const QStringList now = channelRecord(n);
    const QStringList mine = row.mid(MT::kChFrequency, 6);
    return mine != m_channelBase.value(n, now) && mine != now;
}

bool BankEditor::idRowPending(const QStringList& row) const
{
    // Save skips a row without a label and stops at an invalid one.
    const QString label = MT::trimBlanks(row.value(0));
    if (label.isEmpty())
        return false;
    const int slot = BankGrid::slotOfLabel(label);
    if (slot == 0)
        return true;
    const QStringList mine = trimmedValues(row);
    const QStringList now = idRecord(slot);
    const bool filled = !m_tables.IDs.at(bank(), slot, MT::kIdCh).isBlank();
    return mine != m_idBase.value(slot, now) && !(mine == now && filled);
}

bool BankEditor::unsaved(int tab) const
{
    if (tab == 0)
        return nameEdited() || typeEdited();
    const BankGrid& grid = tab == 1 ? m_channels : m_ids;
    const QList<QStringList> rows = grid.dataRows();
    return std::any_of(rows.begin(), rows.end(), [&](const QStringList& row) {
        return tab == 1 ? channelRowPending(row) : idRowPending(row);
    });
}

void BankEditor::publish()
{
    for (int tab = 0; tab < 3; ++tab)
        m_s.unsaved[size_t(tab)] = unsaved(tab);
    Q_EMIT changed();
}

bool BankEditor::settleEdits()
{
    if (!anyUnsaved())
        return true;
    Dialogs::Message m {QStringLiteral("Bank %1 has changes that are not saved.").arg(bank()), QStringLiteral("Banks"),
                        Dialogs::Buttons::SaveDiscardCancel, Dialogs::Icon::Warning};
    m.informative = QStringLiteral("Save them before you go on? Discard drops them; Cancel goes back to them.");
    const QPointer<BankEditor> self(this);
    const Dialogs::Button answer = m_dialogs.message(m);
    if (!self || answer == Dialogs::Button::Cancel)
        return false;
    if (answer == Dialogs::Button::No) {
        dropEdits();
        return true;
    }
    if (unsaved(0))
        saveBankData();
    if (unsaved(1))
        saveChannels();
    if (unsaved(2) && !saveIDs())
        return false;
    // A refused row or an invalid label keeps the operator here, with Save's message said.
    return self && !anyUnsaved();
}

void BankEditor::dropEdits()
{
    m_discard = true;
    loadBankData();
    loadChannels();
    loadIDs();
}

bool BankEditor::keepMine(const QString& what)
{
    Dialogs::Message m {QStringLiteral("%1 changed while you were editing it.").arg(what), QStringLiteral("Question"),
                        Dialogs::Buttons::YesNo, Dialogs::Icon::Question};
    m.informative = QStringLiteral("Save your version? No keeps the one it has now.");
    return m_dialogs.message(m) == Dialogs::Button::Yes;
}

void BankEditor::tablesChanged(const MemoryChange& change)
{
    if (change.source == this || !change.touchesBank(bank()))
        return;
    // What the operator has not edited shows the new values; an edit stays for Save to settle.
    // An edited box keeps its baseline, so that Save sees both changes.
    if (change.coversBankData(bank()) && MT::trimBlanks(m_s.BankNameBox) == m_nameBase)
        m_s.BankNameBox = m_nameBase = m_tables.bankName(bank());
    if (change.coversBankData(bank()) && m_s.BankTypeBox == m_typeBase)
        m_s.BankTypeBox = m_typeBase = MT::trunkTypeIndex(m_tables.bankTrunkType(bank())).value_or(-1);
    bool replaced = false;
    QList<QStringList> rows = m_channels.dataRows();
    for (QStringList& row : rows) {
        const int n = channelOfRow(row);
        if (!m_channelBase.contains(n) || !change.coversChannel(n) || row.mid(MT::kChFrequency, 6) != m_channelBase.value(n))
            continue; // an edit keeps its baseline, so that Save sees both changes
        row = QStringList {row[0]} + channelRecord(n);
        m_channelBase.insert(n, row.mid(MT::kChFrequency, 6));
        replaced = true;
    }
    if (replaced)
        m_channels.setDataRows(rows);
    bool idsTouched = false;
    for (int slot = 1; slot <= MT::kSlots; ++slot)
        idsTouched = idsTouched || change.coversSlot(bank(), slot);
    if (idsTouched && idRowsAsLoaded()) {
        // New slots only join a list the operator has not touched.
        m_ids.setDataRows(banksearch::idRows(m_tables, bank()));
        for (int slot = 1; slot <= MT::kSlots; ++slot)
            m_idBase.insert(slot, idRecord(slot));
        replaced = true;
    } else if (idsTouched) {
        QList<QStringList> idRows = m_ids.dataRows();
        for (QStringList& row : idRows) {
            const int slot = MT::slotLabel(BankGrid::slotOfLabel(row.value(0))) == row.value(0) ? BankGrid::slotOfLabel(row.value(0)) : 0;
            if (slot == 0 || !change.coversSlot(bank(), slot) || trimmedValues(row) != m_idBase.value(slot))
                continue;
            row = QStringList {row[0]} + idRecord(slot);
            m_idBase.insert(slot, idRecord(slot));
            replaced = true;
        }
        m_ids.setDataRows(idRows);
    }
    // The history held rows from before the change; undoing into them would bring them back.
    if (replaced)
        m_undo.clear();
    publish();
}

bool BankEditor::idRowsAsLoaded() const
{
    // Every ID row as loaded: its slot's own label and its baseline values, and no row more or less.
    int filled = 0;
    for (const QStringList& row : m_ids.dataRows()) {
        const int slot = BankGrid::slotOfLabel(row.value(0));
        if (slot == 0 || row.value(0) != MT::slotLabel(slot))
            return false;
        if (trimmedValues(row) != m_idBase.value(slot))
            return false;
        ++filled;
    }
    int baseFilled = 0;
    for (const QStringList& values : m_idBase)
        baseFilled += !values.value(0).isEmpty();
    return filled == baseFilled;
}

void BankEditor::open()
{
    m_channels.select(0, 0, 0, 0);
    m_ids.select(0, 0, 0, 0);
    m_s.tab = 0;
    showBank(1);
    publish();
}

void BankEditor::refreshReports()
{
    const int priority = m_reports.priorityChannel ? m_reports.priorityChannel(bank()) : 0;
    m_s.PCH = QStringLiteral("Priority Channel: ") + wire::digits(priority, 3);
    m_s.VR_lbl = m_reports.lastVR ? m_reports.lastVR() : QString();
    m_s.SI_lbl = m_reports.lastSI ? m_reports.lastSI() : QString();
}

void BankEditor::HScroll1_Change(int bank)
{
    // Cancel keeps the bank, and the scroll bar goes back to it.
    if (std::clamp(bank, 1, MT::kBanks) != this->bank() && settleEdits())
        showBank(bank);
    publish();
}

void BankEditor::showBank(int bank)
{
    m_discard = true;
    m_s.HScroll1 = std::clamp(bank, 1, MT::kBanks);
    if (m_reports.offerTrunkSystem)
        m_reports.offerTrunkSystem(this->bank());
    loadBankData();
    m_s.BankNumber = wire::digits(this->bank(), 2);
    refreshReports();
    for (QString& caption : m_s.tabCaptions)
        caption = caption.left(caption.size() - 4) + QLatin1Char('(') + m_s.BankNumber + QLatin1Char(')');
    // Both grids: one left holding another bank's rows would be taken for edits.
    loadChannels();
    loadIDs();
}

void BankEditor::SSTab1_Click(int tab)
{
    showTab(tab);
    publish();
}

void BankEditor::showTab(int tab)
{
    m_discard = true;
    m_s.tab = std::clamp(tab, 0, 2);
    // A grid keeps its unsaved edits while another tab shows; one without them shows the tables as they are.
    if (m_s.tab == 0)
        refreshReports();
    else if (m_s.tab == 1 && !unsaved(1))
        loadChannels();
    else if (m_s.tab == 2 && !unsaved(2))
        loadIDs();
}

void BankEditor::loadChannels()
{
    m_channels.setDataRows(banksearch::channelRows(m_tables, bank()));
    m_channelBase.clear();
    const int first = MT::firstChannel(bank());
    for (int n = first; n < first + MT::kChannelsPerBank; ++n)
        m_channelBase.insert(n, channelRecord(n));
}

void BankEditor::loadIDs()
{
    m_ids.setDataRows(banksearch::idRows(m_tables, bank()));
    m_idBase.clear();
    for (int slot = 1; slot <= MT::kSlots; ++slot)
        m_idBase.insert(slot, idRecord(slot));
}

BankGrid& BankEditor::showGrid(int bank, int tab)
{
    // Undo and redo come here with every later change of the history undone,
    // so the grids hold nothing of the operator's to ask about.
    if (bank != this->bank())
        showBank(bank);
    if (tab != m_s.tab)
        showTab(tab);
    return currentGrid();
}

void BankEditor::BankNameBox_Change(const QString& text)
{
    m_s.BankNameBox = text.contains(QLatin1Char('\r')) ? text.chopped(1) : text;
    publish();
}

void BankEditor::BankTypeBox_Click(int entry)
{
    m_s.BankTypeBox = std::clamp(entry, 0, int(MT::TrunkTypeTable.size()) - 1);
    publish();
}

QString BankEditor::beginEdit(int row, int col)
{
    if (m_s.tab == 0 || row < 1 || row >= currentGrid().rowCount())
        return QString();
    m_editRow = row;
    m_editCol = col;
    m_discard = false;
    return currentGrid().cell(row, col);
}

void BankEditor::endEdit(const QString& text)
{
    if (m_discard)
        return;
    m_discard = true;
    // A grid never holds one channel or slot twice: Save would write both rows to it.
    QStringList probe = currentGrid().row(m_editRow);
    if (m_editCol == 0 && !probe.isEmpty()) {
        probe[0] = text;
        const int key = currentGrid().identity(probe);
        if (const int held = currentGrid().rowHolding(key, m_editRow); held != 0) {
            const QString what = m_s.tab == 1 ? QStringLiteral("Channel %1").arg(key) : QStringLiteral("ID %1").arg(MT::slotLabel(key));
            m_dialogs.message({QStringLiteral("%1 is already in row %2.").arg(what).arg(held), QStringLiteral("Banks"),
                               Dialogs::Buttons::Ok, Dialogs::Icon::Warning});
            publish();
            return;
        }
    }
    push(new EditCellCommand(*this, bank(), m_s.tab, m_editRow, m_editCol, text));
    publish();
}

void BankEditor::selectCells(int row, int col, int rowEnd, int colEnd)
{
    if (m_s.tab != 0)
        currentGrid().select(row, col, rowEnd, colEnd);
}

void BankEditor::C_Click(int index)
{
    if (m_s.tab == 0)
        return;
    BankGrid& grid = currentGrid();
    const int b = bank(), tab = m_s.tab;
    switch (index) {
    case 0: grid.selectAll(); break;
    case 1:
    case 2: {
        // A copy that starts in the header copies nothing and leaves the clipboard alone.
        const QString text = grid.copy();
        if (!text.isEmpty())
            m_clipboard.setText(text);
        if (index == 1)
            push(new CutCommand(*this, b, tab));
        break;
    }
    case 3: push(new PasteCommand(*this, b, tab, m_clipboard.text())); break;
    case 4: push(new DeleteRowsCommand(*this, b, tab)); break;
    case 5: push(new AddRowCommand(*this, b, tab)); break;
    case 6: push(new InsertRowCommand(*this, b, tab)); break;
    default: return;
    }
    publish();
}

void BankEditor::headerPressed(int column, bool leftButton, bool shiftOnly)
{
    if (m_s.tab != 0)
        push(new SortCommand(*this, bank(), m_s.tab, column, leftButton, shiftOnly));
}

bool BankEditor::findNext(const QString& text)
{
    const BankGrid::Selection& sel = currentGrid().selection();
    const banksearch::Place from {bank(), m_s.tab, m_s.tab == 0 ? 0 : sel.row, m_s.tab == 0 ? 0 : sel.col};
    const std::optional<banksearch::Place> to = banksearch::findNext(m_tables, text, from, currentGrid());
    // A match in another bank: the edits here are settled first, never dropped.
    if (to && to->bank != bank() && !settleEdits()) {
        publish();
        return false;
    }
    if (!to) {
        m_dialogs.message({QStringLiteral("Cannot find \"%1\".").arg(text), QStringLiteral("Find"), Dialogs::Buttons::Ok,
                           Dialogs::Icon::Information});
        return false;
    }
    BankGrid& grid = showGrid(to->bank, to->tab);
    if (to->tab != 0)
        grid.select(to->row, to->col, to->row, to->col);
    publish();
    return true;
}

bool BankEditor::close()
{
    if (!settleEdits()) {
        publish();
        return false;
    }
    m_discard = true;
    m_undo.clear();
    publish();
    return true;
}

bool BankEditor::save()
{
    const QPointer<BankEditor> self(this);
    bool completed = true;
    switch (m_s.tab) {
    case 0: saveBankData(); break;
    case 1: saveChannels(); break;
    default: completed = saveIDs(); break;
    }
    if (self)
        publish(); // the tab's mark goes
    return completed;
}

void BankEditor::saveBankData()
{
    const QString name = MT::trimBlanks(m_s.BankNameBox);
    const int type = m_s.BankTypeBox;
    const bool nameEdited = this->nameEdited();
    const bool typeEdited = this->typeEdited();
    const bool movedOn = m_tables.bankName(bank()) != m_nameBase
        || MT::trunkTypeIndex(m_tables.bankTrunkType(bank())).value_or(-1) != m_typeBase;
    if ((nameEdited || typeEdited) && movedOn && !keepMine(QStringLiteral("Bank %1").arg(bank()))) {
        loadBankData();
        publish();
        return;
    }
    if (nameEdited) {
        m_tables.BankNames.set(bank(), name);
        m_stores.StoreBankName(bank());
    }
    if (typeEdited) {
        m_tables.BankTrunkTypes.set(bank(), QString(MT::TrunkTypeTable[size_t(type)].shortForm));
        m_stores.StoreBankTrunkType(bank());
    }
    m_nameBase = m_tables.bankName(bank());
    m_typeBase = MT::trunkTypeIndex(m_tables.bankTrunkType(bank())).value_or(-1);
    if (nameEdited || typeEdited)
        m_tables.announce(MemoryChange::bankData(bank(), this));
}

void BankEditor::saveChannels()
{
    QList<QStringList> rows = m_channels.dataRows();
    bool declined = false;
    QStringList refused;
    for (QStringList& row : rows) {
        // The row's own channel number decides, so sorted or moved rows update the right channel.
        const int n = channelOfRow(row);
        if (n == 0)
            continue;
        const QStringList mine = row.mid(MT::kChFrequency, 6);
        const QStringList now = channelRecord(n);
        // A channel of another bank, pasted here, has no baseline: the tables are its.
        const QStringList base = m_channelBase.value(n, now);
        if (mine == base || mine == now)
            continue; // a row shown and not changed fills no channel
        // Stored, it would be lost at the upload without a word: the row stays unsaved.
        if (const QString why = channels::frequencyRefusal(row[MT::kChFrequency]); !why.isEmpty()) {
            refused << QStringLiteral("Channel %1: %2").arg(n).arg(why);
            continue;
        }
        if (now != base && !keepMine(QStringLiteral("Channel %1").arg(n))) {
            row = QStringList {row[0]} + now;
            declined = true;
            m_channelBase.insert(n, now);
            continue;
        }
        m_tables.Channels.set(n, MT::kChCh, n);
        for (int col = MT::kChFrequency; col <= MT::kChMode; ++col)
            m_tables.Channels.set(n, col, row[col]);
        m_stores.StoreChannelRange(n, n);
        m_channelBase.insert(n, channelRecord(n));
        m_tables.announce(MemoryChange::channels(n, n, this));
    }
    if (declined)
        m_channels.setDataRows(rows);
    if (refused.isEmpty())
        return;
    Dialogs::Message m {QStringLiteral("%1 channel(s) not saved.").arg(refused.size()), QStringLiteral("Watch out!"),
                        Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
    m.informative = refused.join(QLatin1Char('\n')) + QStringLiteral("\nCorrect them, then save again.");
    m_dialogs.message(m);
}

bool BankEditor::saveIDs()
{
    const QPointer<BankEditor> self(this);
    const int b = bank();
    bool completed = true;
    QList<QStringList> rows = m_ids.dataRows();
    bool declined = false;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QString label = MT::trimBlanks(rows[r][0]);
        if (label.isEmpty())
            continue;
        const int slot = BankGrid::slotOfLabel(label);
        if (slot == 0) {
            m_ids.select(int(r) + 1, 0, int(r) + 1, 0);
            publish();
            const Dialogs::Message m {QStringLiteral("Scan List Index is INVALID!\r\nContinue with Next Row?"),
                                      QStringLiteral("Continue?"), Dialogs::Buttons::YesNo, Dialogs::Icon::Warning};
            if (m_dialogs.message(m) != Dialogs::Button::Yes || !self) {
                completed = false;
                break;
            }
            continue;
        }
        const QStringList mine = trimmedValues(rows[r]);
        const QStringList now = idRecord(slot);
        const QStringList base = m_idBase.value(slot, now);
        const bool filled = !m_tables.IDs.at(b, slot, MT::kIdCh).isBlank();
        if (mine == base || (mine == now && filled))
            continue; // shown and not changed
        if (now != base && !keepMine(QStringLiteral("ID %1 of bank %2").arg(MT::slotLabel(slot)).arg(b))) {
            if (!self)
                return false;
            // No keeps the one it has now, in the grid too.
            rows[r] = QStringList {rows[r][0]} + now;
            declined = true;
            m_idBase.insert(slot, now);
            continue;
        }
        if (!self)
            return false;
        // The slot's own label: one saved as typed ("1 - 5") would not load again.
        m_tables.IDs.set(b, slot, MT::kIdCh, MT::slotLabel(slot));
        for (int col = MT::kIdId; col <= MT::kIdLO; ++col)
            m_tables.IDs.set(b, slot, col, mine[col - MT::kIdId]);
        m_tables.IDs.set(b, slot, MT::kIdReserved, QString());
        // Written through like every other edit: otherwise the IDs saved here are gone at the next start.
        m_stores.StoreIDSlot(b, slot);
        m_idBase.insert(slot, idRecord(slot));
        m_tables.announce(MemoryChange::ids(b, slot, slot, this));
    }
    if (!self)
        return false;
    if (declined)
        m_ids.setDataRows(rows);
    return completed;
}

} // namespace vexlor::memory

#include "moc_BankEditor.cpp"
