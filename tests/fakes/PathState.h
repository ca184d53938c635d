#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>

namespace vexlor::testing {

// What a path is (a link and its target, a file and its bytes, something
// else, nothing), to tell that a failed save left it alone.
inline QString pathState(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    if (info.isFile()) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QStringLiteral("file ") + QString::fromLatin1(f.readAll().toHex())
                                           : QStringLiteral("unreadable file");
    }
    return info.exists() ? QStringLiteral("other") : QStringLiteral("none");
}

} // namespace vexlor::testing
