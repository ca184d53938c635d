#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace vexlor::testing {

// Runs the event loop until done() holds; false when ms pass first.
inline bool waitFor(const std::function<bool()>& done, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace vexlor::testing
