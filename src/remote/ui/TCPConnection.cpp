#include "remote/ui/TCPConnection.h"

#include "remote/RemoteLink.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vexlor::remote {

TCPConnection::TCPConnection(RemoteLink& link, QWidget* parent)
    : QDialog(parent), m_link(link)
{
    setObjectName(QStringLiteral("TCPConnection"));
    setWindowTitle(QStringLiteral("TCP/IP Remote"));
    setModal(false);

    auto* label = new QLabel(QStringLiteral("Port"), this);
    label->setObjectName(QStringLiteral("Label4"));
    m_port = new QLineEdit(QString::number(RemoteLink::kDefaultPort), this);
    m_port->setObjectName(QStringLiteral("PortBox"));
    m_port->setToolTip(QStringLiteral("The local TCP port the remote client connects to"));
    label->setBuddy(m_port);

    auto* listen = new QPushButton(QStringLiteral("Listen"), this);
    listen->setObjectName(QStringLiteral("ConnectCmd"));
    listen->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelCmd"));

    m_warning = new QLabel(this);
    m_warning->setObjectName(QStringLiteral("OpenWarningLbl"));
    m_warning->setWordWrap(true);
    m_warning->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0);"));

    auto* grid = new QGridLayout(this);
    // The warning wraps; the window grows to show all of it.
    grid->setSizeConstraint(QLayout::SetMinimumSize);
    m_warning->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_port, 0, 1);
    grid->addWidget(m_warning, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(listen);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 2);

    connect(listen, &QPushButton::clicked, this, [this] {
        m_link.ConnectCmd(m_port->text());
        close();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

void TCPConnection::showEvent(QShowEvent* event)
{
    // The settings may have changed since the window was last open.
    const QString warning = m_link.openWarning();
    m_warning->setText(warning);
    m_warning->setVisible(!warning.isEmpty());
    adjustSize();
    QDialog::showEvent(event);
}

} // namespace vexlor::remote

#include "moc_TCPConnection.cpp"
