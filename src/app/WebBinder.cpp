#include "app/WebBinder.h"

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ControlsBinder.h"
#include "app/NamesHeard.h"
#include "app/RemoteBinder.h"
#include "monitor/MainDisplay.h"
#include "recording/MeasureIntfc.h"
#include "remote/AccessRules.h"
#include "remote/ChatSession.h"
#include "web/PageFiles.h"
#include "web/WebAccess.h"
#include "web/WebCommands.h"
#include "web/WebServer.h"
#include "web/WebState.h"

#include <QHostAddress>

#include <cstdio>

namespace vexlor::app {

namespace {
constexpr int kDefaultPort = 8080;
}

WebBinder::WebBinder(Application& app) : m_app(app), m_keys(app.link())
{
    m_commands = std::make_unique<web::WebCommands>(m_keys, app.controlsBinder().entry());
    connect(&app.display(), &monitor::MainDisplay::changed, this, [this] {
        if (m_server)
            m_server->pushState();
    });
    connect(&app.meas(), &recording::MeasureIntfc::hitCounted, this, &WebBinder::hit);
    // The operator's chat reaches the web viewers beside the TCP client.
    remote::ChatSession& chat = app.remoteBinder().chat();
    chat.setWebViewers([this] { return m_server ? m_server->viewers() : 0; });
    connect(&chat, &remote::ChatSession::operatorSaid, this, [this](const QString& text) {
        if (m_server)
            m_server->broadcast(web::state::message("chat", {{"from", "operator"}, {"text", text}}));
    });
}

WebBinder::~WebBinder() { m_app.remoteBinder().chat().setWebViewers({}); }

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
    if (!wanted.trimmed().isEmpty() && !CommandLine::parseListen(wanted, &address, &port)) {
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
    m_access = std::make_unique<web::WebAccess>(rules, ini.WebWatchFree().trimmed() == QLatin1String("1"));
    web::WebServer::Hooks hooks {
        [this] { return web::state::fromDisplay(m_app.display().published()); },
        [this] { return m_feed.newestFirst(); },
        [this](const QJsonObject& c) { return m_commands->run(c); },
        [this](const QString& from, const QString& text) { m_app.remoteBinder().chat().webLineReceived(from, text); },
        &web::pageFile,
    };
    m_server = std::make_unique<web::WebServer>(*m_access, m_app.platform().clock, hooks);
    m_address = m_access->listenAddress(address);
    const QHostAddress at = m_address.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(m_address);
    if (!m_server->listen(at, quint16(port), &m_error)) {
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

void WebBinder::stop() { m_server.reset(); }

bool WebBinder::running() const { return m_server && m_server->isListening(); }

quint16 WebBinder::port() const { return running() ? m_server->port() : 0; }

QString WebBinder::url() const
{
    if (!running())
        return {};
    QString host = m_address.isEmpty() || m_address == QLatin1String("0.0.0.0") ? QStringLiteral("localhost") : m_address;
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return QStringLiteral("http://%1:%2/").arg(host).arg(port());
}

} // namespace vexlor::app
