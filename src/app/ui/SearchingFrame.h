#pragma once

#include "app/ui/ClickableFrame.h"

namespace vexlor::app {

// "Searching": the search limits; a click on the frame asks the receiver for them.
class SearchingFrame : public ClickableFrame {
    Q_OBJECT
public:
    explicit SearchingFrame(QWidget* parent = nullptr);
};

} // namespace vexlor::app
