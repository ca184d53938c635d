#pragma once

#include "app/ui/FieldLabel.h"

namespace vexlor::app {

// A caption that works as a lamp (red on, black off) and as a button.
class LampLabel : public FieldLabel {
    Q_OBJECT
public:
    explicit LampLabel(const QString& text, QWidget* parent = nullptr);

    void setLit(bool on);
    bool isLit() const { return m_lit; }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_lit = false;
    bool m_pressed = false;
};

} // namespace vexlor::app
