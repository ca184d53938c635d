#include "FakeClock.h"
#include "TestSuite.h"
#include "web/PageFiles.h"
#include "web/TlsFiles.h"
#include "web/WebAccess.h"
#include "web/WebServer.h"

#include <QJsonDocument>
#include <QNetworkRequest>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

#include <memory>
#include <optional>


namespace tst_webserver {
namespace {

using namespace vexlor;
using web::WebAccess;
using web::WebServer;

// The server on 127.0.0.1 with a pass phrase, a display state the test sets, and what reached the hooks.
struct Rig {
    fakes::FakeClock clock;
    WebAccess access {remote::AccessRules::fromSettings(QStringLiteral("s3cret"), {}, {}), false};
    QJsonObject state {{"frequency", "154.4300"}};
    QList<QJsonObject> commands;
    QStringList chats;
    WebServer server {access, clock,
                      {[this] { return state; }, [] { return QJsonArray {}; },
                       [this](const QJsonObject& c) {
                           commands << c;
                           return QString();
                       },
                       [this](const QString&, const QString& text) { chats << text; },
                       [](const QByteArray& path, QByteArray* body, QByteArray* type) {
                           if (path != "/index.html")
                               return false;
                           *body = "<!doctype html><title>Vexlor</title>";
                           *type = "text/html; charset=utf-8";
                           return true;
                       },
                       [] { return QJsonArray {QJsonObject {{"file", "2026-12-11/071503_Ch12.flac"}}}; }}};
    // With a TLS configuration the server serves TLS only, and the rig's clients trust its certificate.
    std::optional<QSslConfiguration> client;

    explicit Rig(std::optional<QSslConfiguration> tls = {})
    {
        if (tls) {
            client = QSslConfiguration::defaultConfiguration();
            client->setCaCertificates(tls->localCertificateChain());
        }
        QVERIFY(server.listen(QHostAddress::LocalHost, 0, nullptr, tls));
    }
    QByteArray host() const { return "127.0.0.1:" + QByteArray::number(server.port()); }
    QByteArray origin() const { return (client ? "https://" : "http://") + host(); }

    std::unique_ptr<QTcpSocket> connection(bool encrypted, const QHostAddress& from = {})
    {
        if (!encrypted) {
            auto s = std::make_unique<QTcpSocket>();
            if (!from.isNull())
                s->bind(from);
            s->connectToHost(QHostAddress::LocalHost, server.port());
            return s->waitForConnected(2000) ? std::move(s) : nullptr;
        }
        auto s = std::make_unique<QSslSocket>();
        s->setSslConfiguration(*client);
        s->connectToHostEncrypted(QStringLiteral("127.0.0.1"), server.port());
        // Not waitForEncrypted: the server answers the handshake from this same event loop.
        return QTest::qWaitFor([&] { return s->isEncrypted(); }, 3000) ? std::move(s) : nullptr;
    }

