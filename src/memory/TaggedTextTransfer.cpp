#include "memory/TaggedTextTransfer.h"

#include "link/ScannerLink.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "memory/TaggedText.h"
#include "memory/TaggedTextFile.h"
#include "memory/UploadTexts.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/SafeWrite.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace vexlor::memory {

using platform::Dialogs;

namespace {

QString failedText(const char* what, const char* step, int number)
{
    return QStringLiteral("%1 Failed: %2 (%3)").arg(QLatin1String(what), QLatin1String(step)).arg(number);
}

} // namespace

TaggedTextTransfer::TaggedTextTransfer(const Parts& parts, QObject* parent)
    : QObject(parent),
      m_link(parts.link),
      m_dialogs(parts.dialogs),
      m_tables(parts.tables),
      m_stores(parts.stores),
      m_ownFiles(parts.ownFiles),
      m_upload(parts.link, parts.tables),
      m_backup(parts.link, parts.port)
{
    auto progress = [this](int done, int total) {
        m_s.done = done;
        m_s.total = total;
        Q_EMIT changed();
    };
    connect(&m_upload, &ImportUpload::progressed, this, progress);
    connect(&m_backup, &ReceiverBackup::progressed, this, progress);
    connect(&m_backup, &ReceiverBackup::statusChanged, this, [this](const QString& text) {
        m_s.text = text;
        Q_EMIT changed();
    });
}

void TaggedTextTransfer::message(const QString& text, const QString& informative)
{
    Dialogs::Message m {text};
    m.informative = informative;
    m_dialogs.message(m);
}

std::optional<QString> TaggedTextTransfer::choose(const QString& title, bool newName)
{
    // The dialog may move the working directory, where every other file lives.
    const QString cwd = QDir::currentPath();
    const auto path = m_dialogs.openFile({title, kFilter, 2, newName});
    QDir::setCurrent(cwd);
    return path;
}

void TaggedTextTransfer::show(const QString& caption, const QString& text, int total)
{
    m_s = {true, caption, text, 0, total};
    Q_EMIT changed();
}

void TaggedTextTransfer::hide()
{
    m_s.visible = false;
    Q_EMIT changed();
}

void TaggedTextTransfer::stop()
{
    m_upload.stop();
    m_backup.stop();
}

