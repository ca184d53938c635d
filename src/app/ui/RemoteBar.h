#pragma once

#include <QWidget>

namespace vexlor::app {

// The remote link: connection picture, one-line status and the chat button.
class RemoteBar : public QWidget {
    Q_OBJECT
public:
    explicit RemoteBar(QWidget* parent = nullptr);
};

} // namespace vexlor::app
