#pragma once

#include "link/ScannerLink.h"
#include "memory/MemoryTables.h"
#include "monitor/CompactDisplay.h"
#include "monitor/FreqLockoutList.h"
#include "monitor/MainDisplay.h"
#include "monitor/PollCycle.h"
#include "monitor/StatusDecoder.h"
#include "recording/ActivityLog.h"
#include "recording/LogFlags.h"
#include "recording/MeasureIntfc.h"

#include <memory>

namespace vexlor::fakes {

// The live monitor over a line: the link, the poll and the decoder, with the
// state they fill. The poll timer is set but not started.
struct LivePoll {
    LivePoll(platform::SerialPort& port, platform::Clock& clock)
        : link(port, clock),
          log(flags, clock),
          meas(clock),
          decoder({display, compact, lockouts, *tables, log, meas, link, clock}),
          poll(port, link, decoder, display)
    {
        link.setPollTimer(&poll.MainTimer());
    }
    link::ScannerLink link;
    std::unique_ptr<memory::MemoryTables> tables = std::make_unique<memory::MemoryTables>();
    recording::LogFlags flags;
    recording::ActivityLog log;
    recording::MeasureIntfc meas;
    monitor::MainDisplay display;
    monitor::CompactDisplay compact;
    monitor::FreqLockoutList lockouts;
    monitor::StatusDecoder decoder;
    monitor::PollCycle poll;
};

} // namespace vexlor::fakes
