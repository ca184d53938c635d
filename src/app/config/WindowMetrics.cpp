#include "app/config/WindowMetrics.h"

#include <cmath>

namespace vexlor::app {

int twipsToPixels(int twips, double dpi)
{
    if (!(dpi > 0) || !std::isfinite(dpi))
        dpi = 96;
    return int(std::lround(twips * dpi / 1440.0));
}

QSize mainWindowSize(bool consoleShown, double dpiX, double dpiY)
{
    const int h = consoleShown ? kMainHeightConsoleTwips : kMainHeightCompactTwips;
    return {twipsToPixels(kMainWidthTwips, dpiX), twipsToPixels(h, dpiY)};
}

} // namespace vexlor::app
