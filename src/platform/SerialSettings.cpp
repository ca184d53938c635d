#include "platform/SerialSettings.h"

#include <QStringList>

namespace vexlor::platform {

std::optional<SerialSettings> SerialSettings::parse(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    bool ok = false;
    SerialSettings s;
    s.baud = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0)
        return std::nullopt;
    const QString parity = parts[1].trimmed().toLower();
    if (parity.size() != 1 || !QStringLiteral("neoms").contains(parity[0]))
        return std::nullopt;
    s.parity = parity[0];
    s.dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        return std::nullopt;
    s.stopBits = parts[3].trimmed().toInt(&ok);
    if (!ok || (s.stopBits != 1 && s.stopBits != 2))
        return std::nullopt;
    return s;
}

QString SerialSettings::toString() const
{
    return QStringLiteral("%1,%2,%3,%4").arg(baud).arg(parity).arg(dataBits).arg(stopBits);
}

QString devicePathForPort(const QString& comPort)
{
    const QString t = comPort.trimmed();
    bool ok = false;
    const int n = t.toInt(&ok);
    if (ok && n >= 1) {
#ifdef Q_OS_WIN
        return QStringLiteral("COM%1").arg(n);
#else
        return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
    }
    return t;
}

} // namespace vexlor::platform
