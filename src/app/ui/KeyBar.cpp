#include "app/ui/KeyBar.h"

#include "app/ui/Pictures.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace vexlor::app {

namespace {

QToolButton* pictureButton(const QString& name, const QPixmap& picture, const QString& tip, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(QIcon(picture));
    b->setIconSize(picture.deviceIndependentSize().toSize());
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

KeyBar::KeyBar(QWidget* parent)
    : QWidget(parent)
{
    struct Key {
        const char* caption;
        const char* tip;
    };
    static const Key kKeys[] = {
        {"SCAN", "Scan the memory channels of the active banks"},
        {"MAN", "Manual: stay on one channel"},
        {"TRNK", "Trunk tracking: follow the trunked system of the bank"},
        {"Hld", "Hold: stop the search on the current frequency"},
        {"Lmt", "Limit search between the lower and upper limits"},
        {"SVC", "Service search through the preset service bands"},
        {"SRCH", "Search"},
    };

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    for (int i = 0; i < 7; ++i) {
        const QString caption = QString::fromLatin1(kKeys[i].caption);
        auto* b = pictureButton(QStringLiteral("Button_%1").arg(i), pictures::keyCap(caption),
                                QStringLiteral("%1 key: %2").arg(caption.toUpper(), QLatin1String(kKeys[i].tip)), this);
        row->addWidget(b);
        m_keys[std::size_t(i)] = b;
    }
    row->addSpacing(4);
    row->addWidget(pictureButton(QStringLiteral("keypadcmd"), pictures::keypad(),
                                 QStringLiteral("Show the virtual keypad"), this));
    row->addStretch(1);

    // One of the three is shown, as the receiver reports its backlight.
    row->addWidget(pictureButton(QStringLiteral("LightOn"), pictures::backlight(pictures::Light::On),
                                 QStringLiteral("Backlight on; click to switch it off"), this));
    row->addWidget(pictureButton(QStringLiteral("LightAuto"), pictures::backlight(pictures::Light::Automatic),
                                 QStringLiteral("Backlight automatic; click to keep it on"), this));
    row->addWidget(pictureButton(QStringLiteral("LightOff"), pictures::backlight(pictures::Light::Off),
                                 QStringLiteral("Backlight off; click for automatic"), this));
    findChild<QToolButton*>(QStringLiteral("LightOn"))->setVisible(false);
    findChild<QToolButton*>(QStringLiteral("LightAuto"))->setVisible(false);
}

QToolButton* KeyBar::keyButton(int index) const
{
    return index >= 0 && index < 7 ? m_keys[std::size_t(index)] : nullptr;
}

} // namespace vexlor::app

#include "moc_KeyBar.cpp"
