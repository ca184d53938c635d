#pragma once

#include <QGroupBox>

namespace vexlor::app {

// A captioned frame that reports clicks on its own surface.
class ClickableFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit ClickableFrame(const QString& title, QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace vexlor::app
