#pragma once

#include <QFile>
#include <QString>
#include <optional>

namespace vexlor::simulator {

// Reads a small text file and parses it; on failure `error` names the file and the reason.
// A file over maxSize is a mistake, not one of ours.
template <typename T, typename Parse>
std::optional<T> loadTextFile(const QString& path, qint64 maxSize, const QString& kind, Parse parse,
                              QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, why);
        return std::optional<T>();
    };
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fail(f.errorString());
    if (f.size() > maxSize)
        return fail(QStringLiteral("too large for a %1").arg(kind));
    QString why;
    std::optional<T> parsed = parse(f.readAll(), &why);
    if (!parsed)
        return fail(why);
    return parsed;
}

} // namespace vexlor::simulator
