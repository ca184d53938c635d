#include "app/ui/FieldLabel.h"

#include <QPainter>

#include <algorithm>

namespace vexlor::app {

void FieldLabel::setPlaceholderText(const QString& text)
{
    m_placeholder = text;
    // Never narrower than the placeholder, so it always shows whole.
    const int needed = fontMetrics().horizontalAdvance(text) + 2 * (frameWidth() + margin()) + 6;
    setMinimumWidth(std::max(minimumWidth(), needed));
    update();
}

void FieldLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (m_placeholder.isEmpty() || !text().isEmpty())
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::PlaceholderText));
    const QRect r = contentsRect().adjusted(margin() + 2, 0, -margin() - 2, 0);
    p.drawText(r, int(alignment()), fontMetrics().elidedText(m_placeholder, Qt::ElideRight, r.width()));
}

} // namespace vexlor::app

#include "moc_FieldLabel.cpp"
