#include "app/WindowPlacer.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace vexlor::app {

namespace {

const char* const kStandardBoxes[] = {"QMessageBox",  "QFileDialog",     "QFontDialog",  "QColorDialog",
                                      "QInputDialog", "QProgressDialog", "QPrintDialog", "QPrintPreviewDialog",
                                      "QPageSetupDialog"};

QList<QRect> availableScreens()
{
    QList<QRect> areas;
    for (const QScreen* s : QGuiApplication::screens())
        areas << s->availableGeometry();
    return areas;
}

} // namespace

WindowPlacer::WindowPlacer(QWidget& main, WindowPlaces& places, QObject* parent)
    : QObject(parent), m_main(main), m_places(places)
{
    qApp->installEventFilter(this);
}

WindowPlacer::~WindowPlacer() { qApp->removeEventFilter(this); }

bool WindowPlacer::tracked(const QObject* o) const
{
    const auto* w = qobject_cast<const QWidget*>(o);
    if (!w || !w->isWindow() || w->objectName().isEmpty())
        return false;
    const Qt::WindowType type = w->windowType();
    if (type != Qt::Window && type != Qt::Dialog)
        return false;
    for (const char* box : kStandardBoxes) {
        if (w->inherits(box))
            return false;
    }
    return true;
}

bool WindowPlacer::eventFilter(QObject* watched, QEvent* event)
{
    // Only shows and hides of windows cost more than this test.
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && tracked(watched)) {
        auto* w = static_cast<QWidget*>(watched);
        if (type == QEvent::Show)
            place(*w);
        else
            m_places.remember(w->objectName(), w->geometry());
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlacer::place(QWidget& w)
{
    const std::optional<QRect> remembered = m_places.remembered(w.objectName());
    // Until the main window shows, only a remembered place says where to go.
    if (!remembered && (&w == &m_main || !m_main.isVisible()))
        return;
    const int frame = m_main.isVisible() ? m_main.geometry().top() - m_main.frameGeometry().top() : 0;
    const QRect main = m_main.isVisible() ? m_main.frameGeometry() : QRect();
    const QRect to = WindowPlaces::place(remembered, w.size(), main, availableScreens(), frame);
    w.setGeometry(to);
}

void WindowPlacer::rememberShown()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && tracked(w))
            m_places.remember(w->objectName(), w->geometry());
    }
}

} // namespace vexlor::app
