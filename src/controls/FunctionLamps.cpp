#include "controls/FunctionLamps.h"

#include "link/Commands.h"
#include "link/ScannerLink.h"
#include "monitor/MainDisplay.h"

namespace vexlor::controls {

namespace cmd = link::cmd;

namespace {
constexpr int kDelayKey = 12;
constexpr int kLockoutKey = 6;
} // namespace

FunctionLamps::FunctionLamps(link::ScannerLink& link, const monitor::MainDisplay& display)
    : m_link(link), m_display(display)
{
}

void FunctionLamps::buttonlbl_Click(int index)
{
    if (index < 0 || index > 4)
        return;
    // As shown: the lamp on screen is the state the operator acts on.
    const bool lit = m_display.published().buttonlbl[size_t(index)];
    auto toggle = [&](QString (*set)(bool), QLatin1String query) {
        m_link.Write(set(!lit));
        m_link.Write(query);
        m_link.Write(cmd::kEmpty);
    };
    switch (index) {
    case 0: toggle(cmd::dataSkip, cmd::kDS); break;
    case 1: toggle(cmd::attenuator, cmd::kAT); break;
    case 2: toggle(cmd::priority, cmd::kPR); break;
    case 3: m_link.Write(cmd::key(kDelayKey)); break;
    case 4: m_link.Write(cmd::key(kLockoutKey)); break;
    }
}

} // namespace vexlor::controls
