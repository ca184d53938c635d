#pragma once

#include <QString>

class QSslConfiguration;

namespace vexlor::web {

// The operator's certificate (PEM, the chain after it if any) and its private key
// (PEM, not protected by a pass phrase), read and checked against each other so
// a wrong pair is refused at start with its reason, not by every browser later.
// False, with the reason, when they cannot serve TLS.
bool loadTls(const QString& certificatePath, const QString& keyPath, QSslConfiguration* config, QString* error);

} // namespace vexlor::web
