#include "platform/qt/PortHolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <csignal>
#include <cerrno>
#include <unistd.h>

namespace vexlor::platform {

namespace {

bool alive(qint64 pid) { return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

QString commandOf(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll().trimmed()) : QString();
}

QString describe(qint64 pid, QString name)
{
    if (name.isEmpty())
        name = commandOf(pid);
    return name.isEmpty() ? QStringLiteral("process %1").arg(pid) : QStringLiteral("process %1 (%2)").arg(pid).arg(name);
}

// The UUCP-style lock that serial programs (and QSerialPort) take.
QString fromLockFile(const QString& devicePath)
{
    QString name = devicePath;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const QString& dir : {QStringLiteral("/var/lock"), QStringLiteral("/etc/locks"), QStringLiteral("/var/spool/locks"),
                               QStringLiteral("/var/spool/uucp"), QDir::tempPath()}) {
        const QString path = dir + QStringLiteral("/LCK..") + name;
        if (!QFile::exists(path))
            continue;
        qint64 pid = 0;
        QString host;
        QString app;
        if (QLockFile(path).getLockInfo(&pid, &host, &app) && alive(pid) && pid != ::getpid())
            return describe(pid, app);
        // A lock of the old kind holds only the number, as text.
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            bool ok = false;
            pid = f.readLine().trimmed().toLongLong(&ok);
            if (ok && alive(pid) && pid != ::getpid())
                return describe(pid, QString());
        }
    }
    return QString();
}

// A program that takes no lock: look through the open files of every process we may see.
QString fromProc(const QString& devicePath)
{
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    if (device.isEmpty())
        return QString();
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || pid == ::getpid())
            continue;
        const QDir fds(proc.filePath(entry + QStringLiteral("/fd")));
        for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() == device)
                return describe(pid, QString());
        }
    }
    return QString();
}

} // namespace

QString portHolder(const QString& devicePath)
{
    const QString held = fromLockFile(devicePath);
    return held.isEmpty() ? fromProc(devicePath) : held;
}

} // namespace vexlor::platform
