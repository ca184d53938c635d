#pragma once

#include "app/WindowPlaces.h"

#include <QObject>

class QWidget;

namespace vexlor::app {

// Puts each of the program's named windows where it was last time, or beside
// the main window, as it shows, always on a screen; remembers where it was as
// it hides. Standard boxes (messages, files, fonts, printers) are Qt's to place.
class WindowPlacer : public QObject {
    Q_OBJECT
public:
    WindowPlacer(QWidget& main, WindowPlaces& places, QObject* parent = nullptr);
    ~WindowPlacer() override;

    // The places of the windows that show now, for the configuration.
    void rememberShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool tracked(const QObject* o) const;
    void place(QWidget& w);

    QWidget& m_main;
    WindowPlaces& m_places;
};

} // namespace vexlor::app
