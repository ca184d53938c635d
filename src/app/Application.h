#pragma once

#include "app/CommandLine.h"
#include "app/config/IniFile.h"
#include "app/config/StartSetup.h"
#include "app/WindowPlacer.h"
#include "link/ScannerLink.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "monitor/CompactDisplay.h"
#include "monitor/FreqLockoutList.h"
#include "monitor/MainDisplay.h"
#include "monitor/PollCycle.h"
#include "monitor/StatusDecoder.h"
#include "recording/ActivityLog.h"
#include "recording/LogFlags.h"
#include "recording/LogSetup.h"
#include "platform/AudioFileWriter.h"
#include "platform/AudioSource.h"
#include "platform/SoundPlayer.h"
#include "recording/MeasureIntfc.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <functional>
#include <memory>

namespace vexlor::platform {
class Clipboard;
class Clock;
class Dialogs;
class PrintService;
class SerialPort;
class Shell;
}

namespace vexlor::recording {
class Log;
}

namespace vexlor::app {

class MainWindow;
class RemoteBinder;
class ControlsBinder;
class CompactBinder;
class MemoryBinder;
class HelpBinder;
class PrintBinder;
class StatsBinder;
class WebBinder;
class RecordingBinder;
class MainDisplayView;

// What the program talks to; tests pass fakes.
struct Platform {
    platform::SerialPort& port;
    platform::Dialogs& dialogs;
    platform::Shell& shell;
    platform::Clock& clock;
    platform::Clipboard& clipboard;
    // The serial devices present, listed in the set-up window.
    std::function<QStringList()> serialDevices;
    platform::PrintService& printers;
    // Sound in and sound files out, for recordings; without them Vexlor does not record.
    std::function<std::unique_ptr<platform::AudioSource>()> soundInput = {};
    std::function<std::unique_ptr<platform::AudioFileWriter>()> soundFiles = {};
    // The sound inputs there are: id and description.
    std::function<QList<QPair<QString, QString>>()> soundInputs = {};
    // Playing recordings, and reading their lengths and tags.
    std::function<std::unique_ptr<platform::SoundPlayer>()> soundPlayer = {};
    std::function<bool(const QString& path, double* seconds, platform::AudioFileWriter::Tags* tags)> soundInfo = {};
};

// The composition root: owns everything for the run, brings the program up
// and takes it down. The main window is only its view.
class Application : public QObject {
    Q_OBJECT
public:
    Application(const Platform& platform, const CommandLine& options, QObject* parent = nullptr);
    ~Application() override;

    // The start-up sequence. False when the program must end now (the set-up
    // window ended it because the port could not be opened).
    bool startUp();
    // The shut-down sequence, once; ask: offer to take the receiver out of remote mode.
    void shutDown(bool ask);
    // SIGINT/SIGTERM: shut down as if the question had been answered No.
    void terminate();

    // Menu handlers.
    void RemoteControlOff();
    void Config();

    // How the program ends; tests replace them.
    std::function<StartOutcome(StartSetup&)> runStart;
    std::function<void()> exitProgram;

    // For the binders that connect a subsystem's windows and logic.
    const Platform& platform() const { return m_platform; }
    monitor::CompactDisplay& compact() { return m_compact; }
    monitor::FreqLockoutList& lockouts() { return m_lockouts; }
    monitor::StatusDecoder& decoder() { return m_decoder; }
    recording::MeasureIntfc& meas() { return m_meas; }
    memory::LocalStores& stores() { return m_stores; }
    // Refreshes ComPort, ComSettings and LogWhat and writes the configuration.
    // A failure goes to stderr, and to a message box when `tell`.
    void saveConfig(bool tell = true);

    MainWindow& window() { return *m_window; }
    MemoryBinder& memoryBinder() { return *m_memoryBinder; }
    HelpBinder& helpBinder() { return *m_helpBinder; }
    PrintBinder& printBinder() { return *m_printBinder; }
    StatsBinder& statsBinder() { return *m_statsBinder; }
    ControlsBinder& controlsBinder() { return *m_controlsBinder; }
    RemoteBinder& remoteBinder() { return *m_remoteBinder; }
    WebBinder& webBinder() { return *m_webBinder; }
    RecordingBinder& recordingBinder() { return *m_recordingBinder; }
    const CommandLine& options() const { return m_options; }
    IniFile& INIObj() { return m_ini; }
    recording::LogFlags& logFlags() { return m_logFlags; }
    link::ScannerLink& link() { return m_link; }
    memory::MemoryTables& tables() { return m_tables; }
    monitor::MainDisplay& display() { return m_display; }
    monitor::PollCycle& poll() { return m_poll; }
    recording::ActivityLog& activityLog() { return m_log; }
    bool isShutDown() const { return m_shutDown; }
    // Shut down, or ended by the set-up window: nothing more may run.
    bool finished() const { return m_shutDown || m_ended; }
    // The "&Auto Listen" check mark, saved as AutoListenTCP at shut-down.
    bool autoListen() const { return m_autoListen; }
    void setAutoListen(bool on) { m_autoListen = on; }

private:
    StartOutcome showStart();
    void endNow();
    void bindWindow();
    void showOffline();
    // The running ComPort, ComSettings and LogWhat into the configuration, then the file.
    // Waits, bounded, for a dropped line to send what the receiver is owed.
    void releaseReceiver();
    void refreshConfig();
    // A port from the command line (or the simulator's) is never saved as ComPort.
    bool portIsForThisRun() const;
    void showLogWindow();

    Platform m_platform;
    CommandLine m_options;
    IniFile m_ini;
    recording::LogFlags m_logFlags;
    recording::ActivityLog m_log;
    memory::MemoryTables m_tables;
    memory::LocalStores m_stores;
    link::ScannerLink m_link;
    monitor::MainDisplay m_display;
    monitor::CompactDisplay m_compact;
    monitor::FreqLockoutList m_lockouts;
    recording::MeasureIntfc m_meas;
    monitor::StatusDecoder m_decoder;
    monitor::PollCycle m_poll;
    std::unique_ptr<MainWindow> m_window;
    WindowPlaces m_places;
    std::unique_ptr<WindowPlacer> m_placer;
    std::unique_ptr<MainDisplayView> m_view;
    recording::LogSetup m_logSetup;
    std::unique_ptr<recording::Log> m_logWindow;
    // Binders, one per subsystem, created last (they need every part above).
    std::unique_ptr<RemoteBinder> m_remoteBinder;
    std::unique_ptr<ControlsBinder> m_controlsBinder;
    std::unique_ptr<CompactBinder> m_compactBinder;
    std::unique_ptr<MemoryBinder> m_memoryBinder;
    std::unique_ptr<HelpBinder> m_helpBinder;
    std::unique_ptr<PrintBinder> m_printBinder;
    std::unique_ptr<StatsBinder> m_statsBinder;
    std::unique_ptr<WebBinder> m_webBinder;
    std::unique_ptr<RecordingBinder> m_recordingBinder;
    bool m_autoListen = false;
    bool m_shutDown = false;
    bool m_ended = false;
};

} // namespace vexlor::app
