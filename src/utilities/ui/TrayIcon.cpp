#include "utilities/ui/TrayIcon.h"

#include <QSystemTrayIcon>

namespace vexlor::utilities {

TrayIcon::TrayIcon(const QIcon& icon, QObject* parent) : QObject(parent), m_icon(icon) {}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::isAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool TrayIcon::isShown() const { return m_tray && m_tray->isVisible(); }

void TrayIcon::addIcon(const QString& tip)
{
    m_wanted = true;
    m_tip = tip;
    // Made on first use: a notification area may appear after the program starts.
    if (!m_tray) {
        if (!isAvailable())
            return;
        m_tray = new QSystemTrayIcon(m_icon, this);
        connect(m_tray, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
    }
    m_tray->setToolTip(tip);
    m_tray->show();
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason why)
{
    // Single clicks are ignored.
    if (why == QSystemTrayIcon::DoubleClick)
        Q_EMIT doubleClicked();
}

void TrayIcon::removeIcon()
{
    m_wanted = false;
    if (m_tray)
        m_tray->hide();
}

} // namespace vexlor::utilities

#include "moc_TrayIcon.cpp"
