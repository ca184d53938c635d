#include "monitor/StatusRefresh.h"

#include "link/Commands.h"
#include "link/ScannerLink.h"

namespace vexlor::monitor {

void ResetAllStatus(link::ScannerLink& link)
{
    using namespace link::cmd;
    for (const auto q : {kQUN, kIDN, kSQ, kSB, kIS, kTB, kLT, kAL, kPR, kDS, kAT, kLL, kLU, kMU, kLO, kSI, kVR})
        link.Write(q);
    for (int bank = 1; bank <= 10; ++bank)
        link.Write(priorityChannel(bank));
}

} // namespace vexlor::monitor
