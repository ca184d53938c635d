#pragma once

#include <QFont>

namespace vexlor::platform {
class Dialogs;
}

namespace vexlor::controls {

// The font dialog, preset with a name label's font: the font the label is to
// have afterwards, which is its own when the operator cancels. Kept for this
// run only.
QFont ChangeLabelFonts(platform::Dialogs& dialogs, const QFont& labelFont);

} // namespace vexlor::controls
