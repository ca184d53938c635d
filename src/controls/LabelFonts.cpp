#include "controls/LabelFonts.h"

#include "platform/Dialogs.h"

namespace vexlor::controls {

QFont ChangeLabelFonts(platform::Dialogs& dialogs, const QFont& labelFont)
{
    const std::optional<QFont> chosen = dialogs.chooseFont(labelFont);
    if (!chosen)
        return labelFont;
    // Only what the dialog offers; the label keeps the rest of its font.
    QFont f = labelFont;
    f.setFamily(chosen->family());
    f.setBold(chosen->bold());
    f.setItalic(chosen->italic());
    if (chosen->pointSizeF() > 0)
        f.setPointSizeF(chosen->pointSizeF());
    else if (chosen->pixelSize() > 0)
        f.setPixelSize(chosen->pixelSize());
    return f;
}

} // namespace vexlor::controls
