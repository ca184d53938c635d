#include "recording/LogFlags.h"

namespace vexlor::recording {

std::array<int*, 9> LogFlags::all()
{
    return {&LogEnableVal, &DateVal, &TimeVal, &FrequencyVal, &FreqTypeVal,
            &FreqNameVal, &IDVal, &IDTypeVal, &IDNameVal};
}

std::array<int, 9> LogFlags::values() const
{
    return {LogEnableVal, DateVal, TimeVal, FrequencyVal, FreqTypeVal,
            FreqNameVal, IDVal, IDTypeVal, IDNameVal};
}

LogFlags LogFlags::fromLogWhat(const QString& logWhat)
{
    LogFlags f;
    const auto fields = f.all();
    for (int i = 0; i < 9; ++i) {
        const QChar c = i < logWhat.size() ? logWhat[i] : QChar();
        *fields[i] = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.unicode() - '0' : 0;
    }
    return f;
}

QString LogFlags::toLogWhat() const
{
    QString s;
    for (int v : values())
        s += QString::number(v);
    return s;
}

} // namespace vexlor::recording
