// vexlor-sim: a simulated receiver on a pseudo-terminal, for trying Vexlor
// without the hardware and for tests that need a receiver on a real tty.

#include "simulator/SimulatorHost.h"
#include "simulator/SimulatorOptions.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char b = 1;
    const ssize_t n = ::write(g_signalPipe[1], &b, 1);
    (void)n;
}

// SIGINT and SIGTERM end the event loop, so the state is saved and the link
// removed on the way out.
bool catchTermination(QCoreApplication& app)
{
    if (::pipe(g_signalPipe) != 0)
        return false;
    for (int fd : g_signalPipe)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app]() {
        char b = 0;
        while (::read(g_signalPipe[0], &b, 1) == 1) {
        }
        app.quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Past a file-size limit the state's save then fails with EFBIG and says so, instead of killing the run.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString why;
    const auto options = vexlor::simulator::SimulatorOptions::parse(app.arguments().mid(1), &why);
    if (!options) {
        err << "vexlor-sim: " << why << "\n" << "Try vexlor-sim --help.\n";
        return 2;
    }
    if (options->showHelp) {
        out << vexlor::simulator::SimulatorOptions::helpText();
        return 0;
    }
    if (options->showVersion) {
        out << "vexlor-sim " VEXLOR_VERSION "\n";
        return 0;
    }
    if (!catchTermination(app)) {
        err << "vexlor-sim: cannot watch for termination signals\n";
        return 1;
    }

    vexlor::simulator::SimulatorHost host(*options);
    // The slave's name goes to standard output, one line each time it changes.
    QObject::connect(&host, &vexlor::simulator::SimulatorHost::slaveChanged, &app, [&out](const QString& name) {
        out << name << "\n";
        out.flush();
    });
    if (!host.start()) {
        err << "vexlor-sim: " << host.errorString() << "\n";
        return 1;
    }
    err << "vexlor-sim: serving on " << host.slaveName();
    if (!options->linkPath.isEmpty())
        err << " (link " << host.portName() << ")";
    err << ", seed " << host.seed() << "\n";
    err.flush();

    const int rc = app.exec();
    host.stop();
    if (options->faults.baud > 0)
        err << "vexlor-sim: " << host.lostBytes() << " bytes lost to the full input buffer\n";
    return rc == 0 && !host.stateSaved() ? 1 : rc;
}
