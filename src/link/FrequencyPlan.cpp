#include "link/FrequencyPlan.h"

#include "link/Wire.h"

#include <array>
#include <utility>

namespace vexlor::link::plan {

namespace {

// Inclusive, in 100 Hz units.
constexpr std::array<std::pair<qint64, qint64>, 6> kBands {{
    {290000, 540000},
    {1080000, 1740000},
    {4060000, 5120000},
    {8060000, 8239875},
    {8490125, 8689875},
    {8940125, 9560000},
}};

} // namespace

bool inBand(qint64 units)
{
    for (const auto& [low, high] : kBands) {
        if (units >= low && units <= high)
            return true;
    }
    return false;
}

bool onStep(qint64 units)
{
    const qint64 eighths = (2 * units) % 125; // 6.25 kHz is 62.5 units
    return units % 50 == 0 || eighths <= 1 || eighths >= 124;
}

QString refusal(qint64 units)
{
    const QString mhz = wire::formatMHz(double(units) / 10000.0);
    if (units == 0)
        return {};
    if (!inBand(units))
        return QStringLiteral("%1 MHz is outside the scanner's bands (29-54, 108-174, 406-512 and 806-956 MHz).").arg(mhz);
    if (!onStep(units))
        return QStringLiteral("%1 MHz is not on one of the scanner's steps (5 kHz or 6.25 kHz).").arg(mhz);
    return {};
}

} // namespace vexlor::link::plan
