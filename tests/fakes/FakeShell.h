#pragma once

#include "platform/Shell.h"

#include <QStringList>

namespace vexlor::fakes {

class FakeShell : public platform::Shell {
public:
    bool openUrl(const QUrl& url) override { urls.append(url.toString()); return true; }
    bool openFile(const QString& path) override { files.append(path); return true; }

    QStringList urls;
    QStringList files;
};

} // namespace vexlor::fakes
