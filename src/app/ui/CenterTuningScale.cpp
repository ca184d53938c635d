#include "app/ui/CenterTuningScale.h"

#include <QPainter>
#include <QStyleOptionGroupBox>

#include <cmath>

namespace vexlor::app {

namespace {

// The part of the frame's coordinate space that the drawing occupies.
constexpr double kUnitsLeft = 250;
constexpr double kUnitsRight = 4150;
constexpr double kUnitsTop = 200;
constexpr double kUnitsBottom = 620;

} // namespace

CenterTuningScale::CenterTuningScale(QWidget* parent)
    : ClickableFrame(QStringLiteral("Center Tuning"), parent)
{
    setObjectName(QStringLiteral("CenterTuningFrame"));
    setToolTip(QStringLiteral("Tuning offset of the received signal; double-click to switch the pointer on or off"));
}

void CenterTuningScale::setPointerX(double x)
{
    if (!std::isfinite(x) || x == m_pointerX)
        return;
    m_pointerX = x;
    update();
}

void CenterTuningScale::setPointerVisible(bool visible)
{
    if (visible == m_pointerVisible)
        return;
    m_pointerVisible = visible;
    update();
}

QRectF CenterTuningScale::scaleArea() const
{
    QStyleOptionGroupBox opt;
    initStyleOption(&opt);
    const QRect contents = style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxContents, this);
    return QRectF(contents).adjusted(2, 1, -2, -2);
}

QPointF CenterTuningScale::toWidget(double x, double y) const
{
    const QRectF a = scaleArea();
    return {a.left() + (x - kUnitsLeft) * a.width() / (kUnitsRight - kUnitsLeft),
            a.top() + (y - kUnitsTop) * a.height() / (kUnitsBottom - kUnitsTop)};
}

QSize CenterTuningScale::sizeHint() const { return {180, 58}; }
QSize CenterTuningScale::minimumSizeHint() const { return {150, 50}; }

void CenterTuningScale::paintEvent(QPaintEvent* event)
{
    ClickableFrame::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    auto line = [&](double x1, double y1, double x2, double y2) {
        p.drawLine(toWidget(x1, y1), toWidget(x2, y2));
    };

    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    line(kLeft, 410, kRight, 410);
    for (double x : {kLeft, 1375.0, 2625.0, kRight})
        line(x, 380, x, 460);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    line(kCentre, 240, kCentre, 580);

    QFont f = font();
    f.setPointSizeF(qMax(6.0, f.pointSizeF() - 1));
    p.setFont(f);
    const QFontMetricsF fm(f);
    const QPointF left = toWidget(kLeft, 410);
    const QPointF right = toWidget(kRight, 410);
    const double baseline = left.y() + fm.ascent() / 2 - 1;
    p.drawText(QPointF(left.x() - fm.horizontalAdvance(QStringLiteral("5")) - 4, baseline), QStringLiteral("5"));
    p.drawText(QPointF(right.x() + 4, baseline), QStringLiteral("-5"));
    p.drawText(QPointF(right.x() + 6 + fm.horizontalAdvance(QStringLiteral("-5 ")), baseline), QStringLiteral("KHz"));

    if (m_pointerVisible) {
        p.setPen(QPen(QColor(255, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        line(m_pointerX, 360, m_pointerX, 480);
    }
}

} // namespace vexlor::app

#include "moc_CenterTuningScale.cpp"
