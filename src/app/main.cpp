#include "app/Application.h"
#include "platform/audio/QtAudioSource.h"
#include "platform/audio/QtSoundPlayer.h"
#include "platform/audio/SndFileWriter.h"
#include "platform/audio/SoundFileInfo.h"
#include "app/Batch.h"
#include "app/BuiltInSimulator.h"
#include "app/CommandLine.h"
#include "app/DataFolderLock.h"
#include "app/SignalWatcher.h"
#include "app/config/IniFile.h"
#include "app/ui/MainWindow.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtPrintService.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/SystemClock.h"
#include "platform/SerialTrace.h"
#include "platform/TracingSerialPort.h"
#include "simulator/SimulatorHost.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <csignal>
#include <cstdio>

using namespace vexlor;

namespace {

// The built-in simulator's memories are saved, and what its input buffer lost is told.
void endSimulator(simulator::SimulatorHost* sim)
{
    if (!sim)
        return;
    sim->stop();
    if (sim->lostBytes() > 0)
        std::fprintf(stderr, "vexlor: the simulated receiver lost %lld bytes to its full input buffer\n",
                     static_cast<long long>(sim->lostBytes()));
}

} // namespace

int main(int argc, char** argv)
{
    // Past a file-size limit a write then fails with EFBIG, which the save reports, instead of killing the run.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    app::CommandLine options = app::CommandLine::parse(args);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "vexlor: %s\n\n%s", qPrintable(options.error), qPrintable(app::CommandLine::helpText()));
        return 2;
    }
    if (options.showHelp) {
        std::fputs(qPrintable(app::CommandLine::helpText()), stdout);
        return 0;
    }
    if (options.showVersion) {
        std::printf("%s\n", qPrintable(app::CommandLine::versionLine()));
        return 0;
    }

    // Memory operations need no display: a machine without a desktop runs them too.
    std::unique_ptr<QCoreApplication> qapp;
    if (options.isBatch())
        qapp = std::make_unique<QCoreApplication>(argc, argv);
    else
        qapp = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vexlor"));

    // Files named on the command line are the caller's, not the data directory's.
    for (QString* file : {&options.exportFile, &options.importFile, &options.backupFile, &options.traceFile}) {
        if (!file->isEmpty())
            *file = QFileInfo(*file).absoluteFilePath();
    }
    // A launcher starts programs in the home folder, so the menu entry asks for the user's data folder.
    if (options.desktop)
        options.dataDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/vexlor");
    if (!options.dataDir.isEmpty()) {
        // A mistyped folder would give an export empty stores: only the window and the menu's folder are made.
        const bool make = !options.isBatch() || options.desktop;
        if (!make && !QFileInfo(options.dataDir).isDir()) {
            std::fprintf(stderr,
                         "vexlor: the data directory %s does not exist "
                         "(--export, --import and --backup never make one)\n",
                         qPrintable(options.dataDir));
            return 1;
        }
        if ((make && !QDir().mkpath(options.dataDir)) || !QDir::setCurrent(options.dataDir)) {
            std::fprintf(stderr, "vexlor: cannot use the data directory %s\n", qPrintable(options.dataDir));
            return 1;
        }
    }

    // Taken before any file of the folder is opened, and held until main returns.
    app::DataFolderLock lock(QDir::currentPath());
    if (lock.take() == app::DataFolderLock::State::Held) {
        std::fprintf(stderr, "vexlor: %s\n", qPrintable(lock.heldText()));
        if (options.isBatch())
            return 1;
        platform::QtDialogs dialogs;
        // Ctrl+C or kill ends the run as OK would.
        app::SignalWatcher watcher;
        QObject::connect(&watcher, &app::SignalWatcher::terminationRequested, [] { QCoreApplication::exit(1); });
        dialogs.message(lock.heldMessage());
        return 1;
    }
    const bool storesReadOnly = lock.state() == app::DataFolderLock::State::Unavailable;
    if (storesReadOnly)
        std::fprintf(stderr, "vexlor: %s\n", qPrintable(lock.unavailableText()));

    std::unique_ptr<simulator::SimulatorHost> sim;
    if (options.simulate) {
        // The configured speed, as the run reads it; the set-up window's later changes do not reach it.
        app::IniFile ini;
        ini.LoadINI();
        sim = std::make_unique<simulator::SimulatorHost>(
            app::builtInSimulator(ini.ComSettings(), options.fast, QDir::currentPath()));
        if (!sim->start()) {
            std::fprintf(stderr, "vexlor: the receiver simulator could not start: %s\n",
                         qPrintable(sim->errorString()));
            return 1;
        }
        options.port = sim->portName();
    }

    platform::QtSerialPort realPort;
    std::unique_ptr<platform::SerialTrace> trace;
    std::unique_ptr<platform::TracingSerialPort> tracedPort;
    if (!options.traceFile.isEmpty()) {
        trace = std::make_unique<platform::SerialTrace>(options.traceFile);
        if (!trace->open()) {
            std::fprintf(stderr, "vexlor: cannot write the trace file %s: %s\n", qPrintable(options.traceFile),
                         qPrintable(trace->errorString()));
            return 1;
        }
        QObject::connect(trace.get(), &platform::SerialTrace::writeFailed, [](const QString& why) {
            std::fprintf(stderr, "vexlor: the trace stopped: %s\n", qPrintable(why));
        });
        tracedPort = std::make_unique<platform::TracingSerialPort>(realPort, *trace);
    }
    platform::SerialPort& port = tracedPort ? static_cast<platform::SerialPort&>(*tracedPort) : realPort;

    if (options.isBatch()) {
        platform::SystemClock clock;
        app::Batch batch(port, clock, options);
        batch.stores().setReadOnly(storesReadOnly);
        app::SignalWatcher watcher;
        QObject::connect(&watcher, &app::SignalWatcher::terminationRequested, &batch, &app::Batch::terminate);
        const int status = batch.run();
        endSimulator(sim.get());
        return status;
    }

    // The installed icon and menu entry, so a desktop shows and groups the windows as Vexlor.
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vexlor")));
    QGuiApplication::setDesktopFileName(QStringLiteral("vexlor"));

    // Every window closes with the main one; the shut-down sequence ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    platform::QtDialogs dialogs;
    platform::QtShell shell;
    platform::SystemClock clock;
    platform::QtClipboard clipboard;
    platform::QtPrintService printers;
    app::Application root({port, dialogs, shell, clock, clipboard, &platform::QtSerialPort::availableDevices, printers,
                           [] { return std::make_unique<platform::QtAudioSource>(); },
                           [] { return std::make_unique<platform::SndFileWriter>(); }, &platform::QtAudioSource::inputs,
                           [] { return std::make_unique<platform::QtSoundPlayer>(); }, &platform::soundFileInfo},
                          options);
    root.stores().setReadOnly(storesReadOnly);
    dialogs.setParentWindow(&root.window());
    printers.setParentWindow(&root.window());

    app::SignalWatcher watcher;
    QObject::connect(&watcher, &app::SignalWatcher::terminationRequested, &root, &app::Application::terminate);

    if (!root.startUp() || root.finished()) {
        endSimulator(sim.get());
        return 0;
    }
    if (sim && !sim->warnings().isEmpty()) {
        platform::Dialogs::Message m {QStringLiteral("The simulated receiver's memories could not be read."), {},
                                      platform::Dialogs::Buttons::Ok, platform::Dialogs::Icon::Warning};
        m.informative = sim->warnings().join(QLatin1Char('\n'));
        dialogs.message(m);
    }
    const int status = root.finished() ? 0 : qapp->exec();
    endSimulator(sim.get());
    return status;
}
