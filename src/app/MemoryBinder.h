#pragma once

#include "memory/FreqDirectory.h"
#include "memory/IDDirectory.h"
#include "utilities/TalkgroupConverter.h"

#include <QObject>
#include <memory>

namespace vexlor::memory {
class FreqDir;
class IDdir;
}
namespace vexlor::utilities {
class FrmHelp;
class TGConvert;
}

namespace vexlor::app {

class Application;

// Connects the Memories menu and the talkgroup converter to the directory
// logic, and owns their windows (made on first use, then reused).
class MemoryBinder : public QObject {
    Q_OBJECT
public:
    explicit MemoryBinder(Application& app);
    ~MemoryBinder() override;

    memory::FreqDirectory& freqDirectory() { return m_freq; }
    memory::IDDirectory& idDirectory() { return m_id; }
    utilities::TalkgroupConverter& converter() { return m_converter; }
    // Null until first opened.
    memory::FreqDir* freqWindow() const { return m_freqWindow.get(); }
    memory::IDdir* idWindow() const { return m_idWindow.get(); }
    utilities::TGConvert* converterWindow() const { return m_converterWindow.get(); }
    utilities::FrmHelp* helpWindow() const { return m_helpWindow.get(); }

    void EditMemories_Click();
    void EditIDdir_Click();
    void TGConvertMnu_Click();
    // Modal, as the directory's Help button wants it.
    void showHelp(const QString& caption, const QString& text);

private:
    void bringMainForward();

    Application& m_app;
    memory::FreqDirectory m_freq;
    memory::IDDirectory m_id;
    utilities::TalkgroupConverter m_converter;
    std::unique_ptr<memory::FreqDir> m_freqWindow;
    std::unique_ptr<memory::IDdir> m_idWindow;
    std::unique_ptr<utilities::TGConvert> m_converterWindow;
    std::unique_ptr<utilities::FrmHelp> m_helpWindow;
};

} // namespace vexlor::app
