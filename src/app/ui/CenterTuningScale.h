#pragma once

#include "app/ui/ClickableFrame.h"

namespace vexlor::app {

// The centre-tuning frame: a fixed scale and the moving pointer TunLine.
// Positions are in the frame's own units (the scale runs from 750 to 3250,
// its centre mark at 2000) and are scaled to the widget when painted.
class CenterTuningScale : public ClickableFrame {
    Q_OBJECT
public:
    static constexpr double kLeft = 750;
    static constexpr double kRight = 3250;
    static constexpr double kCentre = 2000;

    explicit CenterTuningScale(QWidget* parent = nullptr);

    void setPointerX(double x);
    double pointerX() const { return m_pointerX; }
    void setPointerVisible(bool visible);
    bool isPointerVisible() const { return m_pointerVisible; }

    // The widget position of a point given in frame units, for painting and tests.
    QPointF toWidget(double x, double y) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF scaleArea() const;

    double m_pointerX = kCentre;
    bool m_pointerVisible = true;
};

} // namespace vexlor::app
