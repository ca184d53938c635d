#pragma once

#include <QDateTime>
#include <QObject>

namespace vexlor::platform {

// Every timing rule reads this clock, so tests can drive time.
class Clock : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Clock() override = default;

    // Local time of day, seconds since midnight (with fractions).
    virtual double secondsSinceMidnight() const = 0;
    virtual QDateTime localDateTime() const = 0;
    // Milliseconds on a clock that never jumps.
    virtual qint64 monotonicMs() const = 0;

Q_SIGNALS:
    // Time moved other than by its steady flow (a fake clock advanced);
    // waiters re-check their deadlines.
    void jumped();
};

} // namespace vexlor::platform
