#include "web/WebRemoteSetup.h"

#include <QHostAddress>

namespace vexlor::web {

bool parseListen(const QString& text, QString* address, int* port)
{
    const QString t = text.trimmed();
    const qsizetype colon = t.lastIndexOf(QLatin1Char(':'));
    QString host = colon < 0 ? QString() : t.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const int p = t.mid(colon + 1).toInt(&ok);
    if (!ok || p < 0 || p > 65535 || (colon >= 0 && QHostAddress(host).isNull()))
        return false;
    *address = host;
    *port = p;
    return true;
}

WebRemoteSetup::WebRemoteSetup(Hooks hooks, QObject* parent) : QObject(parent), m_hooks(std::move(hooks)) {}

void WebRemoteSetup::open()
{
    m_settings = m_hooks.load ? m_hooks.load() : Settings();
    if (m_settings.listen.trimmed().isEmpty())
        m_settings.listen = QStringLiteral("8080");
    m_status = m_hooks.status ? m_hooks.status() : QString();
    Q_EMIT changed();
}

void WebRemoteSetup::EnabledChk_Click(bool on)
{
    m_settings.enabled = on;
    Q_EMIT changed();
}

void WebRemoteSetup::ListenBox_Change(const QString& text) { m_settings.listen = text; }

void WebRemoteSetup::CertificateBox_Change(const QString& path) { m_settings.certificate = path; }

void WebRemoteSetup::KeyBox_Change(const QString& path) { m_settings.key = path; }

void WebRemoteSetup::WatchFreeChk_Click(bool on)
{
    m_settings.watchFree = on;
    Q_EMIT changed();
}

bool WebRemoteSetup::ApplyCmd_Click()
{
    QString address;
    int port = 0;
    if (!parseListen(m_settings.listen, &address, &port)) {
        m_status = QStringLiteral("\"%1\" is not a port or an address and port, such as 8080 or 0.0.0.0:8080.")
                       .arg(m_settings.listen.trimmed());
        Q_EMIT changed();
        return false;
    }
    m_settings.certificate = m_settings.certificate.trimmed();
    m_settings.key = m_settings.key.trimmed();
    if (m_settings.certificate.isEmpty() != m_settings.key.isEmpty()) {
        m_status = QStringLiteral("Name both a certificate and its key for TLS, or neither for plain HTTP.");
        Q_EMIT changed();
        return false;
    }
    m_settings.listen = m_settings.listen.trimmed();
    m_status = m_hooks.apply ? m_hooks.apply(m_settings) : QString();
    Q_EMIT changed();
    return true;
}

} // namespace vexlor::web
