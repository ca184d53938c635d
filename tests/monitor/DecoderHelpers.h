#pragma once

// Small helpers shared by the decoder tests.
#include <QString>
#include <QStringList>
#include <array>

namespace vexlor::monitor::testing {

inline QString logLine(const QString& freq, const QString& type, const QString& name, const QString& id,
                       const QString& idType, const QString& idName)
{
    const QString gap = QStringLiteral("  ");
    return freq + gap + type + gap + name.leftJustified(42) + id + gap + idType + gap + idName.leftJustified(42);
}

// Lamps from index `from` on as "1" (red) and "0" (black).
template <size_t N>
QString pattern(const std::array<bool, N>& lamps, size_t from)
{
    QString s;
    for (size_t i = from; i < N; ++i)
        s += lamps[i] ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

inline QString priorities(const std::array<int, 11>& entries)
{
    QStringList s;
    for (size_t i = 1; i < entries.size(); ++i)
        s << QString::number(entries[i]);
    return s.join(QLatin1Char(','));
}

inline const QString kChannel1 = QStringLiteral("C001 F01544300 TN");

} // namespace vexlor::monitor::testing
