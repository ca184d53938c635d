#pragma once

#include <QWidget>

namespace vexlor::app {

// The command console: type a command, the commands sent, the raw lines received.
class ConsolePanel : public QWidget {
    Q_OBJECT
public:
    explicit ConsolePanel(QWidget* parent = nullptr);
};

} // namespace vexlor::app
