#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Saving a whole file so that a failure never costs the old one.
namespace vexlor::platform::safewrite {

struct Result {
    bool opened = false;  // a new file could be made beside the destination
    bool written = false; // the new file is complete, on the disk and in place
    int errorNumber = 0;  // errno of the call that failed; 0 when the destination was refused
    QString reason;       // the system's text for that errno, or why the destination was refused
};

// Writes the bytes to a new file beside path, checks every write, syncs it to
// the disk and only then renames it over path. On any failure the new file is
// removed and the old one stays whole. A symbolic link is followed (the file it
// names is replaced, the link stays); an existing destination that is not a
// regular file (a device, a FIFO, a folder) is refused, and so is one that
// cannot be written. The new file keeps the old one's permissions and owner,
// or takes `mode` when given.
Result replace(const QString& path, const QByteArray& bytes, std::optional<unsigned> mode = std::nullopt);

// Why no file can be made at path: its folder is missing or cannot be written.
// Empty when it can.
QString folderProblem(const QString& path);

// Why path must not be replaced: it exists and is not a regular file, or it is
// one of `protectedFiles` (compared as the files they name, so "x/../a", links
// and hard links count). Empty when it may.
QString refusal(const QString& path, const QStringList& protectedFiles = {});

} // namespace vexlor::platform::safewrite
