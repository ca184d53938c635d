#pragma once

#include "memory/IDListRead.h"
#include "memory/IDUpload.h"
#include "memory/MemoryNotices.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace vexlor::platform {
class Dialogs;
}
namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::memory {

class LocalStores;
class MemoryTables;

// What the ID directory window shows, one field per control.
struct IDDirState {
    int BankCmb = 0;   // 1..10, 0 before the first choice
    int IDBankCmb = 0; // 1..10
    bool Option1 = false; // "Scanner*"
    bool Option2 = true;  // "File"
    QStringList headings; // IDList row 0: "Ch", "ID", "Type", "Name", "L/O"
    QList<QStringList> IDList; // rows 1..10, five cells each
    bool WaitLblVisible = false;
    QString WaitLbl;
    bool progressVisible = false;
    int progress = 0; // 0..100
    bool TypeLblVisible = true;
    QString IDTypeBankBox; // the bank's trunk-type short form
    QString ChBox;
    QString IDbox;
    QString TypeCmb;
    QString NameBox;
    bool busy = false;      // an exchange of this window runs
    bool uploading = false; // StopCmd works while true
    int currentRow = 0;
    int currentCol = 0;
};

// The ID directory's logic: the ten talkgroup IDs of one list of one bank,
// read from the receiver or taken from the tables, edited and stored, and
// uploaded. While it is open the receiver is on the chosen bank; closing
// gives the receiver its active banks back.
class IDDirectory : public QObject {
    Q_OBJECT
public:
    static constexpr int kOpenDelayMs = 100;

    struct Parts {
        link::ScannerLink& link;
        platform::Dialogs& dialogs;
        MemoryTables& tables;
        LocalStores& stores;
    };

    explicit IDDirectory(const Parts& parts, QObject* parent = nullptr);
    ~IDDirectory() override;

    const IDDirState& state() const { return m_s; }
    QString SavedBankReply() const { return m_savedBankReply; }
    int SelectedSlot() const { return m_selectedSlot; }
    int bank() const { return m_bank; }
    int list() const { return m_list; }
    QTimer& IDT() { return m_idt; }
    IDListRead& reader() { return m_read; }
    IDUpload& uploader() { return m_upload; }

    // The menu item: the window shows, and IDT fires once 100 ms later.
    void open();
    void IDT_Timer();
    // The window is closing: a running read or upload ends first, then the
    // receiver's active banks are sent back; then the main window comes forward.
    void Form_Unload();

    void BankCmb_Click(int bank);
    void IDBankCmb_Click(int list);
    void Option1_Click();
    void Option2_Click();
    void IDList_Click(int row, int col);
    // The channel box: the label of the slot Save writes to. Another slot's
    // label moves the edit there; one that names no slot is refused.
    void ChBox_Change(const QString& text);
    void IDbox_Change(const QString& text);
    void TypeCmb_Change(const QString& text);
    void TypeCmb_Click(const QString& text);
    void NameBox_Change(const QString& text);
    void CommitID(); // SaveImg
    void DeleteImg_Click();
    void ConvertLbl_Click();
    void SendToScanner_Click();
    void StopCmd_Click();
    void OKCmd_Click();
    void CancelCmd_Click();

    void formatgrid();
    void WriteBank();

Q_SIGNALS:
    void changed();
    void focusWanted(const QString& control);
    void closeWanted();
    void mainWindowWanted();
    void convertWanted();

private:
    void publish() { Q_EMIT changed(); }
    void setBusy(bool busy);
    void restoreBanks();
    // The window was closed while an exchange ran: the close is finished now.
    bool closedMeanwhile();
    bool slotInRange() const;
    // The slot the channel box names becomes the one edited; false when it names none or the operator keeps its ID.
    bool takeTargetSlot();
    // No slot chosen and empty boxes: Save, Enter and Clear then act on nothing.
    void clearEditor();
    // The boxes from the selected slot's record, with no edit of the operator's.
    void loadEditor();
    // Another window, a read or an import changed the tables: the list and the editor follow.
    void tablesChanged(const MemoryChange& change);
    void announceSlot();

    link::ScannerLink& m_link;
    platform::Dialogs& m_dialogs;
    MemoryTables& m_tables;
    LocalStores& m_stores;
    IDListRead m_read;
    IDUpload m_upload;
    QTimer m_idt;
    IDDirState m_s;
    QString m_savedBankReply = QStringLiteral("FAILURE");
    int m_bank = 0;
    int m_list = 0;
    int m_selectedSlot = 0;
    bool m_opened = false;
    // The receiver took the trunk key on the bank shown: lock-outs sent now are this bank's.
    bool m_trunkBankShown = false;
    bool m_closeAfterBusy = false;
    // Opened again before the last close could finish: it opens once that is done.
    bool m_reopenAfterBusy = false;
    // The boxes as the click filled them: a Save that changes none writes nothing.
    QStringList m_shown;
    MemoryNotices::Subscription m_notices;
};

} // namespace vexlor::memory
