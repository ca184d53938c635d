#include "app/ui/ReadoutScaler.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>
#include <cmath>

namespace vexlor::app {

void ReadoutScaler::add(QLabel* label)
{
    if (label)
        m_entries.append({label, label->font(), label->minimumHeight()});
}

QFont ReadoutScaler::baseFont(const QLabel* label) const
{
    for (const Entry& e : m_entries) {
        if (e.label == label)
            return e.base;
    }
    return label ? label->font() : QFont();
}

void ReadoutScaler::setBaseFont(QLabel* label, const QFont& font)
{
    for (Entry& e : m_entries) {
        if (e.label == label) {
            e.base = font;
            apply(e);
        }
    }
}

void ReadoutScaler::setScale(double scale)
{
    if (scale == m_scale)
        return;
    m_scale = scale;
    for (const Entry& e : m_entries)
        apply(e);
}

double ReadoutScaler::scaleFor(int width, int designedWidth)
{
    if (designedWidth <= 0)
        return 1;
    const double by = double(width) / designedWidth;
    // In steps, so that a window dragged larger is not laid out again at every pixel.
    return std::clamp(std::floor(by * 20) / 20, 1.0, 4.0);
}

void ReadoutScaler::apply(const Entry& e) const
{
    QFont f = e.base;
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * m_scale);
    else
        f.setPixelSize(int(std::lround(f.pixelSize() * m_scale)));
    // The least width stays, so the window need not widen for its own scale; the
    // least height grows with the text, so no line is cut.
    e.label->setFont(f);
    e.label->setMinimumHeight(std::max(e.baseHeight, QFontMetrics(f).height() + 2 * e.label->frameWidth()));
}

} // namespace vexlor::app
