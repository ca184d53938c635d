#pragma once

#include "memory/BankRead.h"
#include "memory/BankUpload.h"
#include "memory/MemoryNotices.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace vexlor::platform {
class Dialogs;
class SerialPort;
}
namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::memory {

class LocalStores;
class MemoryTables;

// What the frequency directory window shows, one field per control.
struct FreqDirState {
    int BankCmb = 0;      // 1..10, 0 before the first choice
    bool Option1 = false; // "Scanner*"
    bool Option2 = true;  // "File"
    QStringList headings; // FreqList row 0
    QList<QStringList> FreqList; // rows 1..30, ten cells each
    bool WaitLblVisible = false;
    QString WaitLbl = QStringLiteral("Please wait a moment ...");
    bool progressVisible = false; // the bar beside WaitLbl
    int progress = 0;             // 0..100
    QString ChBox;
    QString FreqBox;
    QString TypeCmb;
    QString NameBox;
    bool DelayChk = false;
    bool L_OChk = false;
    bool TrunkChk = false;
    QString IDBankNameBox;
    QString IDTypeBankBox; // one of the seven selector texts
    bool DataSendToScannerCmdEnabled = false;
    bool SaveImgEnabled = false;
    bool uploading = false; // StopCmd works while true
    int currentRow = 0;     // the cell a grid click selected; 0: none
    int currentCol = 0;
};

// The frequency directory's logic: one bank of 30 channels read from the
// receiver or taken from the tables, edited, stored at every commit, and
// uploaded. The window renders state() and turns each event into one call.
class FreqDirectory : public QObject {
    Q_OBJECT
public:
    static inline const QString kHelpTitle = QStringLiteral("Frequency Programming");
    static QString helpText();

    struct Parts {
        link::ScannerLink& link;
        platform::SerialPort& port;
        platform::Dialogs& dialogs;
        MemoryTables& tables;
        LocalStores& stores;
        // Asks whether to take the trunk system the receiver reported for a bank shown.
        std::function<void(int bank)> offerTrunkSystem = {};
    };

    explicit FreqDirectory(const Parts& parts, QObject* parent = nullptr);
    ~FreqDirectory() override;

    const FreqDirState& state() const { return m_s; }
    int SelectedBank() const { return m_selectedBank; }
    int LastChannel() const { return m_lastChannel; }
    BankRead& reader() { return m_read; }
    BankUpload& uploader() { return m_upload; }
    // A read or an upload of this window runs.
    bool isBusy() const { return m_read.isRunning() || m_upload.isRunning(); }

    // The menu item: "File", bank 1, focus on BankCmb.
    void open();
    // The window is closing: a running read or upload ends, the receiver is
    // released and the poll restarted; then the main window comes forward.
    void Form_Unload();

    void BankCmb_Click(int bank);
    void Option1_Click();
    void Option2_Click();
    void FreqList_Click(int row, int col);
    void CommitChannel(); // SaveImg
    void DeleteImg_Click();
    void OKCmd_Click();
    void FreqLbl_Click();
    void HelpCmd_Click();
    void DataSendToScannerCmd_Click();
    // StopCmd or Esc: ends the upload after the transaction in flight.
    void StopCmd_Click();

    // Editor boxes; a line break in the text is Enter.
    void ChBox_Change(const QString& text);
    void FreqBox_Change(const QString& text);
    void TypeCmb_Change(const QString& text);
    void TypeCmb_LostFocus();
    void NameBox_Change(const QString& text);
    void NameBox_LostFocus();
    void DelayChk_Click(bool checked);
    void L_OChk_Click(bool checked);
    void TrunkChk_Click(bool checked);
    void IDBankNameBox_Change(const QString& text);
    void IDBankNameBox_LostFocus();
    void IDTypeBankBox_Click(const QString& selector);

    void formatgrid();
    void WriteBank();

Q_SIGNALS:
    void changed();
    // The window moves the focus to the control of that name.
    void focusWanted(const QString& control);
    void scrollToTop();
    void helpWanted(const QString& title, const QString& text);
    void closeWanted();
    void mainWindowWanted();

private:
    void publish() { Q_EMIT changed(); }
    void storeTrunkTypeFromSelector();
    // Another window, a read or an import changed the tables: the grid and the editor follow.
    void tablesChanged(const MemoryChange& change);
    void announceChannel(int c);
    void commitBankName();
    void readFinished(int decoded);
    bool commitFrequencyBox();
    int editedChannel() const;
    // The boxes other than the frequency hold something channel c's record does not.
    bool editedBesideFrequency(int c) const;
    // The editor's boxes from channel c's record, with no edit of the operator's.
    void loadEditor(int c);
    void clearEditor();
    // Channel c's record changed under the editor: it shows the new values
    // unless it holds an edit, and then the operator says which to keep.
    void recordChanged(int c);
    // An edit box took a text; only a real change counts as the operator's edit.
    void edited(QString& box, const QString& text);
    // The bank's stored trunk type is none the selector lists: said, and true.
    bool refuseUnlistedTrunkType();

    link::ScannerLink& m_link;
    platform::Dialogs& m_dialogs;
    MemoryTables& m_tables;
    LocalStores& m_stores;
    std::function<void(int bank)> m_offerTrunkSystem;
    BankRead m_read;
    BankUpload m_upload;
    FreqDirState m_s;
    int m_selectedBank = 0;
    int m_lastChannel = 0;
    bool m_filling = false;
    // The editor holds a change of the operator's that the tables do not have
    // yet: only then does a commit write anything.
    bool m_edited = false;
    // The bank name box holds the operator's text, not yet stored.
    bool m_nameEdited = false;
    bool m_nameChangedMeanwhile = false; // and the stored name changed elsewhere since
    MemoryNotices::Subscription m_notices;
};

} // namespace vexlor::memory
