#pragma once

#include <QLabel>

namespace vexlor::app {

// A name readout whose font the operator may change with the right button.
class NameLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void rightButtonPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace vexlor::app
