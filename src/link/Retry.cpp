#include "link/Retry.h"

#include "link/Replies.h"
#include "link/ScannerLink.h"
#include "platform/Clock.h"

#include <QPointer>

#include <cmath>
#include <functional>

namespace vexlor::link {

namespace {

// A clock that stands still (a test's) must not make the loop endless.
constexpr int kMaxAttempts = 5000;

QString retry(ScannerLink& link, const QString& command, const std::function<bool(const QString&)>& done)
{
    const QPointer<ScannerLink> alive(&link);
    const qint64 t0 = link.clock().monotonicMs();
    const qint64 limitMs = std::llround(link.SerialPortTimeout() * 1000.0);
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const QString answer = link.SyncSerialOut(command);
        if (!alive || link.isShuttingDown())
            return reply::kFailure;
        if (done(answer))
            return answer;
        // A dead line fails every try at once: asking on until the time-out would spin.
        if (!link.lineUp() || link.clock().monotonicMs() - t0 >= limitMs)
            break;
    }
    return reply::kFailure;
}

} // namespace

QString RetrySyncOut(ScannerLink& link, const QString& command)
{
    return retry(link, command, [](const QString& answer) { return !reply::isFailure(answer); });
}

QString RetryUntil(ScannerLink& link, const QString& command, std::initializer_list<QLatin1String> wanted)
{
    const QList<QLatin1String> prefixes(wanted);
    return retry(link, command, [&prefixes](const QString& answer) {
        for (const QLatin1String prefix : prefixes) {
            if (answer.startsWith(prefix))
                return true;
        }
        return false;
    });
}

} // namespace vexlor::link
