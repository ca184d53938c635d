#pragma once

#include <QString>

namespace vexlor::platform {
class Dialogs;
}
namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::memory {

// What a bank or an ID list upload did.
struct UploadResult {
    bool started = false;  // false: another exchange held the line, nothing sent
    bool stopped = false;  // ended early: the operator, the line or a silent receiver
    bool lineLost = false; // stopped because the line went down
    bool silent = false;   // stopped because the receiver answered nothing in the time-out
    int sent = 0;          // items whose command went out
    int refused = 0;       // of those, answered "NG" or "ERR"
    int unanswered = 0;    // of those, not answered at all
    int total = 0;         // items the upload had to send
};

} // namespace vexlor::memory

// Boxes that the bank and ID transfers share.
namespace vexlor::memory::texts {

// The question before any upload; true for Yes.
bool confirmUpload(platform::Dialogs& dialogs);

// Tells the operator that another exchange has the receiver. Returns false
// so a caller can write `return refuseBusy(...)`.
bool refuseBusy(platform::Dialogs& dialogs, const link::ScannerLink& link);

// After an upload that the operator stopped, or that lost the line.
void reportStopped(platform::Dialogs& dialogs, int sent, int total, const QString& what, bool lineLost = false);

// After an upload whose every data command the scanner refused; `one` names
// a single item ("channel").
void reportRefused(platform::Dialogs& dialogs, const QString& one);

// The one box that ends every upload, whatever ended it; `one` and `many`
// name the items ("channel", "channels"). Nothing once the program is ending.
void reportUpload(platform::Dialogs& dialogs, const link::ScannerLink& link, const UploadResult& r, const QString& one,
                  const QString& many);

} // namespace vexlor::memory::texts
