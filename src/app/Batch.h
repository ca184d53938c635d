#pragma once

#include "app/CommandLine.h"
#include "app/config/IniFile.h"
#include "link/ScannerLink.h"
#include "memory/LocalStores.h"

#include <QObject>

#include <functional>
#include <memory>

namespace vexlor::platform {
class Clock;
class SerialPort;
}
namespace vexlor::memory {
class MemoryTables;
}

namespace vexlor::app {

// The composition root of a run without a window: --export, --import (with
// --upload) and --backup, on the configuration, stores and port of the data
// directory, through the same logic classes as the menus. No poll runs.
class Batch : public QObject {
    Q_OBJECT
public:
    enum Status { Done = 0, Failed = 1, Usage = 2 };

    Batch(platform::SerialPort& port, platform::Clock& clock, const CommandLine& options, QObject* parent = nullptr);
    ~Batch() override;

    Status run();
    // A terminating signal: the exchange in flight ends and the receiver is
    // released; a second one gives up waiting for a dropped line.
    void terminate();

    // Made read-only before run() when the data folder could not be locked.
    memory::LocalStores& stores() { return m_stores; }

    // One line for the operator; stderr unless a test replaces it.
    std::function<void(const QString&)> report;
    // Progress lines, shown when stderr is a terminal.
    bool showProgress = false;

private:
    Status exportFile();
    Status importFile();
    Status upload();
    Status backup();
    // The consequence is added to the reason when the port will not open.
    bool openPort(const QString& consequence = QString());
    // A run whose line dropped waits for it to send what the receiver is owed.
    Status releaseReceiver(Status status);
    // A signal came, seen by the event loop or not.
    bool interrupted() const;
    Status fail(const QString& why);
    void progress(const QString& what, int done, int total);

    platform::SerialPort& m_port;
    CommandLine m_options;
    IniFile m_ini;
    std::unique_ptr<memory::MemoryTables> m_tables;
    memory::LocalStores m_stores;
    link::ScannerLink m_link;
    bool m_interrupted = false;
    bool m_giveUpLineWait = false;
};

} // namespace vexlor::app
