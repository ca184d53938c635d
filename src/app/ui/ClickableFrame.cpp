#include "app/ui/ClickableFrame.h"

#include <QMouseEvent>

namespace vexlor::app {

ClickableFrame::ClickableFrame(const QString& title, QWidget* parent)
    : QGroupBox(title, parent)
{
}

void ClickableFrame::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    m_pressed = false;
    event->accept();
}

void ClickableFrame::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The release that follows is not a second click.
    m_pressed = false;
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
    event->accept();
}

} // namespace vexlor::app

#include "moc_ClickableFrame.cpp"
