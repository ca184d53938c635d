#pragma once

namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::monitor {

// Asks the receiver for every status flag at once; the answers come back
// through the poll and fill the lamps, limits and priority channels.
void ResetAllStatus(link::ScannerLink& link);

} // namespace vexlor::monitor
