#include "memory/UploadTexts.h"

#include "link/ScannerLink.h"
#include "platform/Dialogs.h"

namespace vexlor::memory::texts {

using platform::Dialogs;

bool confirmUpload(Dialogs& dialogs)
{
    const QString text = QStringLiteral("You are about to upload data to your scanner.  "
                                        "Existing data in the selected bank will be overwritten!  "
                                        "\r\n\r\n"
                                        "** This is BETA Software and may not work properly.  Please make "
                                        "sure you have backed up your 245 with one of the backup utilities "
                                        "before continuing!"
                                        "\r\n\r\n"
                                        "Continue?");
    const Dialogs::Message m {text, QStringLiteral("Confirm Upload"), Dialogs::Buttons::YesNo, Dialogs::Icon::Warning};
    return dialogs.message(m) == Dialogs::Button::Yes;
}

bool refuseBusy(Dialogs& dialogs, const link::ScannerLink& link)
{
    if (link.isShuttingDown())
        return false;
    const QString what = link.owner().isEmpty() ? QStringLiteral("another exchange") : link.owner();
    Dialogs::Message m {QStringLiteral("The scanner is busy (%1).").arg(what), QStringLiteral("Watch out!"),
                        Dialogs::Buttons::Ok, Dialogs::Icon::Information};
    m.informative = QStringLiteral("Try again when it has finished.");
    dialogs.message(m);
    return false;
}

void reportStopped(Dialogs& dialogs, int sent, int total, const QString& what, bool lineLost)
{
    Dialogs::Message m {QStringLiteral("Upload stopped: %1 of %2 %3 sent.").arg(sent).arg(total).arg(what),
                        QStringLiteral("Upload Stopped"), Dialogs::Buttons::Ok, Dialogs::Icon::Information};
    m.informative = lineLost ? QStringLiteral("The serial line went down. The scanner is put back in "
                                              "running order when the line returns.")
                             : QStringLiteral("The scanner has left programming and is running again.");
    dialogs.message(m);
}

void reportRefused(Dialogs& dialogs, const QString& one)
{
    Dialogs::Message m {QStringLiteral("Upload failed: the scanner refused every %1.").arg(one),
                        QStringLiteral("Upload Failed"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
    m.informative = QStringLiteral("Check that the scanner is in remote mode, then try again.");
    dialogs.message(m);
}

void reportUpload(Dialogs& dialogs, const link::ScannerLink& link, const UploadResult& r, const QString& one,
                  const QString& many)
{
    if (link.isShuttingDown())
        return;
    if (!r.started) {
        refuseBusy(dialogs, link);
        return;
    }
    const int taken = r.sent - r.refused - r.unanswered;
    if (r.silent) {
        Dialogs::Message m {QStringLiteral("Upload stopped: the scanner did not answer."),
                            QStringLiteral("Upload Stopped"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
        m.informative = QStringLiteral("It took %1 of %2 %3 before it fell silent. Check that it is on, connected "
                                       "and in remote mode, then upload again.").arg(taken).arg(r.total).arg(many);
        dialogs.message(m);
        return;
    }
    if (r.stopped) {
        reportStopped(dialogs, r.sent, r.total, many, r.lineLost);
        return;
    }
    if (r.sent > 0 && r.refused == r.sent) {
        reportRefused(dialogs, one);
        return;
    }
    if (r.refused > 0) {
        Dialogs::Message m {QStringLiteral("Upload finished: %1 of %2 %3 taken, %4 refused.")
                                .arg(taken).arg(r.total).arg(many).arg(r.refused),
                            QStringLiteral("Upload Finished"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
        m.informative = QStringLiteral("The scanner answered the others with NG or ERR: a frequency outside its "
                                       "bands, for example. Correct them, then upload again.");
        dialogs.message(m);
        return;
    }
    dialogs.message({QStringLiteral("Upload finished: %1 %2 sent.").arg(r.sent).arg(r.sent == 1 ? one : many),
                     QStringLiteral("Upload Finished"), Dialogs::Buttons::Ok, Dialogs::Icon::Information});
}

} // namespace vexlor::memory::texts
