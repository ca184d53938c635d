#pragma once

#include "platform/Shell.h"

namespace vexlor::platform {

class QtShell : public Shell {
public:
    bool openUrl(const QUrl& url) override;
    bool openFile(const QString& path) override;
};

} // namespace vexlor::platform