    // One request on a fresh connection; the response as it came, up to the server closing or 2 s.
    QByteArray exchange(const QByteArray& request) { return exchangeOn(request, client.has_value()); }
    QByteArray exchangeOn(const QByteArray& request, bool encrypted, const QHostAddress& from = {})
    {
        const auto s = connection(encrypted, from);
        if (!s)
            return {};
        s->write(request);
        QByteArray got;
        (void)QTest::qWaitFor([&] {
            got += s->readAll();
            const qsizetype head = got.indexOf("\r\n\r\n");
            const qsizetype length = got.mid(got.indexOf("Content-Length: ") + 16).split('\r').value(0).toLongLong();
            return (head >= 0 && got.size() >= head + 4 + length) || s->state() == QAbstractSocket::UnconnectedState;
        }, 2000);
        return got;
    }
    QByteArray post(const QByteArray& path, const QByteArray& json, const QByteArray& extra = {})
    {
        return exchange("POST " + path + " HTTP/1.1\r\nHost: " + host() + "\r\nContent-Type: application/json\r\nContent-Length: "
                        + QByteArray::number(json.size()) + "\r\n" + extra + "\r\n" + json);
    }
    QByteArray login()
    {
        const QByteArray r = post("/api/login", R"({"passPhrase":"s3cret"})");
        const qsizetype at = r.indexOf("vexlor_session=");
        return at < 0 ? QByteArray() : r.mid(at + 15).split(';').value(0);
    }
    std::unique_ptr<QWebSocket> viewer(const QByteArray& token, const QByteArray& origin, QStringList* got)
    {
        auto ws = std::make_unique<QWebSocket>();
        QObject::connect(ws.get(), &QWebSocket::textMessageReceived, [got](const QString& m) { *got << m; });
        if (client)
            ws->setSslConfiguration(*client);
        QNetworkRequest r(QUrl((client ? "wss://" : "ws://") + host() + "/ws"));
        r.setRawHeader("Cookie", "vexlor_session=" + token);
        r.setRawHeader("Origin", origin);
        ws->open(r);
        return ws;
    }
};

int statusOf(const QByteArray& response) { return response.mid(9, 3).toInt(); }

QString tlsFile(const char* name) { return QStringLiteral(VEXLOR_TLS_DATA "/") + QLatin1String(name); }

class TestWebServer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void requests_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("contains");
        QTest::newRow("the page, with its policy") << QByteArray("GET / HTTP/1.1\r\nHost: h\r\n\r\n") << false << 200
                                                   << QByteArray("Content-Security-Policy: default-src 'none'");
        QTest::newRow("no such page") << QByteArray("GET /etc/passwd HTTP/1.1\r\nHost: h\r\n\r\n") << false << 404 << QByteArray();
        QTest::newRow("status before the login") << QByteArray("GET /api/status HTTP/1.1\r\nHost: h\r\n\r\n") << false << 401
                                                 << QByteArray("Log in first.");
        QTest::newRow("status after it") << QByteArray("GET /api/status HTTP/1.1\r\nHost: h\r\n\r\n") << true << 200
                                         << QByteArray(R"("frequency":"154.4300")");
        QTest::newRow("recordings before the login") << QByteArray("GET /api/recordings HTTP/1.1\r\nHost: h\r\n\r\n") << false << 401
                                                     << QByteArray("Log in first.");
        QTest::newRow("recordings after it") << QByteArray("GET /api/recordings HTTP/1.1\r\nHost: h\r\n\r\n") << true << 200
                                             << QByteArray("071503_Ch12.flac");
        QTest::newRow("wrong pass phrase") << QByteArray("POST /api/login\n{\"passPhrase\":\"guess\"}") << false << 401
                                           << QByteArray("Wrong pass phrase.");
        QTest::newRow("right one: an HttpOnly, SameSite=Strict cookie")
            << QByteArray("POST /api/login\n{\"passPhrase\":\"s3cret\"}") << false << 200 << QByteArray("HttpOnly; SameSite=Strict");
        QTest::newRow("a key before the login") << QByteArray("POST /api/key\n{\"key\":\"SCAN\"}") << false << 401 << QByteArray();
        QTest::newRow("a key after it") << QByteArray("POST /api/key\n{\"key\":\"SCAN\"}") << true << 200 << QByteArray();
        QTest::newRow("not JSON") << QByteArray("POST /api/key\nkey=SCAN") << true << 415 << QByteArray();
        QTest::newRow("a header past the limit")
            << QByteArray("GET / HTTP/1.1\r\nHost: h\r\nX: " + QByteArray(20000, 'x') + "\r\n\r\n") << false << 431 << QByteArray();
    }
    void requests()
    {
        QFETCH(QByteArray, request);
        QFETCH(bool, loggedIn);
        Rig rig;
        const QByteArray cookie = loggedIn ? "Cookie: vexlor_session=" + rig.login() + "\r\n" : QByteArray();
        QByteArray response;
        if (request.startsWith("POST ")) {
            const QList<QByteArray> parts = request.mid(5).split('\n');
            response = rig.post(parts[0], parts[1], cookie);
        } else {
            response = rig.exchange(QByteArray(request).replace("Host: h\r\n", "Host: h\r\n" + cookie));
        }
        QTEST(statusOf(response), "status");
        QFETCH(QByteArray, contains);
        QVERIFY2(response.contains(contains), response.left(300).constData());
        const bool keyed = request.contains("/api/key") && loggedIn && statusOf(response) == 200;
        QCOMPARE(rig.commands.size(), keyed ? 1 : 0);
    }

    // A viewer gets the whole state, then only what changed; its commands and chat reach the program.
    void viewer()
    {
        Rig rig;
        QStringList got;
        auto ws = rig.viewer(rig.login(), "http://" + rig.host(), &got);
        QTRY_COMPARE(got.size(), 1);
        QVERIFY(got[0].startsWith(R"({"data":{"control":true,"hits":[],"state":{"frequency":"154.4300"}},"type":"snapshot"})"));
        rig.server.pushState();
        rig.state["frequency"] = "851.2375";
        rig.server.pushState();
        QTRY_COMPARE(got.size(), 2);
        QCOMPARE(got[1], QStringLiteral(R"({"data":{"frequency":"851.2375"},"type":"state"})"));
        ws->sendTextMessage(QStringLiteral(R"({"type":"key","key":"SCAN"})"));
        ws->sendTextMessage(QStringLiteral(R"({"type":"chat","text":"  hello  "})"));
        QTRY_COMPARE(rig.chats, QStringList {"hello"});
        QCOMPARE(rig.commands.value(0).value("key").toString(), QStringLiteral("SCAN"));
    }

