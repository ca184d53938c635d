#pragma once

namespace vexlor::link {
class ScannerLink;
}
namespace vexlor::monitor {
class MainDisplay;
}

namespace vexlor::controls {

// The function lamps of the status frame are also switches: a click asks the
// receiver for the opposite of what the lamp shows, and the answer relights it.
class FunctionLamps {
public:
    FunctionLamps(link::ScannerLink& link, const monitor::MainDisplay& display);

    // 0 DATA, 1 ATT, 2 PRI, 3 DLY, 4 L/O.
    void buttonlbl_Click(int index);

private:
    link::ScannerLink& m_link;
    const monitor::MainDisplay& m_display;
};

} // namespace vexlor::controls
