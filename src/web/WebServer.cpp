#include "web/WebServer.h"

#include "platform/Clock.h"
#include "web/WebAccess.h"
#include "web/WebState.h"

#include <QJsonDocument>
#include <QSslSocket>
#include <QTcpSocket>
#include <QWebSocket>

#include <algorithm>

#include <sys/socket.h>

namespace vexlor::web {

namespace {

using Verdict = WebAccess::Verdict;

// Room a socket keeps for what a client sends: one request at most, so a flood waits in the network.
constexpr qint64 kReadBuffer = HttpRequestReader::kMaxHead + HttpRequestReader::kMaxBody + 1024;
// What a viewer that does not read may have waiting before it is closed.
constexpr qint64 kMaxUnsent = 1024 * 1024;
constexpr int kMaxChat = 500;

QString peerOf(const QTcpSocket* socket) { return remote::AccessRules::canonicalAddress(socket->peerAddress().toString()); }

QString refusalText(Verdict v)
{
    switch (v) {
    case Verdict::NotAllowed: return QStringLiteral("This address may not use the web remote.");
    case Verdict::Guessing: return QStringLiteral("Too many wrong pass phrases from this address: try again in ten minutes.");
    case Verdict::LoginNeeded: return QStringLiteral("Log in first.");
    case Verdict::WrongPassword: return QStringLiteral("Wrong pass phrase.");
    case Verdict::Allowed: break;
    }
    return {};
}

HttpResponse refusal(Verdict v)
{
    const int status = v == Verdict::NotAllowed ? 403 : v == Verdict::Guessing ? 429 : 401;
    return HttpResponse::error(status, refusalText(v));
}

QJsonObject jsonBody(const HttpRequest& r, bool* ok)
{
    QJsonParseError e;
    const QJsonDocument doc = QJsonDocument::fromJson(r.body, &e);
    *ok = e.error == QJsonParseError::NoError && doc.isObject();
    return doc.object();
}

} // namespace

struct WebServer::Connection {
    QString peer;
    HttpRequestReader reader;
    qsizetype peeked = 0;   // bytes of the socket's buffer the reader has seen
    qint64 started = -1;    // the first byte of the request being read
    qint64 lastActive = 0;
    bool closing = false;
};

struct WebServer::Viewer {
    QByteArray token;
    QString peer;
    qint64 windowStart = 0;
    int inWindow = 0;
    qint64 unsent = 0;
};

WebServer::WebServer(WebAccess& access, const platform::Clock& clock, Hooks hooks, QObject* parent)
    : QObject(parent), m_access(access), m_clock(clock), m_hooks(std::move(hooks)),
      m_ws(QStringLiteral("Vexlor"), QWebSocketServer::NonSecureMode)
{
    m_tcp.setMaxPendingConnections(kMaxConnections);
    connect(&m_tcp, &QTcpServer::pendingConnectionAvailable, this, &WebServer::accept);
    connect(&m_ws, &QWebSocketServer::newConnection, this, &WebServer::viewerJoined);
    m_sweep.setInterval(1000);
    connect(&m_sweep, &QTimer::timeout, this, &WebServer::sweep);
}

WebServer::~WebServer() { close(); }

bool WebServer::listen(const QHostAddress& address, quint16 port, QString* error, std::optional<QSslConfiguration> tls)
{
    close();
    m_tcp.setTls(std::move(tls));
    if (!m_tcp.listen(address, port)) {
        if (error)
            *error = m_tcp.errorString();
        return false;
    }
    m_sweep.start();
    return true;
}

void WebServer::close()
{
    m_tcp.close();
    m_sweep.stop();
    for (auto& [socket, c] : m_connections) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    m_connections.clear();
    for (auto& [ws, v] : m_viewers) {
        ws->disconnect(this);
        ws->abort();
        ws->deleteLater();
    }
    m_viewers.clear();
    m_upgrades.clear();
}

void WebServer::accept()
{
    while (QTcpSocket* socket = m_tcp.nextPendingConnection()) {
        const QString peer = peerOf(socket);
        const auto fromPeer = std::count_if(m_connections.begin(), m_connections.end(), [&](const auto& c) { return c.second->peer == peer; });
        if (qsizetype(m_connections.size()) >= kMaxConnections || fromPeer >= kMaxPerAddress) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setReadBufferSize(kReadBuffer);
        auto c = std::make_unique<Connection>();
        c->peer = peer;
        c->lastActive = m_clock.monotonicMs();
        if (auto* tls = qobject_cast<QSslSocket*>(socket)) {
            // The handshake counts as the start of the first request: it has the same time to finish.
            c->started = c->lastActive;
            connect(tls, &QSslSocket::errorOccurred, this, [this, tls] {
                if (!tls->isEncrypted()) {
                    tls->abort();
                    drop(tls);
                }
            });
        }
        m_connections.emplace(socket, std::move(c));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { drop(socket); });
        readFrom(socket);
    }
}

