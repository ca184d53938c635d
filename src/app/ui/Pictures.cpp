#include "app/ui/Pictures.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace vexlor::app::pictures {

namespace {

// Drawn at the screen's resolution so they stay sharp on scaled displays.
QPixmap canvas(QSize size)
{
    const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QPixmap keyCap(const QString& caption, QSize size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(104, 108, 116));
    g.setColorAt(1, QColor(52, 55, 60));
    p.setPen(QPen(QColor(30, 30, 34), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    p.setPen(QColor(240, 240, 240));
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setBold(true);
    f.setPixelSize(qMax(8, size.height() / 2 - 1));
    p.setFont(f);
    p.drawText(r, Qt::AlignCenter, caption);
    return pm;
}

QPixmap keypad(QSize size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    p.setPen(QPen(QColor(40, 40, 46), 1));
    p.setBrush(QColor(200, 204, 212));
    p.drawRoundedRect(QRectF(1.5, 0.5, w - 3, h - 1), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 54, 62));
    const qreal cw = (w - 8) / 3;
    const qreal ch = (h - 6) / 4;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRoundedRect(QRectF(4 + col * cw + 0.8, 3 + row * ch + 0.6, cw - 1.6, ch - 1.2), 1, 1);
    return pm;
}

QPixmap backlight(Light state, QSize size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    const QPointF c(w / 2, h * 0.40);
    const qreal rad = qMin(w, h) * 0.28;
    const QColor glass = state == Light::Off ? QColor(150, 150, 150) : QColor(255, 214, 40);
    if (state != Light::Off) {
        p.setPen(QPen(QColor(240, 170, 0), 1.4));
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * 3.14159265 / 4;
            const QPointF d(std::cos(a), std::sin(a));
            if (d.y() > 0.5)
                continue; // no rays into the base
            p.drawLine(c + d * (rad + 1.5), c + d * (rad + 4));
        }
    }
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(glass);
    p.drawEllipse(c, rad, rad);
    p.setBrush(QColor(110, 110, 116));
    p.drawRect(QRectF(c.x() - rad * 0.55, c.y() + rad * 0.8, rad * 1.1, h * 0.22));
    if (state == Light::Automatic) {
        QFont f(QStringLiteral("Arial"));
        f.setStyleHint(QFont::SansSerif);
        f.setBold(true);
        f.setPixelSize(int(rad * 1.5));
        p.setFont(f);
        p.setPen(QColor(20, 20, 120));
        p.drawText(QRectF(c.x() - rad, c.y() - rad, 2 * rad, 2 * rad), Qt::AlignCenter, QStringLiteral("A"));
    }
    if (state == Light::Off) {
        p.setPen(QPen(QColor(200, 0, 0), 1.6));
        p.drawLine(QPointF(c.x() - rad, c.y() - rad), QPointF(c.x() + rad, c.y() + rad));
    }
    return pm;
}

QPixmap squelchOpen(QSize size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = size.height();
    const QColor green(0, 150, 60);
    QPainterPath speaker;
    speaker.moveTo(1, h * 0.35);
    speaker.lineTo(5, h * 0.35);
    speaker.lineTo(10, h * 0.1);
    speaker.lineTo(10, h * 0.9);
    speaker.lineTo(5, h * 0.65);
    speaker.lineTo(1, h * 0.65);
    speaker.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawPath(speaker);
    p.setPen(QPen(green, 1.5));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 2; ++i) {
        const qreal r = 3.5 * i;
        p.drawArc(QRectF(10 - r, h / 2 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
    return pm;
}

QPixmap talkgroupHeard(QSize size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(0.5, 0.5, w - 1, h * 0.75), 4, 4);
    QPainterPath tail;
    tail.moveTo(w * 0.25, h * 0.7);
    tail.lineTo(w * 0.2, h - 0.5);
    tail.lineTo(w * 0.45, h * 0.7);
    tail.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 110, 200));
    p.drawPath(bubble.united(tail));
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setBold(true);
    f.setPixelSize(int(h * 0.5));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, w, h * 0.75), Qt::AlignCenter, QStringLiteral("ID"));
    return pm;
}

QPixmap remoteLink(bool connected, QSize size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal u = w / 28.0;
    const qreal cy = h / 2;
    const QColor body = connected ? QColor(0, 150, 60) : QColor(120, 120, 126);
    const QPen cable(body.darker(130), 2 * u);
    // Plug on the left, socket on the right; apart when there is no link.
    const qreal socketLeft = connected ? 14 * u : 18 * u;
    p.setPen(cable);
    p.drawLine(QPointF(0, cy), QPointF(3 * u, cy));
    p.drawLine(QPointF(socketLeft + 8 * u, cy), QPointF(w, cy));
    p.setPen(QPen(body.darker(150), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(3 * u, cy - 5 * u, 7 * u, 10 * u), 1.5 * u, 1.5 * u);
    p.drawRoundedRect(QRectF(socketLeft, cy - 5 * u, 8 * u, 10 * u), 1.5 * u, 1.5 * u);
    p.setPen(QPen(body.darker(150), 1.6 * u));
    p.drawLine(QPointF(10 * u, cy - 2.5 * u), QPointF(14 * u, cy - 2.5 * u));
    p.drawLine(QPointF(10 * u, cy + 2.5 * u), QPointF(14 * u, cy + 2.5 * u));
    if (!connected) {
        p.setPen(QPen(QColor(210, 0, 0), 1.6 * u));
        p.drawLine(QPointF(14.8 * u, cy - 2 * u), QPointF(17.2 * u, cy + 2 * u));
        p.drawLine(QPointF(14.8 * u, cy + 2 * u), QPointF(17.2 * u, cy - 2 * u));
    }
    return pm;
}

QIcon programIcon()
{
    QIcon icon;
    for (int s : {16, 32, 48}) {
        QPixmap pm(s, s);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal u = s / 16.0;
        // A hand-held receiver with its antenna.
        p.setPen(QPen(QColor(40, 40, 40), 1.2 * u));
        p.drawLine(QPointF(10.5 * u, 1 * u), QPointF(10.5 * u, 5 * u));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 54, 62));
        p.drawRoundedRect(QRectF(4 * u, 4.5 * u, 9 * u, 11 * u), 1.5 * u, 1.5 * u);
        p.setBrush(QColor(196, 210, 178));
        p.drawRect(QRectF(5.5 * u, 6 * u, 6 * u, 3 * u));
        p.setBrush(QColor(255, 0, 0));
        p.drawEllipse(QPointF(8.5 * u, 12 * u), 1.5 * u, 1.5 * u);
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace vexlor::app::pictures
