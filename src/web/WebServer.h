#pragma once

#include "web/HttpRequestReader.h"
#include "web/HttpResponse.h"
#include "web/TlsListener.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QTimer>
#include <QWebSocketServer>

#include <functional>
#include <memory>
#include <unordered_map>

class QTcpSocket;
class QWebSocket;

namespace vexlor::platform {
class Clock;
}

namespace vexlor::web {

class WebAccess;

// The web remote's server: the page, a small JSON API and a WebSocket per
// viewer that carries each change of the display. Every request is read
// within bounds, and every connection that stalls is closed, so no client
// can hold the poll or the memory.
class WebServer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxConnections = 64;     // HTTP connections at once, viewers apart
    static constexpr int kMaxPerAddress = 32;      // of them from one address, so one client cannot take them all
    static constexpr qint64 kRequestLimitMs = 10000; // for a whole request, once it started
    static constexpr qint64 kIdleLimitMs = 30000;    // a kept-alive connection with nothing to say
    static constexpr qint64 kLingerMs = 2000;        // a closing connection, to let its last answer arrive
    static constexpr qint64 kMaxWsMessage = 4096;    // a viewer's message, at most
    static constexpr int kWsMessagesPerSecond = 20;  // past it a viewer is closed as a flood

    struct Hooks {
        std::function<QJsonObject()> status;
        std::function<QJsonArray()> activity;
        // A control command from a logged-in client ({"type": "key", ...}); an error text, empty when done.
        std::function<QString(const QJsonObject&)> command;
        std::function<void(const QString& from, const QString& text)> chat;
        // The page's files by path; false for a path that is none of them.
        std::function<bool(const QByteArray& path, QByteArray* body, QByteArray* contentType)> file;
        // The recordings, newest first; none when the program keeps none.
        std::function<QJsonArray()> recordings = {};
    };

    WebServer(WebAccess& access, const platform::Clock& clock, Hooks hooks, QObject* parent = nullptr);
    ~WebServer() override;

    // False, with the reason, when the address or port cannot be taken. With a
    // TLS configuration every connection is TLS, and cookies and origins follow.
    bool listen(const QHostAddress& address, quint16 port, QString* error, std::optional<QSslConfiguration> tls = {});
    void close();
    bool isListening() const { return m_tcp.isListening(); }
    quint16 port() const { return m_tcp.serverPort(); }
    bool secure() const { return m_tcp.secure(); }
    int viewers() const { return int(m_viewers.size()); }
    // HTTP connections held, viewers apart.
    int connections() const { return int(m_connections.size()); }

    // Sends what changed since the last push, to every viewer; nothing when nothing did.
    void pushState();
    // A message to every viewer (chat from the operator, a new hit).
    void broadcast(const QByteArray& message);

private:
    struct Connection;
    struct Viewer;
    void accept();
    void readFrom(QTcpSocket* socket);
    void respond(QTcpSocket* socket, const HttpRequest& request);
    HttpResponse route(const HttpRequest& request, const QString& peer);
    HttpResponse api(const HttpRequest& request, const QString& peer, const QByteArray& token);
    bool upgrade(QTcpSocket* socket, const HttpRequest& request);
    void viewerJoined();
    void viewerSaid(QWebSocket* ws, const QString& text);
    void sweep();
    void drop(QTcpSocket* socket);
    // The last answer on a connection, then its close.
    void finish(QTcpSocket* socket, const QByteArray& bytes);

    WebAccess& m_access;
    const platform::Clock& m_clock;
    Hooks m_hooks;
    TlsListener m_tcp;
    QWebSocketServer m_ws;
    QTimer m_sweep;
    std::unordered_map<QTcpSocket*, std::unique_ptr<Connection>> m_connections;
    std::unordered_map<QWebSocket*, std::unique_ptr<Viewer>> m_viewers;
    QList<qint64> m_upgrades; // handshakes under way, by when they started
    QJsonObject m_lastState;
};

} // namespace vexlor::web
