#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace vexlor::platform {

bool QtShell::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool QtShell::openFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

} // namespace vexlor::platform
