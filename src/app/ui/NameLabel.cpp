#include "app/ui/NameLabel.h"

#include <QMouseEvent>

namespace vexlor::app {

void NameLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        Q_EMIT rightButtonPressed();
        return;
    }
    FieldLabel::mousePressEvent(event);
}

} // namespace vexlor::app

#include "moc_NameLabel.cpp"
