#pragma once

#include <QGroupBox>

namespace vexlor::app {

// "Direct Seeking": go to a frequency, a memory channel or an ID channel.
class DirectSeekingFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit DirectSeekingFrame(QWidget* parent = nullptr);
};

} // namespace vexlor::app
