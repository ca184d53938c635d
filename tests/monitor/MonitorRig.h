#pragma once

#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "link/ScannerLink.h"
#include "memory/MemoryTables.h"
#include "monitor/CompactDisplay.h"
#include "monitor/FreqLockoutList.h"
#include "monitor/MainDisplay.h"
#include "monitor/StatusDecoder.h"
#include "recording/ActivityLog.h"
#include "recording/MeasureIntfc.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace vexlor::monitor::testing {

using memory::MemoryTables;

// Bank 4 is the trunked bank the talkgroup cases use.
inline void fillTables(MemoryTables& t)
{
    auto channel = [&](int row, const char* type, const char* name) {
        t.Channels.set(row, MemoryTables::kChType, type);
        t.Channels.set(row, MemoryTables::kChName, name);
    };
    channel(1, "FDP", "Fire North");
    channel(2, "AMB", "Rescue");
    channel(31, "POL", "");
    channel(300, "UTY", "Last");
    t.BankNames.set(1, "County");
    t.BankNames.set(4, "Metro");
    t.BankNames.set(10, "Tenth");
    auto slot = [&](int bank, int i, const char* id, const char* type, const char* name) {
        t.IDs.set(bank, i, MemoryTables::kIdId, id);
        t.IDs.set(bank, i, MemoryTables::kIdType, type);
        t.IDs.set(bank, i, MemoryTables::kIdName, name);
    };
    slot(4, 1, "004112", "AMB", "First");
    slot(4, 2, "002032", "POL", "Dispatch");
    slot(4, 3, "003000", "MUN", "");
    slot(4, 7, "004112", "FDP", "Second");
    slot(4, 50, "12=456", "SEC", "Eq");
    slot(1, 1, "005555", "GOV", "Elsewhere");
}

// A fake port whose input capacity a test can change.
struct TestPort : fakes::FakeSerialPort {
    int capacity = kInBufferSize;
    int inBufferSize() const override { return capacity; }
};

// The decoder with real tables, log and measurement on fakes.
struct MonitorRig {
    std::unique_ptr<QTemporaryDir> dir;
    fakes::FakeClock clock;
    TestPort port;
    link::ScannerLink link {port, clock};
    std::shared_ptr<MemoryTables> tables;
    recording::LogFlags flags;
    recording::ActivityLog log {flags, clock};
    recording::MeasureIntfc meas {clock};
    MainDisplay display;
    CompactDisplay compact;
    FreqLockoutList lockouts;
    StatusDecoder decoder {{display, compact, lockouts, *tables, log, meas, link, clock}};

    MonitorRig()
        : MonitorRig(filledTables(), QString())
    {
    }

    // Tables shared with other rigs (the decoder only reads them) and a given
    // log file: for the fuzzer, which builds a rig per input.
    MonitorRig(std::shared_ptr<MemoryTables> shared, const QString& logPath)
        : tables(std::move(shared))
    {
        port.open();
        if (logPath.isEmpty())
            dir = std::make_unique<QTemporaryDir>();
        // Every field but the date and time, so lines are predictable.
        flags = recording::LogFlags::fromLogWhat(QStringLiteral("100111111"));
        log.open(logPath.isEmpty() ? dir->filePath(QStringLiteral("activity")) : logPath);
    }

    static std::shared_ptr<MemoryTables> filledTables()
    {
        auto t = std::make_shared<MemoryTables>();
        fillTables(*t);
        return t;
    }

    void decode(const QStringList& lines) { decoder.decode(lines); }

    QStringList takeWritten()
    {
        const QStringList lines = port.writtenLines();
        port.clearWritten();
        return lines;
    }

    QStringList logLines() const
    {
        QFile f(log.fileName());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
        lines.removeAll(QString());
        return lines;
    }

    // Seconds measured for a record, or -1 when there is none.
    double measured(const QString& mode, const QString& place, const QString& identity) const
    {
        for (const auto& e : meas.Measurements()) {
            if (e.key() == recording::SampleEvent::keyFor(mode, place, identity))
                return e.ElapsedTime;
        }
        return -1;
    }
};

} // namespace vexlor::monitor::testing