void TaggedTextTransfer::ExportTaggedTextFile()
{
    const auto path = choose(QStringLiteral("Export Tagged Text File"), true);
    if (!path) {
        message(QStringLiteral("Tagged Text File Export Cancelled..."));
        return;
    }
    const QString refused = platform::safewrite::refusal(*path, m_ownFiles ? m_ownFiles() : m_stores.files());
    if (!refused.isEmpty()) {
        message(QStringLiteral("Tagged Text File Export Refused"),
                QStringLiteral("%1: %2.\nNothing was written.").arg(QDir::toNativeSeparators(*path), refused));
        return;
    }
    const taggedfile::WriteResult r = taggedfile::write(*path, tagged::exportText(m_tables));
    if (!r.opened)
        message(failedText("Tagged Text File Export", "File Open", r.errorNumber), r.reason);
    else if (!r.written)
        message(failedText("Tagged Text File Export", "File Write", r.errorNumber),
                r.reason + QStringLiteral("\nAny earlier file of that name is unchanged."));
    else if (const QStringList left = tagged::exportOmissions(m_tables); !left.isEmpty()) {
        Dialogs::Message m {QStringLiteral("Tagged Text File Exported, Without Some IDs"), QStringLiteral("Watch out!"),
                            Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
        m.informative = left.join(QLatin1Char('\n'));
        m_dialogs.message(m);
    }
}

void TaggedTextTransfer::ImportTaggedTextFile()
{
    // A second import would change the tables under the upload that reads them.
    if (m_upload.isRunning() || m_backup.isRunning()) {
        texts::refuseBusy(m_dialogs, m_link);
        return;
    }
    const auto path = choose(QStringLiteral("Import Tagged Text File"), false);
    if (!path) {
        message(QStringLiteral("Frequency File Import Cancelled..."));
        return;
    }
    // Read into a copy: the tables and the stores change together, or not at all.
    auto next = std::make_unique<MemoryTables>(m_tables);
    const taggedfile::ReadResult r = taggedfile::import(*path, *next);
    if (!r.opened || (!r.complete && !r.tooLarge)) {
        message(failedText("Frequency File Import", r.opened ? "File Read" : "File Open", r.errorNumber), r.reason);
        return;
    }
    if (r.tooLarge) {
        message(QStringLiteral("Frequency File Import Failed: File Too Large"),
                QStringLiteral("A tagged text file is far smaller than %1 MB; this one is no tagged text file.")
                    .arg(taggedfile::kMaxFileBytes / (1024 * 1024)));
        return;
    }
    if (r.count.records == 0) {
        message(QStringLiteral("Frequency File Import Failed: Nothing To Import"),
                QStringLiteral("No line of %1 holds a channel, bank or ID. Vexlor's memories are as they were.")
                    .arg(QDir::toNativeSeparators(*path)));
        return;
    }
    if (!taggedfile::commitImport(m_tables, *next, m_stores, this)) {
        message(QStringLiteral("Frequency File Import Failed: Local Files Not Written"),
                m_stores.errorString() + QStringLiteral("\nNothing was imported; Vexlor's memories are as they were."));
        return;
    }
    QStringList notes;
    if (r.count.skipped > 0)
        notes << QStringLiteral("%1 line(s) held no record that fits the memories and were skipped.").arg(r.count.skipped);
    if (r.count.refusedFrequencies > 0)
        notes << tagged::refusedFrequenciesNote(r.count.refusedFrequencies);
    uploadImported(notes.join(QLatin1Char('\n')));
}

void TaggedTextTransfer::uploadImported(const QString& note)
{
    Dialogs::Message question {QStringLiteral("The Tagged Text File is imported.\r\nSend changes to scanner?"),
                               QStringLiteral("Confirm Upload To Scanner?"), Dialogs::Buttons::YesNo,
                               Dialogs::Icon::Warning};
    question.informative = note;
    if (m_dialogs.message(question) != Dialogs::Button::Yes) {
        tagged::clearMarks(m_tables);
        return;
    }
    show(QStringLiteral("Uploading To Scanner"), QStringLiteral("Sending the imported memories..."),
         tagged::markCount(m_tables));
    const ImportUpload::Result result = m_upload.run();
    hide();
    if (m_link.isShuttingDown())
        return;
    if (!result.started) {
        texts::refuseBusy(m_dialogs, m_link);
        return;
    }
    if (result.stopped) {
        Dialogs::Message m {QStringLiteral("Upload stopped: %1 of %2 items sent.").arg(result.sent).arg(result.total),
                            QStringLiteral("Upload Stopped"), Dialogs::Buttons::Ok, Dialogs::Icon::Information};
        if (!m_link.lineUp())
            m.informative = QStringLiteral("The serial line went down. Import the file again to send the rest.");
        else if (result.unanswered > 0)
            m.informative = QStringLiteral("The scanner stopped answering. Check that it is on and in remote "
                                           "mode, then import the file again to send the rest.");
        else
            m.informative = QStringLiteral("The scanner has left programming and is running again. "
                                           "Import the file again to send the rest.");
        m_dialogs.message(m);
    } else if (result.sent > 0 && result.refused == result.sent) {
        texts::reportRefused(m_dialogs, QStringLiteral("item"));
    } else if (result.refused > 0) {
        Dialogs::Message m {QStringLiteral("The scanner refused %1 of %2 items.").arg(result.refused).arg(result.total),
                            QStringLiteral("Watch out!"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
        m.informative = QStringLiteral("It answered them with NG, ERR or something else than OK. Check that it "
                                       "is in remote mode, then import the file again.");
        m_dialogs.message(m);
    } else if (result.skipped > 0) {
        Dialogs::Message m {QStringLiteral("The Tagged Text File is imported and uploaded to your scanner, "
                                           "but for %1 of %2 items.").arg(result.skipped).arg(result.total),
                            QStringLiteral("Watch out!"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
        m.informative = QStringLiteral("A bank whose trunk type the scanner does not know keeps its type and "
                                       "trunk channels unsent, and an ID that is not a number is not sent. "
                                       "Correct them, then upload again.");
        m_dialogs.message(m);
    } else {
        message(QStringLiteral("The Tagged Text File is imported\r\nand uploaded to your scanner."));
    }
    Q_EMIT statusRefreshWanted();
}

QString TaggedTextTransfer::backupFileName(const QDateTime& at)
{
    return kBackupFolder + QStringLiteral("/backup-") + at.toString(QStringLiteral("yyyyMMdd-HHmmss"))
        + QStringLiteral(".txt");
}

void TaggedTextTransfer::BackupScanner()
{
    if (m_upload.isRunning() || m_backup.isRunning() || m_link.isBusy()) {
        texts::refuseBusy(m_dialogs, m_link);
        return;
    }
    const QString title = QStringLiteral("Back Up Scanner");
    // A backup takes a while: its folder is checked before the receiver is touched.
    const QString planned = QDir::current().absoluteFilePath(backupFileName(m_link.clock().localDateTime()));
    QDir().mkpath(QFileInfo(planned).absolutePath());
    if (const QString why = platform::safewrite::folderProblem(planned); !why.isEmpty()) {
        m_dialogs.message({QStringLiteral("Backup Failed: ") + why + QLatin1Char('.'), title, Dialogs::Buttons::Ok,
                           Dialogs::Icon::Warning});
        return;
    }
    show(title, QStringLiteral("Preparing the scanner..."), ReceiverBackup::steps(m_tables));
    // Heap: a whole memory set is too big for the stack.
    auto copy = std::make_unique<MemoryTables>();
    const ReceiverBackup::Outcome outcome = m_backup.run(m_tables, *copy);
    hide();
    if (m_link.isShuttingDown())
        return;
    Dialogs::Message m {QString(), title, Dialogs::Buttons::Ok, Dialogs::Icon::Information};
    switch (outcome) {
    case ReceiverBackup::Outcome::Refused: texts::refuseBusy(m_dialogs, m_link); return;
    case ReceiverBackup::Outcome::Stopped: m.text = QStringLiteral("Backup stopped. No file was written."); break;
    case ReceiverBackup::Outcome::Failed:
        m.text = QStringLiteral("Backup Failed: ") + m_backup.failure();
        m.icon = Dialogs::Icon::Warning;
        break;
    case ReceiverBackup::Outcome::Partial:
    case ReceiverBackup::Outcome::Complete: {
        const QString path = QDir::current().absoluteFilePath(backupFileName(m_link.clock().localDateTime()));
        const taggedfile::WriteResult w = taggedfile::write(path, tagged::exportText(*copy));
        if (w.written) {
            m.text = QStringLiteral("The scanner's memories are backed up to\r\n") + QDir::toNativeSeparators(path);
            m.informative = QStringLiteral("To restore them, import this file and answer Yes. ID lock-outs are "
                                           "not restored: lock those IDs out again in the ID Directory.");
            if (outcome == ReceiverBackup::Outcome::Partial) {
                m.informative = QStringLiteral("The scanner would not scan %1 in trunk mode: the file holds "
                                               "everything else, but not those ID lists. ")
                                    .arg(ReceiverBackup::bankList(m_backup.unreadBanks()))
                    + m.informative;
                m.icon = Dialogs::Icon::Warning;
            }
        } else {
            m.text = failedText("Backup", w.opened ? "File Write" : "File Open", w.errorNumber);
            m.informative = w.reason;
            m.icon = Dialogs::Icon::Warning;
        }
        break;
    }
    }
    m_dialogs.message(m);
}

} // namespace vexlor::memory

#include "moc_TaggedTextTransfer.cpp"
