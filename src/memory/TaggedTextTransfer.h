#pragma once

#include "memory/ImportUpload.h"
#include "memory/ReceiverBackup.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace vexlor::platform {
class Dialogs;
class SerialPort;
}
namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::memory {

class LocalStores;
class MemoryTables;

// What the transfer window shows while an upload or a backup runs.
struct TransferState {
    bool visible = false;
    QString caption;
    QString text;
    int done = 0;
    int total = 0;
};

// The menu items that move whole memory sets: tagged text export, tagged
// text import with its upload, and the receiver backup.
class TaggedTextTransfer : public QObject {
    Q_OBJECT
public:
    static inline const QString kFilter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
    static inline const QString kBackupFolder = QStringLiteral("backups");

    struct Parts {
        link::ScannerLink& link;
        platform::SerialPort& port;
        platform::Dialogs& dialogs;
        MemoryTables& tables;
        LocalStores& stores;
        // Files an export must never replace; the stores alone when not given.
        std::function<QStringList()> ownFiles = {};
    };

    explicit TaggedTextTransfer(const Parts& parts, QObject* parent = nullptr);

    const TransferState& state() const { return m_s; }
    ImportUpload& uploader() { return m_upload; }
    ReceiverBackup& backup() { return m_backup; }

    void ExportTaggedTextFile();
    void ImportTaggedTextFile();
    void BackupScanner();
    // The transfer window's Stop, or its closing.
    void stop();

    // "backups/backup-20261208-184419.txt", in the working directory.
    static QString backupFileName(const QDateTime& at);

Q_SIGNALS:
    void changed();
    // The upload is over: the receiver's state is read afresh.
    void statusRefreshWanted();

private:
    std::optional<QString> choose(const QString& title, bool newName);
    void show(const QString& caption, const QString& text, int total);
    void hide();
    void uploadImported(const QString& note);
    void message(const QString& text, const QString& informative = {});

    link::ScannerLink& m_link;
    platform::Dialogs& m_dialogs;
    MemoryTables& m_tables;
    LocalStores& m_stores;
    std::function<QStringList()> m_ownFiles;
    ImportUpload m_upload;
    ReceiverBackup m_backup;
    TransferState m_s;
};

} // namespace vexlor::memory
