#include "recording/SampleEvent.h"

namespace vexlor::recording {

QString SampleEvent::keyFor(const QString& mode, const QString& place, const QString& identity)
{
    return mode.trimmed() + QLatin1Char(':') + place.trimmed() + QLatin1Char(':') + identity.trimmed();
}

} // namespace vexlor::recording
