#include "app/SignalWatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vexlor::app {

namespace {
int g_pipe[2] = {-1, -1}; // written from the signal handler only
volatile std::sig_atomic_t g_pending = 0;

// Those whose default is to end the program. Faults (SIGSEGV, SIGBUS, ...)
// are left alone: nothing can run safely after one.
constexpr int kTerminating[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGPIPE, SIGALRM, SIGTERM,   SIGUSR1,
                                SIGUSR2, SIGPOLL, SIGVTALRM, SIGPROF, SIGXCPU, SIGSTKFLT, SIGPWR};

void onSignal(int sig, siginfo_t* info, void*)
{
    // A write of our own into a closed pipe or socket (stderr, the trace, a
    // remote client) fails with EPIPE where it is made; only a SIGPIPE that
    // somebody sends ends the run.
    if (sig == SIGPIPE && info && info->si_pid == ::getpid())
        return;
    g_pending = sig;
    const unsigned char b = static_cast<unsigned char>(sig);
    const ssize_t n = ::write(g_pipe[1], &b, 1);
    (void)n;
}
} // namespace

int SignalWatcher::pending() { return g_pending; }

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] >= 0 || ::pipe(g_pipe) != 0)
        return;
    for (int fd : g_pipe)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::onReadable);
    struct sigaction sa {};
    sa.sa_sigaction = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART | SA_SIGINFO;
    for (int sig : kTerminating)
        ::sigaction(sig, &sa, nullptr);
}

SignalWatcher::~SignalWatcher()
{
    if (!m_notifier)
        return;
    for (int sig : kTerminating)
        ::signal(sig, SIG_DFL);
    // The last lines (the trace, stderr) may still go into a pipe whose reader left.
    ::signal(SIGPIPE, SIG_IGN);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SignalWatcher::onReadable()
{
    unsigned char b = 0;
    int last = 0;
    while (::read(g_pipe[0], &b, 1) == 1)
        last = b;
    if (last)
        Q_EMIT terminationRequested(last);
}

} // namespace vexlor::app

#include "moc_SignalWatcher.cpp"
