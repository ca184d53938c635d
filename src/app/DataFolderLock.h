#pragma once

#include "platform/Dialogs.h"

#include <QLockFile>
#include <QString>

namespace vexlor::app {

// One Vexlor per data folder. Two would each keep their own copy of the
// memories and write the same records, one silently undoing the other's work.
// vexlor.lock is taken before any file of the folder is opened and held until
// the object goes, which removes it.
class DataFolderLock {
public:
    static inline const QString kFileName = QStringLiteral("vexlor.lock");

    enum class State {
        Free,        // not taken yet
        Taken,
        Held,        // another Vexlor has the folder: this one must not start
        Unavailable, // no lock can be made here: run without writing the stores
    };

    explicit DataFolderLock(const QString& folder);

    // A lock left by a process that is gone is taken over.
    State take();
    State state() const { return m_state; }

    // Held: who holds the folder, one sentence with the folder's path.
    QString heldText() const;
    platform::Dialogs::Message heldMessage() const;
    // Unavailable: that no lock was taken, and why.
    QString unavailableText() const;

private:
    State m_state = State::Free;
    QString m_folder;
    QLockFile m_lock;
    qint64 m_pid = 0;
    QString m_host;
    QString m_user;
    QString m_why;
};

} // namespace vexlor::app
