#pragma once

#include "platform/Clock.h"

namespace vexlor::fakes {

// Time stands still until a test advances it.
class FakeClock : public platform::Clock {
    Q_OBJECT
public:
    explicit FakeClock(QObject* parent = nullptr);

    double secondsSinceMidnight() const override;
    QDateTime localDateTime() const override { return m_now; }
    qint64 monotonicMs() const override { return m_monotonicMs; }

    void setLocalDateTime(const QDateTime& t) { m_now = t; }
    // Moves both clocks on; the wall clock wraps at midnight as a real one does.
    void advanceMs(qint64 ms);

private:
    QDateTime m_now;
    qint64 m_monotonicMs = 1000000;
};

} // namespace vexlor::fakes
