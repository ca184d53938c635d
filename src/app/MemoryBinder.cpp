#include "app/MemoryBinder.h"

#include "app/Application.h"
#include "app/OwnFiles.h"
#include "app/SecondaryWindow.h"
#include "app/ui/MainWindow.h"
#include "memory/ui/Banks.h"
#include "memory/ui/FreqDir.h"
#include "memory/ui/IDdir.h"
#include "memory/ui/Transfer.h"
#include "monitor/StatusRefresh.h"
#include "platform/Dialogs.h"
#include "utilities/ui/FrmHelp.h"
#include "utilities/ui/TGConvert.h"

#include <QAction>

namespace vexlor::app {

MemoryBinder::MemoryBinder(Application& app)
    : m_app(app),
      m_offers(app.tables(), app.stores(), app.platform().dialogs),
      m_freq({app.link(), app.platform().port, app.platform().dialogs, app.tables(), app.stores(),
              [this](int bank) { m_offers.offer(bank); }}),
      m_id({app.link(), app.platform().dialogs, app.tables(), app.stores()}),
      m_transfer({app.link(), app.platform().port, app.platform().dialogs, app.tables(), app.stores(),
                  [&app] { return ownFiles(app.INIObj(), app.stores()); }}),
      m_banks({app.platform().dialogs, app.platform().clipboard, app.tables(), app.stores(),
               {[&d = app.decoder()](int bank) { return d.PriorityChannels[size_t(std::clamp(bank, 0, 10))]; },
                [&d = app.decoder()] { return d.LastVRReply; }, [&d = app.decoder()] { return d.LastSIReply; },
                [this](int bank) { m_offers.offer(bank); }}})
{
    MainWindow& w = app.window();
    const std::pair<const char*, void (MemoryBinder::*)()> items[] = {
        {"EditMemories", &MemoryBinder::EditMemories_Click},
        {"EditIDdir", &MemoryBinder::EditIDdir_Click},
        {"TGConvertMnu", &MemoryBinder::TGConvertMnu_Click},
        {"ImportTaggedTextFile", &MemoryBinder::ImportTaggedTextFile_Click},
        {"ExportTaggedTextFile", &MemoryBinder::ExportTaggedTextFile_Click},
        {"BackupScannerMnu", &MemoryBinder::BackupScannerMnu_Click},
        {"EditBanks", &MemoryBinder::EditBanks_Click},
    };
    for (const auto& [name, handler] : items) {
        if (QAction* a = w.action(QLatin1String(name))) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, [this, h = handler] { (this->*h)(); });
        }
    }
    connect(&app.decoder(), &monitor::StatusDecoder::trunkSystemReported, this,
            [this](int bank, const QString& system) { m_offers.reported(bank, system); });
    connect(&m_freq, &memory::FreqDirectory::helpWanted, this, &MemoryBinder::showHelp);
    connect(&m_freq, &memory::FreqDirectory::mainWindowWanted, this, &MemoryBinder::bringMainForward);
    connect(&m_id, &memory::IDDirectory::mainWindowWanted, this, &MemoryBinder::bringMainForward);
    connect(&m_id, &memory::IDDirectory::convertWanted, this, &MemoryBinder::TGConvertMnu_Click);
    connect(&m_transfer, &memory::TaggedTextTransfer::changed, this, &MemoryBinder::showTransfer);
    connect(&m_transfer, &memory::TaggedTextTransfer::statusRefreshWanted, this,
            [this] { monitor::ResetAllStatus(m_app.link()); });
}

MemoryBinder::~MemoryBinder() = default;

void MemoryBinder::EditMemories_Click()
{
    if (m_app.finished())
        return;
    if (!m_freqWindow)
        m_freqWindow = std::make_unique<memory::FreqDir>(m_freq);
    showSecondaryWindow(m_app.window(), *m_freqWindow);
    m_freq.open();
}

void MemoryBinder::EditIDdir_Click()
{
    if (m_app.finished())
        return;
    if (!m_idWindow)
        m_idWindow = std::make_unique<memory::IDdir>(m_id);
    // Already open: it stays on its bank and list.
    if (m_idWindow->isVisible()) {
        showSecondaryWindow(m_app.window(), *m_idWindow);
        return;
    }
    showSecondaryWindow(m_app.window(), *m_idWindow);
    m_id.open();
}

void MemoryBinder::TGConvertMnu_Click()
{
    if (m_app.finished())
        return;
    // Written once, when missing; the lookup then reads it like any other copy.
    QString why;
    if (!utilities::TalkgroupConverter::ensureAfsFile(m_converter.afsFile(), &why)) {
        using platform::Dialogs;
        Dialogs::Message m {QStringLiteral("The talkgroup table %1 could not be written.").arg(m_converter.afsFile()), {},
                            Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
        m.informative = why;
        m_app.platform().dialogs.message(m);
    }
    m_converter.open();
    if (!m_converterWindow)
        m_converterWindow = std::make_unique<utilities::TGConvert>(m_converter);
    showSecondaryWindow(m_app.window(), *m_converterWindow);
}

void MemoryBinder::ImportTaggedTextFile_Click()
{
    if (!m_app.finished())
        m_transfer.ImportTaggedTextFile();
}

void MemoryBinder::ExportTaggedTextFile_Click()
{
    if (!m_app.finished())
        m_transfer.ExportTaggedTextFile();
}

void MemoryBinder::BackupScannerMnu_Click()
{
    if (!m_app.finished())
        m_transfer.BackupScanner();
}

void MemoryBinder::EditBanks_Click()
{
    if (m_app.finished())
        return;
    if (!m_banksWindow)
        m_banksWindow = std::make_unique<memory::Banks>(m_banks);
    // Already open: it stays on its bank, tab and edits.
    const bool open = m_banksWindow->isVisible();
    showSecondaryWindow(m_app.window(), *m_banksWindow);
    if (!open)
        m_banks.open();
}

bool MemoryBinder::mayClose() { return !m_banksWindow || !m_banksWindow->isVisible() || m_banksWindow->close(); }

void MemoryBinder::showTransfer()
{
    // Made when the first upload or backup starts; it renders and hides itself after that.
    if (m_transferWindow || !m_transfer.state().visible || m_app.finished())
        return;
    m_transferWindow = std::make_unique<memory::Transfer>(m_transfer);
}

void MemoryBinder::showHelp(const QString& caption, const QString& text)
{
    if (!m_helpWindow)
        m_helpWindow = std::make_unique<utilities::FrmHelp>();
    m_helpWindow->Load(caption, text);
    QWidget* over = m_freqWindow && m_freqWindow->isVisible() ? static_cast<QWidget*>(m_freqWindow.get())
                                                              : &m_app.window();
    m_helpWindow->setParent(over, m_helpWindow->windowFlags());
    m_helpWindow->exec();
}

void MemoryBinder::bringMainForward()
{
    if (!m_app.finished())
        bringForward(m_app.window());
}

} // namespace vexlor::app

#include "moc_MemoryBinder.cpp"
