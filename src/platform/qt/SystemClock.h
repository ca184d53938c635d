#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

namespace vexlor::platform {

class SystemClock : public Clock {
    Q_OBJECT
public:
    explicit SystemClock(QObject* parent = nullptr);
    double secondsSinceMidnight() const override;
    QDateTime localDateTime() const override;
    qint64 monotonicMs() const override;

private:
    QElapsedTimer m_elapsed;
};

} // namespace vexlor::platform
