// Takes the README's pictures: the real program on the built-in simulator with
// a fixed seed, the example memories imported and uploaded first, as an
// operator would. Each window is saved as it renders itself.
// Usage: vexlor-shots OUTDIR [SEED]   (tools/screenshots.sh runs it under Xvfb)
#include "app/Application.h"
#include "app/Batch.h"
#include "app/MemoryBinder.h"
#include "app/StatsBinder.h"
#include "app/ui/MainWindow.h"
#include "memory/ui/Banks.h"
#include "memory/ui/FreqDir.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtPrintService.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/SystemClock.h"
#include "recording/ui/Stats.h"
#include "simulator/SimulatorHost.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace vexlor;

namespace {

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "vexlor-shots: %s\n", qPrintable(why));
    std::exit(1);
}

void save(QWidget* window, const QString& path)
{
    if (!window || !window->isVisible())
        fail(QStringLiteral("no window for ") + path);
    if (!window->grab().save(path))
        fail(QStringLiteral("cannot write ") + path);
    std::printf("%s\n", qPrintable(path));
}

// Steps a few seconds apart, so the display has followed the receiver.
void runSteps(QList<std::pair<int, std::function<void()>>> steps)
{
    int at = 0;
    for (auto& [afterMs, step] : steps) {
        at += afterMs;
        QTimer::singleShot(at, step);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vexlor"));
    const QStringList args = qapp.arguments().mid(1);
    if (args.isEmpty())
        fail(QStringLiteral("usage: vexlor-shots OUTDIR [SEED]"));
    // Taken before the working directory moves to the scratch folder.
    const QDir out(QFileInfo(args[0]).absoluteFilePath());
    const QString example = QFileInfo(QStringLiteral(VEXLOR_EXAMPLE_MEMORIES)).absoluteFilePath();

    QTemporaryDir data;
    if (!data.isValid() || !QDir::setCurrent(data.path()) || !QDir().mkpath(out.absolutePath()))
        fail(QStringLiteral("cannot make the folders"));
    QFile ini(QStringLiteral("qorvanix.ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[UserName]=Operator\r\n[comm port]=1\r\n") < 0)
        fail(QStringLiteral("cannot write qorvanix.ini"));
    ini.close();

    simulator::SimulatorOptions simOptions;
    simOptions.seed = args.size() > 1 ? args[1].toUInt() : 7;
    simOptions.seedGiven = true;
    simulator::SimulatorHost sim(simOptions);
    if (!sim.start())
        fail(sim.errorString());

    platform::SystemClock clock;
    app::CommandLine options;
    options.port = sim.portName();
    {
        app::CommandLine import = options;
        import.importFile = example;
        import.upload = true;
        platform::QtSerialPort port;
        app::Batch batch(port, clock, import);
        if (batch.run() != app::Batch::Done)
            fail(QStringLiteral("the example memories did not import"));
    }

    QApplication::setQuitOnLastWindowClosed(false);
    platform::QtSerialPort port;
    platform::QtDialogs dialogs;
    platform::QtShell shell;
    platform::QtClipboard clipboard;
    platform::QtPrintService printers;
    app::Application root({port, dialogs, shell, clock, clipboard, &platform::QtSerialPort::availableDevices, printers},
                          options);
    dialogs.setParentWindow(&root.window());
    if (!root.startUp() || root.finished())
        fail(QStringLiteral("the program did not start"));

    app::MainWindow& w = root.window();
    app::MemoryBinder& memories = root.memoryBinder();
    runSteps({
        {12000, [&] { save(&w, out.filePath(QStringLiteral("main-window.png"))); }},
        {0, [&] { w.action(QStringLiteral("EditMemories"))->trigger(); }},
        {1500, [&] {
             save(memories.freqWindow(), out.filePath(QStringLiteral("frequency-directory.png")));
             memories.freqWindow()->close();
             w.action(QStringLiteral("EditBanks"))->trigger();
         }},
        {500, [&] { memories.banksWindow()->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(1); }},
        {1500, [&] {
             save(memories.banksWindow(), out.filePath(QStringLiteral("bank-editor.png")));
             memories.banksWindow()->close();
         }},
        // A minute of listening, so the statistics have something to count.
        {60000, [&] { w.action(QStringLiteral("Statistics"))->trigger(); }},
        {2500, [&] {
             save(root.statsBinder().window(), out.filePath(QStringLiteral("statistics.png")));
             root.terminate();
         }},
    });
    return qapp.exec();
}
