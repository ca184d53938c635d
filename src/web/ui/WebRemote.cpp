#include "web/ui/WebRemote.h"

#include "web/WebRemoteSetup.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vexlor::web {

WebRemote::WebRemote(WebRemoteSetup& setup, QWidget* parent) : QDialog(parent), m_setup(setup)
{
    setObjectName(QStringLiteral("WebRemote"));
    setWindowTitle(QStringLiteral("Web Remote"));
    setModal(false);

    m_enabled = new QCheckBox(QStringLiteral("Serve the web remote"), this);
    m_enabled->setObjectName(QStringLiteral("EnabledChk"));
    m_listen = new QLineEdit(this);
    m_listen->setObjectName(QStringLiteral("ListenBox"));
    m_listen->setPlaceholderText(QStringLiteral("8080 or 0.0.0.0:8080"));
    m_listen->setToolTip(QStringLiteral("The port, or an address and a port; without a pass phrase only this computer is served"));
    m_watchFree = new QCheckBox(QStringLiteral("Anyone who reaches it may watch without the pass phrase"), this);
    m_watchFree->setObjectName(QStringLiteral("WatchFreeChk"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLbl"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* note = new QLabel(QStringLiteral("The pass phrase and the allowed addresses are the TCP remote's "
                                           "([RemotePassword], [RemoteAllow] in qorvanix.ini)."), this);
    note->setObjectName(QStringLiteral("NoteLbl"));
    note->setWordWrap(true);

    auto* apply = new QPushButton(QStringLiteral("Apply"), this);
    apply->setObjectName(QStringLiteral("ApplyCmd"));
    apply->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseCmd"));

    auto* form = new QFormLayout;
    form->addRow(m_enabled);
    form->addRow(QStringLiteral("Address and port"), m_listen);
    form->addRow(m_watchFree);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(close);
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetMinimumSize);
    column->addLayout(form);
    column->addWidget(note);
    column->addWidget(m_status);
    column->addLayout(buttons);
    setMinimumWidth(420);

    connect(m_enabled, &QCheckBox::clicked, &m_setup, &WebRemoteSetup::EnabledChk_Click);
    connect(m_listen, &QLineEdit::textEdited, &m_setup, &WebRemoteSetup::ListenBox_Change);
    connect(m_listen, &QLineEdit::returnPressed, &m_setup, &WebRemoteSetup::ApplyCmd_Click);
    connect(m_watchFree, &QCheckBox::clicked, &m_setup, &WebRemoteSetup::WatchFreeChk_Click);
    connect(apply, &QPushButton::clicked, &m_setup, &WebRemoteSetup::ApplyCmd_Click);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_setup, &WebRemoteSetup::changed, this, &WebRemote::render);
    render();
}

void WebRemote::render()
{
    const WebRemoteSetup::Settings& s = m_setup.settings();
    m_enabled->setChecked(s.enabled);
    if (m_listen->text() != s.listen) {
        const QSignalBlocker block(m_listen);
        m_listen->setText(s.listen);
    }
    m_watchFree->setChecked(s.watchFree);
    m_status->setText(m_setup.StatusLbl());
}

} // namespace vexlor::web

#include "moc_WebRemote.cpp"
