#pragma once

#include <QString>

namespace vexlor::app {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 4;
inline constexpr int kVersionRevision = 3;

// "V 2.4.3 (10/23/2001)"
inline QString versionText()
{
    return QStringLiteral("V %1.%2.%3 (10/23/2001)").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

// The fixed part of the main window's caption.
inline QString mainCaption() { return QStringLiteral("Vexlor - ") + versionText(); }

} // namespace vexlor::app
