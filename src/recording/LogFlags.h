#pragma once

#include <QString>
#include <array>

namespace vexlor::recording {

// The nine log switches, persisted as the nine characters of LogWhat.
struct LogFlags {
    int LogEnableVal = 0;
    int DateVal = 0;
    int TimeVal = 0;
    int FrequencyVal = 0;
    int FreqTypeVal = 0;
    int FreqNameVal = 0;
    int IDVal = 0;
    int IDTypeVal = 0;
    int IDNameVal = 0;

    // A missing or non-digit position reads as 0.
    static LogFlags fromLogWhat(const QString& logWhat);
    QString toLogWhat() const;

    std::array<int*, 9> all();
    std::array<int, 9> values() const;
    bool operator==(const LogFlags&) const = default;
};

} // namespace vexlor::recording
