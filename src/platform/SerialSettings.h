#pragma once

#include <QString>
#include <optional>

namespace vexlor::platform {

// The settings string "speed,parity,data bits,stop bits", as "9600,n,8,1".
struct SerialSettings {
    int baud = 9600;
    QChar parity = QLatin1Char('n'); // n, e, o, m or s
    int dataBits = 8;
    int stopBits = 1; // 1 or 2

    static std::optional<SerialSettings> parse(const QString& text);
    QString toString() const;
};

// A configured port: a number N means COMN on Windows and /dev/ttyS(N-1)
// elsewhere; any other text is a device path used as it is.
QString devicePathForPort(const QString& comPort);

} // namespace vexlor::platform
