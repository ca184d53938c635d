#pragma once

#include "memory/BankGrid.h"
#include "memory/GridCommands.h"
#include "memory/MemoryNotices.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>
#include <functional>

namespace vexlor::platform {
class Clipboard;
class Dialogs;
}

namespace vexlor::memory {

class LocalStores;
class MemoryTables;

// What the Banks window shows, one field per control.
struct BanksState {
    int HScroll1 = 1;
    QString BankNumber;
    int tab = 0; // SSTab1: 0 bank data, 1 channels, 2 IDs
    std::array<QString, 3> tabCaptions {QStringLiteral("Bank (0)"), QStringLiteral("Frequencies (0)"),
                                        QStringLiteral("Scan List IDs (0)")};
    QString BankNameBox;
    int BankTypeBox = 0; // 0..6, the trunk-type selector entry; -1 for a stored type it lacks
    QString PCH = QStringLiteral("Priority Channel: 000");
    QString VR_lbl;
    QString SI_lbl;
    // Tabs holding edits that Save has not stored; their captions carry a mark.
    std::array<bool, 3> unsaved {};
    QString tabText(int tab) const
    {
        const QString& caption = tabCaptions[size_t(tab)];
        return unsaved[size_t(tab)] ? caption + QStringLiteral(" *") : caption;
    }
};

// The receiver's last reports that the bank page shows; the composition
// root hands them in from the status decoder.
struct ReceiverReports {
    std::function<int(int bank)> priorityChannel;
    std::function<QString()> lastVR;
    std::function<QString()> lastSI;
    // Asks whether to take the trunk system the receiver reported for a bank shown.
    std::function<void(int bank)> offerTrunkSystem = {};
};

// The bank editor's logic: one bank at a time, its name and type, and the
// two grids as working copies of the tables. Save writes back only the rows
// the operator changed, measured against what the grid loaded; a change made
// elsewhere shows at once in rows the operator has not touched, and Save asks
// before writing over it. Every grid change goes through the undo stack,
// which lasts until Close or a change made elsewhere. Edits survive a change
// of tab; a change of bank, Find into another bank and Close ask first.
class BankEditor : public QObject, private GridHost {
    Q_OBJECT
public:
    struct Parts {
        platform::Dialogs& dialogs;
        platform::Clipboard& clipboard;
        MemoryTables& tables;
        LocalStores& stores;
        ReceiverReports reports;
    };

    explicit BankEditor(const Parts& parts, QObject* parent = nullptr);
    ~BankEditor() override;

    const BanksState& state() const { return m_s; }
    BankGrid& ChannelGrid() { return m_channels; }
    BankGrid& IDGrid() { return m_ids; }
    BankGrid& currentGrid() { return m_s.tab == 2 ? m_ids : m_channels; }
    int bank() const { return m_s.HScroll1; }
    // An in-place edit is open.
    bool editing() const { return !m_discard && m_s.tab != 0; }
    QUndoStack& undoStack() { return m_undo; }

    // Opening: bank 1, tab 0.
    void open();
    void HScroll1_Change(int bank);
    void SSTab1_Click(int tab);
    void BankNameBox_Change(const QString& text);
    void BankTypeBox_Click(int entry);

    // A double click starts an in-place edit and returns the cell's text;
    // the editor's lost focus ends it.
    QString beginEdit(int row, int col);
    void endEdit(const QString& text);
    // Esc in the editor: the cell keeps its text.
    void cancelEdit() { m_discard = true; }

    // The selection made in the grid that is showing.
    void selectCells(int row, int col, int rowEnd, int colEnd);
    // The edit buttons 0..6: "A", "X", "C", "V", "-", "+", "i".
    void C_Click(int index);
    // A press on the header of the grid that is showing.
    void headerPressed(int column, bool leftButton, bool shiftOnly);
    // Moves to the next bank name, frequency, ID or name holding `text`; false when there is none.
    bool findNext(const QString& text);
    // Close: asks about unsaved edits; false when the operator stays. The history goes with the window.
    bool close();

    // "Save": stores the tab that is showing; false when the operator ended it at an invalid ID row.
    bool save();

Q_SIGNALS:
    void changed();

private:
    BankGrid& showGrid(int bank, int tab) override;
    void showBank(int bank);
    void showTab(int tab);
    bool unsaved(int tab) const;
    bool anyUnsaved() const { return unsaved(0) || unsaved(1) || unsaved(2); }
    bool channelRowPending(const QStringList& row) const;
    bool idRowPending(const QStringList& row) const;
    // Before edits would be dropped: Save, Discard or Cancel. False when the operator stays.
    bool settleEdits();
    void dropEdits();
    void push(GridCommand* command) { m_undo.push(command); }
    void refreshReports();
    void loadChannels();
    void loadIDs();
    void saveBankData();
    void saveChannels();
    bool saveIDs();
    void publish();
    QStringList channelRecord(int n) const; // Frequency..Mode as the tables hold them
    QStringList idRecord(int slot) const;   // ID..L/O of the bank shown, trimmed
    static int channelOfRow(const QStringList& row);
    static QStringList trimmedValues(const QStringList& idRow); // ID..L/O of a grid row
    // Each part keeps what the tables held when it was loaded, to tell the
    // operator's edits from changes made elsewhere.
    void loadBankData();
    bool nameEdited() const;
    bool typeEdited() const;
    bool idRowsAsLoaded() const;
    void tablesChanged(const MemoryChange& change);
    // The operator's edit meets a newer change of `what`: true to save the edit.
    bool keepMine(const QString& what);

    platform::Dialogs& m_dialogs;
    platform::Clipboard& m_clipboard;
    MemoryTables& m_tables;
    LocalStores& m_stores;
    ReceiverReports m_reports;
    BanksState m_s;
    BankGrid m_channels {BankGrid::Kind::Channels};
    BankGrid m_ids {BankGrid::Kind::IDs};
    QUndoStack m_undo;
    bool m_discard = true;
    int m_editRow = 0;
    int m_editCol = 0;
    QHash<int, QStringList> m_channelBase;
    QHash<int, QStringList> m_idBase;
    QString m_nameBase;
    int m_typeBase = -1;
    MemoryNotices::Subscription m_notices;
};

} // namespace vexlor::memory
