#pragma once

#include "app/ui/FieldLabel.h"

namespace vexlor::app {

// A name readout whose font the operator may change with the right button.
class NameLabel : public FieldLabel {
    Q_OBJECT
public:
    using FieldLabel::FieldLabel;

Q_SIGNALS:
    void rightButtonPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace vexlor::app
