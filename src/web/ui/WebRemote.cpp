#include "web/ui/WebRemote.h"

#include "web/WebRemoteSetup.h"

#include <QCheckBox>
#include <QFileDialog>
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
    m_certificate = new QLineEdit(this);
    m_certificate->setObjectName(QStringLiteral("CertificateBox"));
    m_certificate->setPlaceholderText(QStringLiteral("none: plain HTTP"));
    m_certificate->setToolTip(QStringLiteral("A PEM certificate (its chain may follow it) for https://"));
    m_key = new QLineEdit(this);
    m_key->setObjectName(QStringLiteral("KeyBox"));
    m_key->setPlaceholderText(QStringLiteral("none: plain HTTP"));
    m_key->setToolTip(QStringLiteral("The certificate's PEM private key, without a pass phrase"));
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
    form->addRow(QStringLiteral("TLS certificate"), fileRow(m_certificate, QStringLiteral("CertificateBrowseCmd"),
                                                            QStringLiteral("TLS Certificate"), &WebRemoteSetup::CertificateBox_Change));
    form->addRow(QStringLiteral("TLS key"), fileRow(m_key, QStringLiteral("KeyBrowseCmd"), QStringLiteral("TLS Key"),
                                                    &WebRemoteSetup::KeyBox_Change));
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
    for (const auto& [box, text] : {std::pair {m_certificate, s.certificate}, std::pair {m_key, s.key}}) {
        if (box->text() != text) {
            const QSignalBlocker block(box);
            box->setText(text);
        }
    }
    m_status->setText(m_setup.StatusLbl());
}

QWidget* WebRemote::fileRow(QLineEdit* box, const QString& browseName, const QString& title,
                            void (WebRemoteSetup::*changed)(const QString&))
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), row);
    browse->setObjectName(browseName);
    browse->setAutoDefault(false);
    layout->addWidget(box, 1);
    layout->addWidget(browse);
    connect(box, &QLineEdit::textEdited, &m_setup, changed);
    connect(box, &QLineEdit::returnPressed, &m_setup, &WebRemoteSetup::ApplyCmd_Click);
    connect(browse, &QPushButton::clicked, this, [this, box, title, changed] {
        const QString path = QFileDialog::getOpenFileName(this, title, box->text(), QStringLiteral("PEM files (*.pem *.crt *.key);;All files (*)"));
        if (path.isEmpty())
            return;
        box->setText(path);
        (m_setup.*changed)(path);
    });
    return row;
}

} // namespace vexlor::web

#include "moc_WebRemote.cpp"
