#pragma once

#include <QLabel>

namespace vexlor::memory {

// A caption that acts like a button: it reports a click released over it.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

    // Underlined in the link colour, for a label that opens something.
    void setLinkLook();

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace vexlor::memory