    // Refused before the upgrade: no login, another site's page, the seventeenth viewer.
    void viewerRefused_data()
    {
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<QByteArray>("origin");
        QTest::addColumn<int>("others");
        QTest::newRow("no login") << false << QByteArray() << 0;
        QTest::newRow("another site") << true << QByteArray("http://evil.example") << 0;
        QTest::newRow("the seventeenth") << true << QByteArray() << 16;
    }
    void viewerRefused()
    {
        QFETCH(bool, loggedIn);
        QFETCH(QByteArray, origin);
        QFETCH(int, others);
        Rig rig;
        const QByteArray token = loggedIn ? rig.login() : QByteArray();
        const QByteArray own = "http://" + rig.host();
        std::vector<std::unique_ptr<QWebSocket>> watching;
        QStringList ignored;
        for (int i = 0; i < others; ++i)
            watching.push_back(rig.viewer(token, own, &ignored));
        QTRY_COMPARE(rig.server.viewers(), others);
        QStringList got;
        auto ws = rig.viewer(token, origin.isEmpty() ? own : origin, &got);
        QSignalSpy closed(ws.get(), &QWebSocket::disconnected);
        QVERIFY(closed.wait(3000) || ws->state() == QAbstractSocket::UnconnectedState);
        QVERIFY(got.isEmpty());
        QCOMPARE(rig.server.viewers(), others);
    }

    // The operator's certificate and key: a pair that belongs together serves TLS, any other says why.
    void tlsFiles_data()
    {
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("error"); // a part of it; empty when the pair serves
        QTest::newRow("EC pair") << tlsFile("cert.pem") << tlsFile("key.pem") << QString();
        QTest::newRow("RSA pair") << tlsFile("rsa-cert.pem") << tlsFile("rsa-key.pem") << QString();
        QTest::newRow("another certificate's key") << tlsFile("cert.pem") << tlsFile("other-key.pem") << "does not belong to the certificate";
        QTest::newRow("a key with a pass phrase") << tlsFile("cert.pem") << tlsFile("locked-key.pem") << "protected by a pass phrase";
        QTest::newRow("a key given as the certificate") << tlsFile("key.pem") << tlsFile("key.pem") << "holds no PEM certificate";
        QTest::newRow("a certificate given as the key") << tlsFile("cert.pem") << tlsFile("cert.pem") << "holds no PEM private key";
        QTest::newRow("no such file") << tlsFile("none.pem") << tlsFile("key.pem") << "Cannot read the certificate";
    }
    void tlsFiles()
    {
        QFETCH(QString, certificate);
        QFETCH(QString, key);
        QFETCH(QString, error);
        QSslConfiguration config;
        QString why;
        QCOMPARE(web::loadTls(certificate, key, &config, &why), error.isEmpty());
        QVERIFY2(why.contains(error), qPrintable(why));
        QCOMPARE(config.privateKey().isNull(), !error.isEmpty());
    }

    // Over TLS the page, the login and a viewer work as in the clear; the cookie is Secure, a
    // viewer must come from the https page, and a plain request gets no page.
    void tls()
    {
        QSslConfiguration config;
        QString why;
        QVERIFY2(web::loadTls(tlsFile("cert.pem"), tlsFile("key.pem"), &config, &why), qPrintable(why));
        Rig rig(config);
        QVERIFY(rig.server.secure());
        QCOMPARE(statusOf(rig.exchange("GET / HTTP/1.1\r\nHost: h\r\n\r\n")), 200);
        QVERIFY(rig.post("/api/login", R"({"passPhrase":"s3cret"})").contains("HttpOnly; SameSite=Strict; Secure\r\n"));
        const QByteArray token = rig.login();
        QStringList got, refused;
        auto ws = rig.viewer(token, rig.origin(), &got);
        QTRY_COMPARE(got.size(), 1);
        QVERIFY(got[0].contains(R"("control":true)"));
        auto fromHttp = rig.viewer(token, "http://" + rig.host(), &refused);
        QSignalSpy closed(fromHttp.get(), &QWebSocket::disconnected);
        QVERIFY(closed.wait(3000) || fromHttp->state() == QAbstractSocket::UnconnectedState);
        QVERIFY(refused.isEmpty());
        QCOMPARE(rig.server.viewers(), 1);
        const QByteArray plain = rig.exchangeOn("GET / HTTP/1.1\r\nHost: h\r\n\r\n", false);
        QVERIFY2(!plain.contains("HTTP/1.1") && !plain.contains("<title>"), plain.left(100).constData());
    }

