#pragma once

#include "memory/BankEditor.h"
#include "memory/FreqDirectory.h"
#include "memory/IDDirectory.h"
#include "memory/TaggedTextTransfer.h"
#include "memory/TrunkSystemOffers.h"
#include "utilities/TalkgroupConverter.h"

#include <QObject>
#include <memory>

namespace vexlor::memory {
class Banks;
class FreqDir;
class IDdir;
class Transfer;
}
namespace vexlor::utilities {
class FrmHelp;
class TGConvert;
}

namespace vexlor::app {

class Application;

// Connects the Memories menu and the talkgroup converter to the directory
// and transfer logic, and owns their windows (made on first use, then reused).
class MemoryBinder : public QObject {
    Q_OBJECT
public:
    explicit MemoryBinder(Application& app);
    ~MemoryBinder() override;

    memory::FreqDirectory& freqDirectory() { return m_freq; }
    memory::IDDirectory& idDirectory() { return m_id; }
    memory::TaggedTextTransfer& transfer() { return m_transfer; }
    memory::BankEditor& bankEditor() { return m_banks; }
    memory::TrunkSystemOffers& trunkSystemOffers() { return m_offers; }
    utilities::TalkgroupConverter& converter() { return m_converter; }
    // Null until first opened.
    memory::FreqDir* freqWindow() const { return m_freqWindow.get(); }
    memory::IDdir* idWindow() const { return m_idWindow.get(); }
    utilities::TGConvert* converterWindow() const { return m_converterWindow.get(); }
    utilities::FrmHelp* helpWindow() const { return m_helpWindow.get(); }
    memory::Transfer* transferWindow() const { return m_transferWindow.get(); }
    memory::Banks* banksWindow() const { return m_banksWindow.get(); }

    void EditMemories_Click();
    void EditIDdir_Click();
    void TGConvertMnu_Click();
    void ImportTaggedTextFile_Click();
    void ExportTaggedTextFile_Click();
    void BackupScannerMnu_Click();
    void EditBanks_Click();
    // Before the program ends: Banks settles its unsaved edits; false when the operator went back to them.
    bool mayClose();
    // Modal, as the directory's Help button wants it.
    void showHelp(const QString& caption, const QString& text);

private:
    void bringMainForward();
    void showTransfer();

    Application& m_app;
    memory::TrunkSystemOffers m_offers;
    memory::FreqDirectory m_freq;
    memory::IDDirectory m_id;
    utilities::TalkgroupConverter m_converter;
    memory::TaggedTextTransfer m_transfer;
    memory::BankEditor m_banks;
    std::unique_ptr<memory::FreqDir> m_freqWindow;
    std::unique_ptr<memory::IDdir> m_idWindow;
    std::unique_ptr<utilities::TGConvert> m_converterWindow;
    std::unique_ptr<utilities::FrmHelp> m_helpWindow;
    std::unique_ptr<memory::Transfer> m_transferWindow;
    std::unique_ptr<memory::Banks> m_banksWindow;
};

} // namespace vexlor::app
