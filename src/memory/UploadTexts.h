#pragma once

#include <QString>

namespace vexlor::platform {
class Dialogs;
}
namespace vexlor::link {
class ScannerLink;
}

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

} // namespace vexlor::memory::texts