    // A thousand connections from one address hold a bounded share of the server: another
    // address is still served while they stay, and their own address once they go.
    void thousandConnections()
    {
        Rig rig;
        std::vector<std::unique_ptr<QTcpSocket>> flood;
        for (int i = 0; i < 1000; ++i) {
            flood.push_back(std::make_unique<QTcpSocket>());
            flood.back()->connectToHost(QHostAddress::LocalHost, rig.server.port());
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig.server.connections(), WebServer::kMaxPerAddress, 10000);
        const QByteArray page = "GET / HTTP/1.1\r\nHost: h\r\n\r\n";
        QCOMPARE(statusOf(rig.exchangeOn(page, false, QHostAddress(QStringLiteral("127.0.0.2")))), 200);
        QTRY_COMPARE(rig.server.connections(), WebServer::kMaxPerAddress);
        flood.clear();
        QTRY_COMPARE(rig.server.connections(), 0);
        QCOMPARE(statusOf(rig.exchange(page)), 200);
    }

    // A viewer that floods is closed after its allowance, having driven nothing past it; the others go on.
    void floodingViewerIsClosed()
    {
        Rig rig;
        const QByteArray token = rig.login();
        QStringList calm, flooding;
        auto watcher = rig.viewer(token, rig.origin(), &calm);
        auto flooder = rig.viewer(token, rig.origin(), &flooding);
        QTRY_COMPARE(rig.server.viewers(), 2);
        QSignalSpy closed(flooder.get(), &QWebSocket::disconnected);
        for (int i = 0; i < 500; ++i)
            flooder->sendTextMessage(QStringLiteral(R"({"type":"key","key":"SCAN"})"));
        QVERIFY(closed.wait(5000));
        QCOMPARE(flooder->closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);
        QVERIFY(rig.commands.size() <= WebServer::kWsMessagesPerSecond);
        QTRY_COMPARE(rig.server.viewers(), 1);
        rig.state["frequency"] = "851.2375";
        rig.server.pushState();
        QTRY_VERIFY(calm.last().contains("851.2375"));
    }

    // A viewer that reads nothing costs a bounded buffer, then its place; one that reads keeps up.
    void viewerThatDoesNotReadIsDropped()
    {
        Rig rig;
        const QByteArray token = rig.login();
        QStringList reading;
        auto watcher = rig.viewer(token, rig.origin(), &reading);
        const auto stuck = rig.connection(false);
        QVERIFY(stuck);
        stuck->write("GET /ws HTTP/1.1\r\nHost: " + rig.host() + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                     "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\nOrigin: " + rig.origin()
                     + "\r\nCookie: vexlor_session=" + token + "\r\n\r\n");
        QTRY_COMPARE(rig.server.viewers(), 2);
        stuck->setReadBufferSize(1); // from here on the kernel's buffers fill, then the server's
        const QByteArray big = QByteArray(64 * 1024, 'x');
        int sent = 0;
        while (rig.server.viewers() == 2 && sent < 2000) {
            rig.server.broadcast(big);
            ++sent;
            QTest::qWait(1);
        }
        QCOMPARE(rig.server.viewers(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(reading.size(), sent + 1, 10000); // the snapshot, then every message
    }

    // The page's files are in the program, refer to nothing elsewhere, and stay small for a phone.
    void pageFiles()
    {
        QByteArray html, type;
        QVERIFY(web::pageFile("/index.html", &html, &type));
        QCOMPARE(type, QByteArray("text/html; charset=utf-8"));
        for (const QByteArray& file : {QByteArray("/app.js"), QByteArray("/style.css")}) {
            QVERIFY2(html.contains("\"" + file + "\""), file.constData());
            QByteArray body;
            QVERIFY(web::pageFile(file, &body, &type));
            QVERIFY2(!body.contains("http://") && !body.contains("https://") && !body.contains("@import"), file.constData());
        }
        QVERIFY(!html.contains("http://") && !html.contains("https://") && !html.contains("<script>") && !html.contains("style="));
        QVERIFY(!web::pageFile("/../etc/passwd", &html, &type));
        QVERIFY(web::pageBytes() > 10000 && web::pageBytes() < 150 * 1024);
    }

    // A client that starts a request and stalls loses its connection.
    void stalledClientIsClosed()
    {
        Rig rig;
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, rig.server.port());
        QVERIFY(s.waitForConnected(2000));
        s.write("GET / HTTP/1.1\r\nHo");
        QTest::qWait(50);
        rig.clock.advanceMs(WebServer::kRequestLimitMs + 1);
        QTRY_VERIFY_WITH_TIMEOUT(s.state() == QAbstractSocket::UnconnectedState, 3000);
    }
};

VEXLOR_TEST_MAIN(TestWebServer)

} // namespace
} // namespace tst_webserver

#include "tst_webserver.moc"
