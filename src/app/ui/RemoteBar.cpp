#include "app/ui/RemoteBar.h"

#include "app/ui/Pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace vexlor::app {

RemoteBar::RemoteBar(QWidget* parent)
    : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);

    auto link = [this](const QString& name, bool connected, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        const QPixmap pm = pictures::remoteLink(connected);
        b->setIcon(QIcon(pm));
        b->setIconSize(pm.deviceIndependentSize().toSize());
        b->setToolTip(tip);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    auto* off = link(QStringLiteral("TCPConnectionCmd"), false,
                     QStringLiteral("No remote user: click to listen for one"));
    auto* on = link(QStringLiteral("TCPConnectOnCmd"), true,
                    QStringLiteral("Remote user connected: click to close the connection"));
    on->setVisible(false);
    row->addWidget(new QLabel(QStringLiteral("Remote"), this));
    row->addWidget(off);
    row->addWidget(on);

    auto* status = new QLineEdit(this);
    status->setObjectName(QStringLiteral("TcpstatusBox"));
    status->setReadOnly(true);
    status->setFocusPolicy(Qt::NoFocus);
    status->setToolTip(QStringLiteral("State of the remote link"));
    row->addWidget(status, 1);

    auto* chat = new QPushButton(QStringLiteral("CHAT"), this);
    chat->setObjectName(QStringLiteral("ChatCmd"));
    chat->setToolTip(QStringLiteral("Chat with the remote user"));
    row->addWidget(chat);
}

} // namespace vexlor::app

#include "moc_RemoteBar.cpp"
