#pragma once

#include "simulator/SimulatorOptions.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace vexlor::platform {
class SerialTrace;
}

namespace vexlor::simulator {

class MemoryState;
class PtyEndpoint;
class ReceiverModel;

// One simulated receiver on a pseudo-terminal, for vexlor-sim and for a
// program that runs with a simulator of its own. portName() is a symlink to
// the slave that follows it across line drops; open it with QSerialPort.
class SimulatorHost : public QObject {
    Q_OBJECT
public:
    explicit SimulatorHost(const SimulatorOptions& options, QObject* parent = nullptr);
    ~SimulatorHost() override;

    // False with errorString() when the pty, the link or the script fails.
    // A state file that cannot be read is set aside and reported in
    // warnings(); the run goes on with the factory memories.
    bool start();
    // Saves the state file when the memories changed, and removes the link. Also done by the destructor.
    void stop();
    bool isRunning() const { return m_running; }

    QString portName() const;
    QString slaveName() const;
    QString errorString() const { return m_error; }
    QStringList warnings() const { return m_warnings; }
    // False while the last save of the state file has failed (the reason is in warnings()).
    bool stateSaved() const { return !m_saveFailed; }
    quint32 seed() const { return m_seed; }
    // Bytes lost to the receiver's full input buffer on a paced line.
    qint64 lostBytes() const;

    ReceiverModel& model() { return *m_model; }
    PtyEndpoint& endpoint() { return *m_endpoint; }

Q_SIGNALS:
    void slaveChanged(const QString& slaveName);

private:
    void loadState(MemoryState& memory);
    bool startTrace();
    void saveIfChanged();
    void saveState();
    void warn(const QString& text);

    SimulatorOptions m_options;
    quint32 m_seed = 0;
    std::unique_ptr<ReceiverModel> m_model;
    std::unique_ptr<platform::SerialTrace> m_trace;
    std::unique_ptr<PtyEndpoint> m_endpoint;
    std::unique_ptr<QTemporaryDir> m_linkDir;
    QString m_linkPath;
    QTimer m_saveTimer;
    QTimer m_changeTimer;
    quint64 m_savedRevision = 0;
    bool m_saveAllowed = true;
    bool m_running = false;
    bool m_saveFailed = false;
    QString m_error;
    QStringList m_warnings;
};

} // namespace vexlor::simulator
