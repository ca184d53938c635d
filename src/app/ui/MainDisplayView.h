#pragma once

#include "monitor/MainDisplay.h"

#include <QObject>
#include <optional>

namespace vexlor::app {

class MainWindow;

// Renders the display state into the main window's controls whenever it changes.
class MainDisplayView : public QObject {
    Q_OBJECT
public:
    MainDisplayView(MainWindow& window, monitor::MainDisplay& display);

    void render();

private:
    void text(const char* name, const QString& value, const QString* old);
    void visible(const char* name, bool value);
    void checked(const char* name, bool value);

    MainWindow& m_window;
    monitor::MainDisplay& m_display;
    std::optional<monitor::MainDisplayState> m_shown;
};

} // namespace vexlor::app
