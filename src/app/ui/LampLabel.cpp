#include "app/ui/LampLabel.h"

#include "app/ui/Look.h"

#include <QMouseEvent>

namespace vexlor::app {

LampLabel::LampLabel(const QString& text, QWidget* parent)
    : FieldLabel(text, parent)
{
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QFont f = font();
    f.setBold(true);
    setFont(f);
    setLit(false);
}

void LampLabel::setLit(bool on)
{
    m_lit = on;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, on ? lampOnColor() : lampOffColor());
    setPalette(p);
}

void LampLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void LampLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // Like a button: only a release over the label counts.
    const bool inside = rect().contains(event->position().toPoint());
    if (m_pressed && event->button() == Qt::LeftButton && inside)
        Q_EMIT clicked();
    m_pressed = false;
    event->accept();
}

} // namespace vexlor::app

#include "moc_LampLabel.cpp"
