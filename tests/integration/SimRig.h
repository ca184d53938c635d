#pragma once

// The memory logic against the simulator on a real pseudo-terminal.
#include "FakeDialogs.h"
#include "WaitFor.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/FreqDirectory.h"
#include "memory/IDDirectory.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "memory/TaggedTextTransfer.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/SystemClock.h"
#include "simulator/ReceiverModel.h"
#include "simulator/SimulatorHost.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace vexlor::testing {

using memory::MemoryTables;
using MT = MemoryTables;
namespace wire = link::wire;

struct Rig {
    QTemporaryDir dir;
    std::unique_ptr<simulator::SimulatorHost> host;
    platform::SystemClock clock;
    platform::QtSerialPort port;
    std::unique_ptr<link::ScannerLink> link;
    QTimer mainTimer;
    fakes::FakeDialogs dialogs;
    MemoryTables tables;
    std::unique_ptr<memory::LocalStores> stores;
    std::unique_ptr<memory::FreqDirectory> freq;
    std::unique_ptr<memory::IDDirectory> ids;
    std::unique_ptr<memory::TaggedTextTransfer> transfer;
    int baud = 0; // the simulator's pace; 0 answers at once

    bool start()
    {
        simulator::SimulatorOptions options;
        options.faults.baud = baud;
        options.seed = 5;
        options.seedGiven = true;
        options.activity = false;
        host = std::make_unique<simulator::SimulatorHost>(options);
        if (!host->start())
            return false;
        port.setPortName(host->portName());
        if (!port.setSettings(QStringLiteral("9600,n,8,1")) || !port.open())
            return false;
        link = std::make_unique<link::ScannerLink>(port, clock);
        mainTimer.setInterval(50);
        link->setPollTimer(&mainTimer);
        load();
        return true;
    }
    // The tables as the stores give them, and the logic on them: a start of the program.
    void load()
    {
        transfer.reset();
        ids.reset();
        freq.reset();
        stores.reset();
        tables = MemoryTables();
        stores = std::make_unique<memory::LocalStores>(dir.filePath("bank.dat"), dir.filePath("idbank.dat"));
        stores->LoadStores(tables);
        freq = std::make_unique<memory::FreqDirectory>(
            memory::FreqDirectory::Parts {*link, port, dialogs, tables, *stores});
        ids = std::make_unique<memory::IDDirectory>(memory::IDDirectory::Parts {*link, dialogs, tables, *stores});
        transfer = std::make_unique<memory::TaggedTextTransfer>(
            memory::TaggedTextTransfer::Parts {*link, port, dialogs, tables, *stores});
    }
    const simulator::MemoryState& memory() { return host->model().memory(); }

    bool readBank(int bank)
    {
        freq->Option1_Click();
        freq->BankCmb_Click(bank);
        return testing::waitFor([this] { return !freq->isBusy(); }, 10000);
    }
    void setChannel(int c, const QString& entry); // "mhz [D] [L] [T]"
    QString shown(int c) const;
    void openIds(int bank, bool scanner)
    {
        ids->open();
        ids->IDT().stop();
        ids->IDT_Timer();
        ids->BankCmb_Click(bank);
        scanner ? ids->Option1_Click() : ids->Option2_Click();
    }
};

inline void setChannelOf(MemoryTables& tables, int c, const QString& entry) // "mhz [D] [L] [T]"
{
    const QStringList w = entry.split(QLatin1Char(' '));
    tables.Channels.set(c, MT::kChCh, c);
    tables.Channels.set(c, MT::kChFrequency, wire::formatMHz(w[0].toDouble()));
    tables.Channels.set(c, MT::kChDLY, w.contains("D") ? QStringLiteral("=") : QString());
    tables.Channels.set(c, MT::kChLO, w.contains("L") ? QStringLiteral("=") : QString());
    tables.Channels.set(c, MT::kChMode, w.contains("T") ? QStringLiteral("Trunk") : QStringLiteral("Normal"));
}

inline void Rig::setChannel(int c, const QString& entry) { setChannelOf(tables, c, entry); }

// A channel of the tables as "mhz [D] [L] [T]".
inline QString shownChannel(const MemoryTables& tables, int c)
{
    QString s = tables.Channels.text(c, MT::kChFrequency);
    if (tables.Channels.text(c, MT::kChDLY) == QLatin1String("="))
        s += QStringLiteral(" D");
    if (tables.Channels.text(c, MT::kChLO) == QLatin1String("="))
        s += QStringLiteral(" L");
    if (tables.Channels.text(c, MT::kChMode) == QLatin1String("Trunk"))
        s += QStringLiteral(" T");
    return s;
}

inline QString Rig::shown(int c) const { return shownChannel(tables, c); }

inline QString simChannel(const simulator::MemoryState::Channel& c)
{
    QString s = wire::frequencyFromWire(wire::digits(c.frequency, 8));
    if (c.delay)
        s += QStringLiteral(" D");
    if (c.lockout)
        s += QStringLiteral(" L");
    if (c.trunk)
        s += QStringLiteral(" T");
    return s;
}

} // namespace vexlor::testing
