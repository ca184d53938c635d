#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/SignalWatcher.h"
#include "app/ui/MainWindow.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/SystemClock.h"
#include "simulator/SimulatorHost.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

using namespace vexlor;

int main(int argc, char** argv)
{
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

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexlor"));
    // Every window closes with the main one; the shut-down sequence ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    if (!options.dataDir.isEmpty()) {
        if (!QDir().mkpath(options.dataDir) || !QDir::setCurrent(options.dataDir)) {
            std::fprintf(stderr, "vexlor: cannot use the data directory %s\n", qPrintable(options.dataDir));
            return 2;
        }
    }

    std::unique_ptr<simulator::SimulatorHost> sim;
    if (options.simulate) {
        sim = std::make_unique<simulator::SimulatorHost>(simulator::SimulatorOptions {});
        if (!sim->start()) {
            std::fprintf(stderr, "vexlor: the receiver simulator could not start: %s\n",
                         qPrintable(sim->errorString()));
            return 1;
        }
        options.port = sim->portName();
    }

    platform::QtSerialPort port;
    platform::QtDialogs dialogs;
    platform::QtShell shell;
    platform::SystemClock clock;
    app::Application root({port, dialogs, shell, clock, &platform::QtSerialPort::availableDevices}, options);
    dialogs.setParentWindow(&root.window());

    app::SignalWatcher watcher;
    QObject::connect(&watcher, &app::SignalWatcher::terminationRequested, &root, &app::Application::terminate);

    if (!root.startUp() || root.finished())
        return 0;
    return qapp.exec();
}
