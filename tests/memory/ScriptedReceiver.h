#pragma once

// A receiver played by a script on a fake port: every command line written
// is recorded and answered at once by answer() (an empty answer is silence).
// Fake time runs on by itself, so a silent receiver times out in a few real
// milliseconds.
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "link/ScannerLink.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"

#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace vexlor::testing {

struct ScriptedReceiver {
    fakes::FakeSerialPort port;
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    link::ScannerLink link {port, clock};
    QTimer mainTimer; // stands in for the poll
    QTimer ticker;
    QTemporaryDir dir;
    memory::MemoryTables tables;
    std::unique_ptr<memory::LocalStores> stores;
    QStringList commands;
    std::function<QByteArray(const QString&)> answer = [](const QString&) { return QByteArray("OK"); };
    // Runs after a command is recorded and answered, to interrupt mid-exchange.
    std::function<void(const QString&)> onCommand;

    ScriptedReceiver()
    {
        port.open();
        mainTimer.setInterval(50);
        link.setPollTimer(&mainTimer);
        mainTimer.start();
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [this] { clock.advanceMs(25); });
        ticker.start();
        port.onWrite = [this](const QByteArray& bytes) {
            for (const QByteArray& line : bytes.split('\r')) {
                if (line.isEmpty())
                    continue;
                const QString command = QString::fromLatin1(line);
                commands << command;
                const QByteArray reply = answer(command);
                if (!reply.isEmpty())
                    port.feed(reply + '\r');
                if (onCommand)
                    onCommand(command);
            }
        };
        stores = std::make_unique<memory::LocalStores>(dir.filePath(QStringLiteral("bank.dat")),
                                                       dir.filePath(QStringLiteral("idbank.dat")));
        stores->LoadStores(tables);
    }

    // What a restart would load from the stores.
    memory::MemoryTables reloaded() const
    {
        memory::MemoryTables t;
        memory::LocalStores fresh(dir.filePath(QStringLiteral("bank.dat")), dir.filePath(QStringLiteral("idbank.dat")));
        fresh.LoadStores(t);
        return t;
    }

    // The commands from the first one equal to `from` on.
    QStringList since(const QString& from) const
    {
        const qsizetype at = commands.indexOf(from);
        return at < 0 ? QStringList() : commands.mid(at);
    }
};

} // namespace vexlor::testing
