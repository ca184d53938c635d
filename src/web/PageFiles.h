#pragma once

#include <QByteArray>

namespace vexlor::web {

// The page's own files, built into the program: nothing is fetched from elsewhere.
// False for a path that is none of them.
bool pageFile(const QByteArray& path, QByteArray* body, QByteArray* contentType);
// All of them together, for the size the page costs a phone.
qint64 pageBytes();

} // namespace vexlor::web
