#include "platform/qt/SystemClock.h"

#include <QTime>

namespace vexlor::platform {

SystemClock::SystemClock(QObject* parent) : Clock(parent) { m_elapsed.start(); }

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

QDateTime SystemClock::localDateTime() const { return QDateTime::currentDateTime(); }

qint64 SystemClock::monotonicMs() const { return m_elapsed.elapsed(); }

} // namespace vexlor::platform

#include "moc_SystemClock.cpp"
