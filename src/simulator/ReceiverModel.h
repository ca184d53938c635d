#pragma once

#include "simulator/ActivityGenerator.h"
#include "simulator/FunctionFlags.h"
#include "simulator/MemoryState.h"
#include "simulator/ModeMachine.h"

#include <QByteArray>
#include <QList>

namespace vexlor::simulator {

// The receiver as its serial line sees it, without any I/O: one command in,
// its reply lines out; time-driven receptions come out of advance().
// Lines carry no CR.
class ReceiverModel {
public:
    explicit ReceiverModel(quint32 seed, const MemoryState& memory = MemoryState::factoryLoaded());
    ReceiverModel(const ReceiverModel&) = delete;
    ReceiverModel& operator=(const ReceiverModel&) = delete;

    QList<QByteArray> handle(const QByteArray& commandLine);
    // The lines the receiver writes on its own during the next ms.
    QList<QByteArray> advance(qint64 ms);

    const MemoryState& memory() const { return m_memory; }
    void setMemory(const MemoryState& memory) { m_memory = memory; }
    const ModeMachine& mode() const { return m_mode; }
    const FunctionFlags& flags() const { return m_flags; }
    ActivityGenerator& activity() { return m_activity; }

    bool statusOutput() const { return m_statusOutput; }
    bool talkgroupOutput() const { return m_talkgroupOutput; }
    bool remote() const { return m_remote; }

private:
    QList<QByteArray> dispatch(const QByteArray& c);
    QList<QByteArray> key(const QByteArray& c);
    QList<QByteArray> flagCommand(const QByteArray& c);
    QList<QByteArray> selection(const QByteArray& c);
    QList<QByteArray> limit(const QByteArray& c);
    QList<QByteArray> channelCommand(const QByteArray& c);
    QList<QByteArray> trunkCommand(const QByteArray& c);
    QList<QByteArray> idLockout(const QByteArray& c);

    MemoryState m_memory;
    FunctionFlags m_flags;
    ModeMachine m_mode;
    ActivityGenerator m_activity;
    bool m_statusOutput = true;
    bool m_talkgroupOutput = true;
    bool m_remote = true;
};

} // namespace vexlor::simulator
