#include "platform/SafeWrite.h"

#include "platform/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexlor::platform::safewrite {

namespace {

const QString kNotRegular = QStringLiteral("it is not a regular file");

Result failed(Result r, int errorNumber)
{
    r.errorNumber = errorNumber;
    r.reason = systemReason(errorNumber);
    return r;
}

// The file a chain of links ends at (absolute), as the kernel would write it; empty for a loop.
QString finalTarget(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; info.isSymLink(); ++depth) {
        if (depth == 40)
            return {};
        info.setFile(info.symLinkTarget());
    }
    return info.absoluteFilePath();
}

// The path with its folder resolved, for files that may not exist yet.
QString canonicalName(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? QDir::cleanPath(info.absolutePath()) : folder) + QLatin1Char('/') + info.fileName();
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return canonicalName(a) == canonicalName(QFileInfo(b).absoluteFilePath());
}

QByteArray randomSuffix()
{
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray s(6, '\0');
    for (char& c : s)
        c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars) - 1)];
    return s;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        at += n;
        left -= n;
    }
    return true;
}

} // namespace

Result replace(const QString& path, const QByteArray& bytes, std::optional<unsigned> mode)
{
    Result r;
    const QString target = finalTarget(path);
    if (target.isEmpty())
        return failed(r, ELOOP);
    const QByteArray name = QFile::encodeName(target);
    struct stat old {};
    const bool exists = ::stat(name.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        r.reason = kNotRegular;
        return r;
    }
    // The folder would allow the rename, but a file made read-only is meant to stay.
    if (exists && ::access(name.constData(), W_OK) != 0)
        return failed(r, errno);

    // Beside the destination, so the rename stays on one file system.
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = name + '.' + randomSuffix();
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode.value_or(0666));
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return failed(r, errno);
    r.opened = true;
    const auto abandon = [&](int errorNumber) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.constData());
        return failed(r, errorNumber);
    };

    if (exists && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Only root may give a file away; anyone else keeps it as their own.
    }
    if ((mode || exists) && ::fchmod(fd, mode ? mode_t(*mode) : old.st_mode & 07777) != 0)
        return abandon(errno);
    // A buffered write fails only at its flush: every byte goes to the kernel
    // here, and the sync makes a full disk or a failing device say so now.
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return abandon(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return abandon(errno);
    if (::rename(temp.constData(), name.constData()) != 0)
        return abandon(errno);
    // The rename itself survives a power cut only once the folder is on the disk.
    const int folder = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    r.written = true;
    return r;
}

QString folderProblem(const QString& path)
{
    const QString target = finalTarget(path);
    const QString folder = QFileInfo(target.isEmpty() ? path : target).absolutePath();
    const QByteArray name = QFile::encodeName(folder);
    const QString shown = QDir::toNativeSeparators(QDir::cleanPath(folder));
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return QStringLiteral("the folder %1 does not exist").arg(shown);
        return QStringLiteral("the folder %1 cannot be used: %2").arg(shown, systemReason(errno));
    }
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("%1 is not a folder").arg(shown);
    if (::access(name.constData(), W_OK) != 0)
        return QStringLiteral("the folder %1 cannot be written: %2").arg(shown, systemReason(errno));
    return {};
}

QString refusal(const QString& path, const QStringList& protectedFiles)
{
    const QString target = finalTarget(path);
    if (target.isEmpty())
        return systemReason(ELOOP);
    struct stat st {};
    if (::stat(QFile::encodeName(target).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return kNotRegular;
    for (const QString& own : protectedFiles) {
        if (sameFile(target, own))
            return QStringLiteral("it is one of Vexlor's own files (%1)").arg(QFileInfo(own).fileName());
    }
    return {};
}

} // namespace vexlor::platform::safewrite
