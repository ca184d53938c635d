#include "app/WebBinder.h"

#include "app/Application.h"
#include "app/ControlsBinder.h"
#include "app/NamesHeard.h"
#include "app/RecordingBinder.h"
#include "app/RemoteBinder.h"
#include "app/SecondaryWindow.h"
#include "app/ui/MainWindow.h"
#include "monitor/MainDisplay.h"
#include "recording/MeasureIntfc.h"
#include "remote/AccessRules.h"
#include "remote/ChatSession.h"
#include "web/PageFiles.h"
#include "web/TlsFiles.h"
#include "web/WebAccess.h"
#include "web/WebCommands.h"
#include "web/WebRemoteSetup.h"
#include "web/WebServer.h"
#include "web/WebState.h"
#include "web/ui/WebRemote.h"

#include <QAction>
#include <QHostAddress>
#include <QSslConfiguration>

#include <cstdio>

namespace vexlor::app {

namespace {
constexpr int kDefaultPort = 8080;
// The newest recordings a client may list; the rest stay in the Recordings window.
constexpr int kListedRecordings = 100;
}

WebBinder::WebBinder(Application& app) : m_app(app), m_keys(app.link())
{
    m_commands = std::make_unique<web::WebCommands>(m_keys, app.controlsBinder().entry());
    connect(&app.display(), &monitor::MainDisplay::changed, this, [this] {
        if (m_server)
            m_server->pushState();
    });
    connect(&app.meas(), &recording::MeasureIntfc::hitCounted, this, &WebBinder::hit);
    m_setup = std::make_unique<web::WebRemoteSetup>(web::WebRemoteSetup::Hooks {
        [this] {
            const IniFile& ini = m_app.INIObj();
            return web::WebRemoteSetup::Settings {ini.WebRemote().trimmed() == QLatin1String("1"), ini.WebListen(),
                                                  ini.WebWatchFree().trimmed() == QLatin1String("1"), ini.WebCertificate(),
                                                  ini.WebKey()};
        },
        [this](const web::WebRemoteSetup::Settings& s) {
            IniFile& ini = m_app.INIObj();
            ini.setWebRemote(s.enabled ? QStringLiteral("1") : QStringLiteral("0"));
            ini.setWebListen(s.listen);
            ini.setWebWatchFree(s.watchFree ? QStringLiteral("1") : QStringLiteral("0"));
            ini.setWebCertificate(s.certificate);
            ini.setWebKey(s.key);
            m_app.saveConfig();
            QString address;
            int port = kDefaultPort;
            if (!s.enabled)
                stop();
            else if (web::parseListen(s.listen, &address, &port))
                start(address, port);
            return status();
        },
        [this] { return status(); },
    });
    if (QAction* a = app.window().action(QStringLiteral("WebRemoteMnu"))) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &WebBinder::WebRemoteMnu_Click);
    }
    // The operator's chat reaches the web viewers beside the TCP client.
    remote::ChatSession& chat = app.remoteBinder().chat();
    chat.setWebViewers([this] { return m_server ? m_server->viewers() : 0; });
    connect(&chat, &remote::ChatSession::operatorSaid, this, [this](const QString& text) {
        if (m_server)
            m_server->broadcast(web::state::message("chat", {{"from", "operator"}, {"text", text}}));
    });
}

WebBinder::~WebBinder() { m_app.remoteBinder().chat().setWebViewers({}); }

void WebBinder::WebRemoteMnu_Click()
{
    if (m_app.finished())
        return;
    if (!m_window)
        m_window = std::make_unique<web::WebRemote>(*m_setup, &m_app.window());
    const bool open = m_window->isVisible();
    showSecondaryWindow(m_app.window(), *m_window);
    if (!open)
        m_setup->open();
}

QString WebBinder::status() const
{
    if (!running())
        return m_error.isEmpty() ? QStringLiteral("Off.") : m_error;
    QString s = QStringLiteral("Serving at %1").arg(url());
    if (!m_access->rules().locked())
        s += QStringLiteral(" - this computer only: set a pass phrase ([RemotePassword]) to serve others.");
    return s;
}

