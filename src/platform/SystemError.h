#pragma once

#include <QString>

#include <cstring>

namespace vexlor::platform {

// The system's words for an error number, such as "No space left on device".
inline QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace vexlor::platform
