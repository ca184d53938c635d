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

// After an upload that the operator stopped.
void reportStopped(platform::Dialogs& dialogs, int sent, int total, const QString& what);

} // namespace vexlor::memory::texts
