#include "app/DataFolderLock.h"

#include <QDir>
#include <QFileInfo>

#include <chrono>

namespace vexlor::app {

using namespace std::chrono_literals;

DataFolderLock::DataFolderLock(const QString& folder)
    : m_folder(QDir(folder).absolutePath()),
      m_lock(QDir(folder).absoluteFilePath(kFileName))
{
    // Held for the whole run, so its age says nothing: only a holder that is gone frees it.
    m_lock.setStaleLockTime(0ms);
}

DataFolderLock::State DataFolderLock::take()
{
    // The short wait lets a Vexlor starting at this very moment finish writing who it is.
    if (m_lock.tryLock(200ms))
        return m_state = State::Taken;
    if (m_lock.error() == QLockFile::LockFailedError && !m_lock.getLockInfo(nullptr, nullptr, nullptr)) {
        // A lock naming no process was cut short by a crash. The removal fails
        // while a live process keeps the file locked.
        m_lock.removeStaleLockFile();
        if (m_lock.tryLock(0ms))
            return m_state = State::Taken;
    }
    if (m_lock.error() == QLockFile::LockFailedError && QFileInfo(m_folder).isWritable()) {
        m_lock.getLockInfo(&m_pid, &m_host, nullptr);
        const QFileInfo file(m_lock.fileName());
        m_user = file.owner().isEmpty() ? QString::number(file.ownerId()) : file.owner();
        return m_state = State::Held;
    }
    // A folder this run cannot write is safe to read beside whoever holds it.
    m_why = m_lock.error() == QLockFile::UnknownError ? QStringLiteral("vexlor.lock could not be written")
                                                      : QStringLiteral("the folder is not writable");
    return m_state = State::Unavailable;
}

QString DataFolderLock::heldText() const
{
    if (m_pid <= 0)
        return QStringLiteral("Vexlor is already running on the data folder %1 (vexlor.lock names no process).")
            .arg(m_folder);
    return QStringLiteral("Vexlor is already running on the data folder %1 (process %2 on %3, started by %4).")
        .arg(m_folder)
        .arg(m_pid)
        .arg(m_host, m_user);
}

platform::Dialogs::Message DataFolderLock::heldMessage() const
{
    platform::Dialogs::Message m {heldText(), {}, platform::Dialogs::Buttons::Ok, platform::Dialogs::Icon::Critical};
    m.informative = QStringLiteral("Two on the same files would overwrite each other's changes. Close that Vexlor "
                                   "first, or start this one on another folder with --data-dir.");
    return m;
}

QString DataFolderLock::unavailableText() const
{
    return QStringLiteral("no lock taken on the data folder %1 (%2): bank.dat and idbank.dat are only read, "
                          "changes to the memories are not saved")
        .arg(m_folder, m_why);
}

} // namespace vexlor::app