void WebServer::drop(QTcpSocket* socket)
{
    if (m_connections.erase(socket) == 0)
        return;
    socket->disconnect(this);
    socket->deleteLater();
}

void WebServer::readFrom(QTcpSocket* socket)
{
    const auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    Connection& c = *it->second;
    if (c.closing) {
        socket->skip(socket->bytesAvailable());
        return;
    }
    // Peeked, not read: an upgrade hands the WebSocket server the request as it came.
    const QByteArray buffered = socket->peek(socket->bytesAvailable());
    if (buffered.size() <= c.peeked)
        return;
    const qint64 now = m_clock.monotonicMs();
    c.lastActive = now;
    if (c.started < 0)
        c.started = now;
    auto outcome = c.reader.feed(QByteArrayView(buffered).sliced(c.peeked));
    c.peeked = buffered.size();
    while (outcome == HttpRequestReader::Outcome::Ready) {
        const HttpRequest request = c.reader.request();
        if (request.wantsWebSocket() && request.path == "/ws") {
            upgrade(socket, request);
            return;
        }
        socket->skip(c.reader.consumed());
        c.peeked -= c.reader.consumed();
        respond(socket, request);
        if (socket->state() != QAbstractSocket::ConnectedState || !request.keepAlive())
            return;
        outcome = c.reader.next();
        c.started = outcome == HttpRequestReader::Outcome::NeedMore && c.peeked == 0 ? -1 : now;
    }
    if (outcome == HttpRequestReader::Outcome::Refused) {
        HttpResponse r = HttpResponse::error(c.reader.refusal(), QString::fromLatin1(HttpResponse::reason(c.reader.refusal())));
        r.close = true;
        finish(socket, r.bytes());
    }
}

void WebServer::respond(QTcpSocket* socket, const HttpRequest& request)
{
    HttpResponse r = route(request, peerOf(socket));
    r.close = r.close || !request.keepAlive();
    if (r.close)
        finish(socket, r.bytes(request.method == "HEAD"));
    else
        socket->write(r.bytes(request.method == "HEAD"));
}

void WebServer::finish(QTcpSocket* socket, const QByteArray& bytes)
{
    const auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    // The sending side is shut once the answer is out, and what the client still sends is
    // dropped: a close with unread input would reset the connection and lose the answer.
    it->second->closing = true;
    it->second->started = m_clock.monotonicMs();
    socket->skip(socket->bytesAvailable());
    const auto shut = [socket] {
        if (socket->bytesToWrite() == 0)
            ::shutdown(int(socket->socketDescriptor()), SHUT_WR);
    };
    connect(socket, &QTcpSocket::bytesWritten, this, shut);
    socket->write(bytes);
}

HttpResponse WebServer::route(const HttpRequest& request, const QString& peer)
{
    const qint64 now = m_clock.monotonicMs();
    if (const Verdict v = m_access.admit(peer, now); v != Verdict::Allowed) {
        HttpResponse r = refusal(v);
        r.close = true;
        return r;
    }
    // A request from another site's page may not act with this one's cookie.
    if (request.method == "POST" && request.hasHeader("origin") && !WebAccess::sameOrigin(request, secure()))
        return HttpResponse::error(403, QStringLiteral("Requests from another site are refused."));
    const QByteArray token = request.cookie(WebAccess::kCookie);
    if (request.path.startsWith("/api/"))
        return api(request, peer, token);
    if (request.method == "POST")
        return HttpResponse::error(405, QStringLiteral("Only the API takes POST."));
    HttpResponse r;
    const QByteArray path = request.path == "/" ? QByteArray("/index.html") : request.path;
    if (!m_hooks.file || !m_hooks.file(path, &r.body, &r.contentType))
        return HttpResponse::error(404, QStringLiteral("No such page."));
    return r;
}

