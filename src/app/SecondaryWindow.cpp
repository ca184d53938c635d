#include "app/SecondaryWindow.h"

#include <QWidget>
#include <QWindow>

namespace vexlor::app {

void showSecondaryWindow(QWidget& main, QWidget& window)
{
    if (QWindow* parent = main.windowHandle()) {
        window.winId();
        if (QWindow* own = window.windowHandle())
            own->setTransientParent(parent);
    }
    window.show();
    window.raise();
    window.activateWindow();
}

void bringForward(QWidget& main)
{
    if (main.isVisible()) {
        main.raise();
        main.activateWindow();
    }
}

} // namespace vexlor::app
