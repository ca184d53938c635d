#pragma once

#include <QString>
#include <QUrl>

namespace vexlor::platform {

// Opens documents and addresses with the desktop's default handlers.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QUrl& url) = 0;
    virtual bool openFile(const QString& path) = 0;
};

} // namespace vexlor::platform