HttpResponse WebServer::api(const HttpRequest& request, const QString& peer, const QByteArray& token)
{
    const qint64 now = m_clock.monotonicMs();
    const QByteArray& path = request.path;
    const bool get = request.method == "GET" || request.method == "HEAD";
    if (get && (path == "/api/status" || path == "/api/activity" || path == "/api/recordings")) {
        if (const Verdict v = m_access.watch(peer, token, now); v != Verdict::Allowed)
            return refusal(v);
        if (path == "/api/activity")
            return HttpResponse::json(200, {{"hits", m_hooks.activity ? m_hooks.activity() : QJsonArray()}});
        if (path == "/api/recordings")
            return HttpResponse::json(200, {{"recordings", m_hooks.recordings ? m_hooks.recordings() : QJsonArray()}});
        const bool control = m_access.control(peer, token, now) == Verdict::Allowed;
        return HttpResponse::json(200, {{"state", m_hooks.status ? m_hooks.status() : QJsonObject()},
                                        {"viewers", viewers()}, {"control", control}});
    }
    if (get)
        return HttpResponse::error(404, QStringLiteral("No such request."));
    bool ok = false;
    const QJsonObject body = jsonBody(request, &ok);
    if (!request.header("content-type").startsWith("application/json") || !ok)
        return HttpResponse::error(415, QStringLiteral("Send a JSON object."));
    if (path == "/api/login") {
        Verdict v = Verdict::Allowed;
        const QByteArray given = m_access.login(peer, body.value("passPhrase").toString().toUtf8(), now, &v);
        if (v != Verdict::Allowed)
            return refusal(v);
        HttpResponse r = HttpResponse::json(200, {{"control", true}});
        r.headers.append({"Set-Cookie", WebAccess::cookieHeader(given, secure())});
        return r;
    }
    if (path == "/api/logout") {
        m_access.logout(token);
        HttpResponse r = HttpResponse::json(200, {{"control", false}});
        r.headers.append({"Set-Cookie", WebAccess::cookieHeader({}, secure())});
        return r;
    }
    const QHash<QByteArray, QString> commands {{"/api/key", QStringLiteral("key")}, {"/api/frequency", QStringLiteral("frequency")}};
    if (!commands.contains(path))
        return HttpResponse::error(404, QStringLiteral("No such request."));
    if (const Verdict v = m_access.control(peer, token, now); v != Verdict::Allowed)
        return refusal(v);
    QJsonObject command = body;
    command.insert("type", commands.value(path));
    const QString why = m_hooks.command ? m_hooks.command(command) : QStringLiteral("Nothing takes commands.");
    return why.isEmpty() ? HttpResponse::json(200, {{"done", true}}) : HttpResponse::error(400, why);
}

bool WebServer::upgrade(QTcpSocket* socket, const HttpRequest& request)
{
    const qint64 now = m_clock.monotonicMs();
    HttpResponse refused;
    const Verdict v = m_access.watch(peerOf(socket), request.cookie(WebAccess::kCookie), now);
    // Handshakes that never ended stop counting after the WebSocket server's own time limit.
    const auto stale = [&](qint64 at) { return now - at > m_ws.handshakeTimeoutMS(); };
    m_upgrades.erase(std::remove_if(m_upgrades.begin(), m_upgrades.end(), stale), m_upgrades.end());
    if (v != Verdict::Allowed)
        refused = refusal(v);
    else if (!WebAccess::sameOrigin(request, secure()))
        refused = HttpResponse::error(403, QStringLiteral("A page from another site may not watch."));
    else if (viewers() + int(m_upgrades.size()) >= WebAccess::kMaxViewers)
        refused = HttpResponse::error(503, QStringLiteral("%1 viewers are watching already: try again later.").arg(WebAccess::kMaxViewers));
    if (refused.status != 200) {
        refused.close = true;
        finish(socket, refused.bytes());
        return false;
    }
    m_connections.erase(socket);
    socket->disconnect(this);
    m_upgrades.append(now);
    m_ws.handleConnection(socket);
    return true;
}

