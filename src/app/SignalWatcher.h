#pragma once

#include <QObject>

class QSocketNotifier;

namespace vexlor::app {

// Turns SIGINT and SIGTERM into a Qt signal on the event loop, where the
// shut-down sequence can run safely (a signal handler may only write a byte).
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;
    bool isValid() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void terminationRequested(int signal);

private:
    void onReadable();
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace vexlor::app
