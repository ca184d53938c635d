#include "app/ui/Look.h"

#include <QFontMetrics>
#include <QLabel>

namespace vexlor::app {

QFont captionFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(8);
    return f;
}

QFont modeFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(12);
    f.setBold(true);
    return f;
}

QFont readoutFont()
{
    QFont f(QStringLiteral("DSEG7 Classic"));
    f.setStyleHint(QFont::Monospace);
    f.setPointSizeF(15.75);
    f.setBold(true);
    return f;
}

QColor lampOnColor() { return QColor(255, 0, 0); }
QColor lampOffColor() { return QColor(0, 0, 0); }

void styleReadout(QLabel* label, int minChars)
{
    label->setFont(readoutFont());
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, QColor(196, 210, 178));
    p.setColor(QPalette::WindowText, QColor(24, 28, 20));
    label->setPalette(p);
    const QFontMetrics fm(label->font());
    label->setMinimumWidth(fm.horizontalAdvance(QString(minChars, QLatin1Char('8'))) + 10);
    label->setMinimumHeight(fm.height() + 4);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void styleField(QLabel* label, int minChars)
{
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    label->setPalette(p);
    const QFontMetrics fm(label->font());
    label->setMinimumWidth(fm.horizontalAdvance(QString(minChars, QLatin1Char('M'))) / 2 + 8);
    // A long name must not widen the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

} // namespace vexlor::app
