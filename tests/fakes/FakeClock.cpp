#include "FakeClock.h"

namespace vexlor::fakes {

FakeClock::FakeClock(QObject* parent)
    : Clock(parent), m_now(QDate(2001, 10, 23), QTime(14, 5, 9))
{
}

double FakeClock::secondsSinceMidnight() const { return m_now.time().msecsSinceStartOfDay() / 1000.0; }

void FakeClock::advanceMs(qint64 ms)
{
    m_monotonicMs += ms;
    m_now = m_now.addMSecs(ms);
    Q_EMIT jumped();
}

} // namespace vexlor::fakes

#include "moc_FakeClock.cpp"
