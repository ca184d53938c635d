#pragma once

#include <QString>
#include <QStringList>

namespace vexlor::memory {
class LocalStores;
}

namespace vexlor::app {

class IniFile;

// The files Vexlor keeps in its data folder (the working directory), as
// absolute paths: the stores and their journals, the configuration, the lock,
// the configured activity log, the talkgroup table and the built-in
// simulator's memories. An export or a backup never replaces one of them.
QStringList ownFiles(const IniFile& ini, const memory::LocalStores& stores);

// Why an export or a backup cannot go to path (its folder is missing or not
// writable, it is not a regular file, or it is one of `own`); empty when it can.
QString destinationProblem(const QString& path, const QStringList& own);

} // namespace vexlor::app
