#pragma once

#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "link/ScannerLink.h"
#include "memory/MemoryTables.h"
#include "monitor/CompactDisplay.h"
#include "monitor/FreqLockoutList.h"
#include "monitor/MainDisplay.h"
#include "monitor/StatusDecoder.h"
#include "recording/ActivityLog.h"
#include "recording/LogFlags.h"
#include "recording/MeasureIntfc.h"

#include <QStringList>
#include <memory>

namespace vexlor::controls::testing {

// The receiver's side of the controls: a fake port, the link, and the decoder
// that turns the answers into the display state the controls read.
struct ControlsRig {
    fakes::FakeClock clock;
    fakes::FakeSerialPort port;
    fakes::FakeDialogs dialogs;
    link::ScannerLink link {port, clock};
    std::unique_ptr<memory::MemoryTables> tables = std::make_unique<memory::MemoryTables>();
    recording::LogFlags flags;
    recording::ActivityLog log {flags, clock};
    recording::MeasureIntfc meas {clock};
    monitor::MainDisplay display;
    monitor::CompactDisplay compact;
    monitor::FreqLockoutList lockouts;
    monitor::StatusDecoder decoder {{display, compact, lockouts, *tables, log, meas, link, clock}};

    ControlsRig() { port.open(); }

    // Status lines as the poll hands them over; the follow-up queries they cause are dropped.
    void receive(const QStringList& lines)
    {
        decoder.decode(lines);
        port.clearWritten();
    }

    QStringList takeWritten()
    {
        const QStringList lines = port.writtenLines();
        port.clearWritten();
        return lines;
    }
};

} // namespace vexlor::controls::testing