void WebBinder::hit(const recording::SampleEvent& e)
{
    const QJsonObject entry = m_feed.add(e, nameHeard(m_app.tables(), e), m_app.display().s.FrequencyBox);
    if (m_server)
        m_server->broadcast(web::state::message("hit", entry));
}

bool WebBinder::startIfWanted()
{
    const IniFile& ini = m_app.INIObj();
    QString wanted = m_app.options().web;
    if (wanted.isEmpty()) {
        if (ini.WebRemote().trimmed() != QLatin1String("1"))
            return true;
        wanted = ini.WebListen();
    }
    QString address;
    int port = kDefaultPort;
    if (!wanted.trimmed().isEmpty() && !web::parseListen(wanted, &address, &port)) {
        m_error = QStringLiteral("The web remote's address \"%1\" is not [ADDRESS:]PORT.").arg(wanted);
        std::fprintf(stderr, "vexlor: %s\n", qPrintable(m_error));
        return false;
    }
    return start(address, port);
}

bool WebBinder::start(const QString& address, int port)
{
    stop();
    const IniFile& ini = m_app.INIObj();
    const auto rules = remote::AccessRules::fromSettings(ini.RemotePassword(), ini.RemoteAllow(), ini.RemoteBind());
    if (const QString problem = rules.problem(); !problem.isEmpty()) {
        m_error = problem;
        std::fprintf(stderr, "vexlor: web remote: %s\n", qPrintable(m_error));
        return false;
    }
    // Asked for TLS, it serves TLS or nothing: a plain fallback would carry the pass phrase in the clear.
    std::optional<QSslConfiguration> tls;
    const QString certificate = ini.WebCertificate().trimmed(), key = ini.WebKey().trimmed();
    if (!certificate.isEmpty() || !key.isEmpty()) {
        QSslConfiguration config;
        QString why = QStringLiteral("Name both [WebCertificate] and [WebKey], or neither.");
        if (certificate.isEmpty() || key.isEmpty() || !web::loadTls(certificate, key, &config, &why)) {
            m_error = QStringLiteral("The web remote cannot use TLS: %1").arg(why);
            std::fprintf(stderr, "vexlor: %s\n", qPrintable(m_error));
            return false;
        }
        tls = config;
    }
    m_access = std::make_unique<web::WebAccess>(rules, ini.WebWatchFree().trimmed() == QLatin1String("1"));
    web::WebServer::Hooks hooks {
        [this] { return web::state::fromDisplay(m_app.display().published()); },
        [this] { return m_feed.newestFirst(); },
        [this](const QJsonObject& c) { return m_commands->run(c); },
        [this](const QString& from, const QString& text) { m_app.remoteBinder().chat().webLineReceived(from, text); },
        &web::pageFile,
        [this] { return m_app.recordingBinder().recordingsJson(kListedRecordings); },
    };
    m_server = std::make_unique<web::WebServer>(*m_access, m_app.platform().clock, hooks);
    m_address = m_access->listenAddress(address);
    const QHostAddress at = m_address.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(m_address);
    if (!m_server->listen(at, quint16(port), &m_error, tls)) {
        m_error = QStringLiteral("The web remote cannot listen on %1:%2: %3").arg(m_address.isEmpty() ? QStringLiteral("*") : m_address).arg(port).arg(m_error);
        std::fprintf(stderr, "vexlor: %s\n", qPrintable(m_error));
        m_server.reset();
        return false;
    }
    m_error.clear();
    std::printf("vexlor: web remote at %s\n", qPrintable(url()));
    std::fflush(stdout);
    return true;
}

void WebBinder::stop()
{
    m_server.reset();
    m_error.clear();
}

bool WebBinder::running() const { return m_server && m_server->isListening(); }

quint16 WebBinder::port() const { return running() ? m_server->port() : 0; }

QString WebBinder::url() const
{
    if (!running())
        return {};
    QString host = m_address.isEmpty() || m_address == QLatin1String("0.0.0.0") ? QStringLiteral("localhost") : m_address;
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return QStringLiteral("%1://%2:%3/").arg(m_server->secure() ? QStringLiteral("https") : QStringLiteral("http"), host).arg(port());
}

} // namespace vexlor::app
