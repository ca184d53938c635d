#pragma once

#include <QString>

namespace vexlor::platform {

// Who holds a serial device open, as "process 1234 (minicom)", from the
// lock file serial programs leave beside it or from /proc; empty when it
// cannot be found (another user's process, say).
QString portHolder(const QString& devicePath);

} // namespace vexlor::platform
