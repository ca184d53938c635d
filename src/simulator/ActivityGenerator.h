#pragma once

#include "simulator/ActivityScript.h"
#include "simulator/MemoryState.h"
#include "simulator/ModeMachine.h"

#include <QByteArray>
#include <QList>

#include <optional>
#include <random>

namespace vexlor::simulator {

// What the receiver hears, as the lines it writes on its own: "+", "C", "W"
// and "-" for a conventional reception, "ID S " and "ID E " for a talkgroup
// call. Drawn from the programmed memories to suit the mode, or taken from a
// script. Time passes only through advance(), so tests drive it by hand.
class ActivityGenerator {
public:
    ActivityGenerator(const MemoryState& memory, ModeMachine& mode, quint32 seed);

    void setScript(const ActivityScript& script);
    void setEnabled(bool on) { m_enabled = on; }
    bool enabled() const { return m_enabled; }

    QList<QByteArray> advance(qint64 ms);

    bool receiving() const { return m_rx != Idle; }
    qint64 now() const { return m_now; }

private:
    enum Reception { Idle, Conventional, Talkgroup };

    int between(int lo, int hi);
    bool chance(int percent) { return between(1, 100) <= percent; }
    int jitteredOffset();

    void startNext(QList<QByteArray>& out);
    void startRandom(QList<QByteArray>& out);
    void runScriptStep(QList<QByteArray>& out);
    void openCarrier(int channel, qint32 units, int ms, QList<QByteArray>& out);
    void openCall(int id, int ms, QList<QByteArray>& out);
    void close(QList<QByteArray>& out);
    void idleFor(int ms) { m_nextAt = m_now + ms; }

    std::optional<int> scanChannel();
    std::optional<qint32> searchFrequency();
    std::optional<qint32> serviceFrequency();
    std::optional<int> scanId();
    std::optional<int> searchId();

    const MemoryState& m_memory;
    ModeMachine& m_mode;
    std::mt19937 m_rng;
    bool m_enabled = true;
    std::optional<ActivityScript> m_script;
    qsizetype m_step = 0;

    qint64 m_now = 0;
    qint64 m_nextAt = 0;
    Reception m_rx = Idle;
    qint64 m_endAt = 0;
    qint64 m_nextWAt = 0;
    int m_rxChannel = 0;
    qint32 m_rxUnits = 0;
    int m_rxId = 0;
    int m_rxOffset = 110;
    quint64 m_seenMode = 0;
};

} // namespace vexlor::simulator