void WebServer::viewerJoined()
{
    while (QWebSocket* ws = m_ws.nextPendingConnection()) {
        if (!m_upgrades.isEmpty())
            m_upgrades.removeFirst();
        auto v = std::make_unique<Viewer>();
        // The handshake's own headers: the cookie it came with decides what this viewer may do.
        const QByteArray cookies = ws->request().rawHeader("Cookie");
        HttpRequest asked;
        asked.headers.append({"cookie", cookies});
        v->token = asked.cookie(WebAccess::kCookie);
        v->peer = remote::AccessRules::canonicalAddress(ws->peerAddress().toString());
        v->windowStart = m_clock.monotonicMs();
        ws->setMaxAllowedIncomingMessageSize(kMaxWsMessage);
        ws->setMaxAllowedIncomingFrameSize(kMaxWsMessage);
        connect(ws, &QWebSocket::textMessageReceived, this, [this, ws](const QString& text) { viewerSaid(ws, text); });
        connect(ws, &QWebSocket::binaryMessageReceived, ws, [ws] { ws->close(QWebSocketProtocol::CloseCodeDatatypeNotSupported); });
        connect(ws, &QWebSocket::bytesWritten, this, [this, ws](qint64 n) {
            if (const auto it = m_viewers.find(ws); it != m_viewers.end())
                it->second->unsent = std::max<qint64>(0, it->second->unsent - n);
        });
        connect(ws, &QWebSocket::disconnected, this, [this, ws] {
            m_viewers.erase(ws);
            ws->deleteLater();
        });
        const bool control = m_access.control(v->peer, v->token, v->windowStart) == Verdict::Allowed;
        // The first viewer's snapshot is where the changes start from.
        if (m_viewers.empty() && m_hooks.status)
            m_lastState = m_hooks.status();
        m_viewers.emplace(ws, std::move(v));
        QJsonObject snapshot {{"state", m_hooks.status ? m_hooks.status() : QJsonObject()},
                              {"hits", m_hooks.activity ? m_hooks.activity() : QJsonArray()},
                              {"control", control}};
        ws->sendTextMessage(QString::fromUtf8(state::message("snapshot", snapshot)));
    }
}

void WebServer::viewerSaid(QWebSocket* ws, const QString& text)
{
    const auto it = m_viewers.find(ws);
    if (it == m_viewers.end())
        return;
    Viewer& v = *it->second;
    const qint64 now = m_clock.monotonicMs();
    if (now - v.windowStart >= 1000) {
        v.windowStart = now;
        v.inWindow = 0;
    }
    if (++v.inWindow > kWsMessagesPerSecond) {
        ws->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Too many messages."));
        // A flooder busy sending may never answer the close: its place is freed anyway.
        QTimer::singleShot(1000, ws, [ws] { ws->abort(); });
        return;
    }
    const QJsonObject m = QJsonDocument::fromJson(text.toUtf8()).object();
    const auto reply = [ws](const QString& error) {
        ws->sendTextMessage(QString::fromUtf8(state::message("error", {{"error", error}})));
    };
    if (const Verdict verdict = m_access.control(v.peer, v.token, now); verdict != Verdict::Allowed) {
        reply(refusalText(verdict));
        return;
    }
    if (m.value("type").toString() == QLatin1String("chat")) {
        const QString line = m.value("text").toString().left(kMaxChat).simplified();
        if (!line.isEmpty() && m_hooks.chat)
            m_hooks.chat(v.peer, line);
        return;
    }
    const QString why = m_hooks.command ? m_hooks.command(m) : QStringLiteral("Nothing takes commands.");
    if (!why.isEmpty())
        reply(why);
}

void WebServer::pushState()
{
    // Nobody watching, nothing to build: the first viewer's snapshot starts the changes afresh.
    if (!m_hooks.status || m_viewers.empty())
        return;
    const QJsonObject now = m_hooks.status();
    const QJsonObject changes = state::changed(m_lastState, now);
    m_lastState = now;
    if (!changes.isEmpty())
        broadcast(state::message("state", changes));
}

void WebServer::broadcast(const QByteArray& message)
{
    const QString text = QString::fromUtf8(message);
    QList<QWebSocket*> slow;
    for (auto& [ws, v] : m_viewers) {
        v->unsent += message.size();
        if (v->unsent > kMaxUnsent)
            slow << ws;
        else
            ws->sendTextMessage(text);
    }
    // A viewer that reads nothing costs a bounded buffer, then its place.
    for (QWebSocket* ws : slow)
        ws->abort();
}

void WebServer::sweep()
{
    const qint64 now = m_clock.monotonicMs();
    QList<QTcpSocket*> stale;
    for (const auto& [socket, c] : m_connections) {
        const bool slowRequest = c->started >= 0 && now - c->started > (c->closing ? kLingerMs : kRequestLimitMs);
        if (slowRequest || now - c->lastActive > kIdleLimitMs)
            stale << socket;
    }
    for (QTcpSocket* socket : stale) {
        socket->abort();
        drop(socket);
    }
}

} // namespace vexlor::web
