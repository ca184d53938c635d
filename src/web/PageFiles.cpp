#include "web/PageFiles.h"

#include <QFile>

#include <array>
#include <utility>

namespace vexlor::web {

namespace {

constexpr std::array<std::pair<const char*, const char*>, 3> kFiles {{
    {"/index.html", "text/html; charset=utf-8"},
    {"/app.js", "text/javascript; charset=utf-8"},
    {"/style.css", "text/css; charset=utf-8"},
}};

} // namespace

bool pageFile(const QByteArray& path, QByteArray* body, QByteArray* contentType)
{
    for (const auto& [name, type] : kFiles) {
        if (path != name)
            continue;
        QFile f(QStringLiteral(":/web") + QLatin1String(name));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        *body = f.readAll();
        *contentType = type;
        return true;
    }
    return false;
}

qint64 pageBytes()
{
    qint64 total = 0;
    for (const auto& [name, type] : kFiles)
        total += QFile(QStringLiteral(":/web") + QLatin1String(name)).size();
    return total;
}

} // namespace vexlor::web
