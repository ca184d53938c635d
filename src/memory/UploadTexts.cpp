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

} // namespace vexlor::memory::texts
