#pragma once

#include <QObject>

class QSocketNotifier;

namespace vexlor::app {

// Turns every terminating signal that can be caught (SIGINT, SIGTERM, SIGHUP
// from a closed terminal, SIGPIPE, SIGUSR1, SIGALRM, ...) into a Qt signal on
// the event loop, where the receiver can be released safely (a signal
// handler may only write a byte). A SIGPIPE raised by our own write into a
// closed pipe is not one of them: that write fails with EPIPE instead.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;
    bool isValid() const { return m_notifier != nullptr; }

    // The signal that came, or 0; set by the handler itself, so code that
    // runs without the event loop (reading a file) sees it too.
    static int pending();

Q_SIGNALS:
    void terminationRequested(int signal);

private:
    void onReadable();
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace vexlor::app
