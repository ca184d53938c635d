#include "memory/BankEditor.h"

#include "link/Wire.h"
#include "memory/BankSearch.h"
#include "memory/ChannelReplies.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

#include <QPointer>

#include <cmath>

namespace vexlor::memory {

namespace {

using MT = MemoryTables;
namespace wire = link::wire;
using platform::Dialogs;

// A whole text that is one number, as the label's parts must be.
bool numeric(QStringView text)
{
    bool ok = false;
    MT::trimBlanks(text).toDouble(&ok);
    return ok;
}

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

int BankEditor::channelOfRow(const QStringList& row)
{
    const double value = wire::leadingNumber(row.value(0));
    return value >= 1 && value <= MT::kChannels ? wire::leadingInt(Cell::decimal(value).left(3)) : 0;
}

void BankEditor::takeBaseline()
{
    m_channelBase.clear();
    m_idBase.clear();
    const int first = MT::firstChannel(bank());
    for (int n = first; n < first + MT::kChannelsPerBank; ++n)
        m_channelBase.insert(n, channelRecord(n));
    for (int slot = 1; slot <= MT::kSlots; ++slot)
        m_idBase.insert(slot, idRecord(slot));
    m_nameBase = m_tables.bankName(bank());
    m_typeBase = MT::trunkTypeIndex(m_tables.bankTrunkType(bank())).value_or(-1);
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
            const int slot = MT::slotLabel(slotOfLabel(row.value(0))) == row.value(0) ? slotOfLabel(row.value(0)) : 0;
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
        const int slot = slotOfLabel(row.value(0));
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
    HScroll1_Change(1);
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
    m_discard = true;
    m_s.HScroll1 = std::clamp(bank, 1, MT::kBanks);
    if (m_reports.offerTrunkSystem)
        m_reports.offerTrunkSystem(this->bank());
    m_s.BankNameBox = m_tables.bankName(this->bank());
    // A type the selector lacks shows as none, and is kept until the operator picks one.
    m_s.BankTypeBox = MT::trunkTypeIndex(m_tables.bankTrunkType(this->bank())).value_or(-1);
    takeBaseline();
    m_s.BankNumber = wire::digits(this->bank(), 2);
    refreshReports();
    for (QString& caption : m_s.tabCaptions)
        caption = caption.left(caption.size() - 4) + QLatin1Char('(') + m_s.BankNumber + QLatin1Char(')');
    if (m_s.tab == 1)
        loadChannels();
    else if (m_s.tab == 2)
        loadIDs();
    publish();
}

void BankEditor::SSTab1_Click(int tab)
{
    m_discard = true;
    m_s.tab = std::clamp(tab, 0, 2);
    if (m_s.tab == 0)
        refreshReports();
    else if (m_s.tab == 1)
        loadChannels();
    else
        loadIDs();
    publish();
}

void BankEditor::loadChannels()
{
    m_channels.setDataRows(banksearch::channelRows(m_tables, bank()));
    takeBaseline();
}

void BankEditor::loadIDs()
{
    m_ids.setDataRows(banksearch::idRows(m_tables, bank()));
    takeBaseline();
}

BankGrid& BankEditor::showGrid(int bank, int tab)
{
    if (bank != this->bank()) {
        m_s.tab = std::clamp(tab, 0, 2);
        HScroll1_Change(bank);
    } else if (tab != m_s.tab) {
        SSTab1_Click(tab);
    }
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

void BankEditor::close()
{
    m_discard = true;
    m_undo.clear();
}

int BankEditor::slotOfLabel(const QString& label)
{
    const QString l = MT::trimBlanks(label);
    const qsizetype dash = l.indexOf(QLatin1Char('-'));
    if (dash < 0 || !numeric(QStringView(l).left(dash)) || !numeric(QStringView(l).mid(dash + 1)))
        return 0;
    // A list or position with a fraction names no slot: "1.5-5" is not slot 10.
    for (const QString& part : {l.left(dash), l.mid(dash + 1)}) {
        const double value = wire::leadingNumber(part);
        if (value != std::floor(value))
            return 0;
    }
    const double slot = 10 * wire::leadingNumber(l) - 10 + std::abs(wire::leadingNumber(l.right(2)));
    return slot >= 1 && slot <= MT::kSlots && slot == std::floor(slot) ? int(slot) : 0;
}

bool BankEditor::save()
{
    switch (m_s.tab) {
    case 0: saveBankData(); return true;
    case 1: saveChannels(); return true;
    default: return saveIDs();
    }
}

void BankEditor::saveBankData()
{
    const QString name = MT::trimBlanks(m_s.BankNameBox);
    const int type = m_s.BankTypeBox;
    const bool nameEdited = name != m_nameBase && name != m_tables.bankName(bank());
    const bool typeEdited = type >= 0 && type != m_typeBase
        && QString(MT::TrunkTypeTable[size_t(type)].shortForm) != m_tables.bankTrunkType(bank());
    const bool movedOn = m_tables.bankName(bank()) != m_nameBase
        || MT::trunkTypeIndex(m_tables.bankTrunkType(bank())).value_or(-1) != m_typeBase;
    if ((nameEdited || typeEdited) && movedOn && !keepMine(QStringLiteral("Bank %1").arg(bank()))) {
        HScroll1_Change(bank());
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
    const QList<QStringList> rows = m_ids.dataRows();
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QString label = MT::trimBlanks(rows[r][0]);
        if (label.isEmpty())
            continue;
        const int slot = slotOfLabel(label);
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
    return completed;
}

} // namespace vexlor::memory

#include "moc_BankEditor.cpp"
