#include "TestSuite.h"
#include "web/HttpRequestReader.h"

#include <QTest>

namespace tst_httprequest {
namespace {

using vexlor::web::HttpRequestReader;
using Outcome = HttpRequestReader::Outcome;

const QByteArray kGet = "GET /api/status?x=1 HTTP/1.1\r\nHost: scanner\r\nCookie: a=1; vexlor=abc \r\n\r\n";

class TestHttpRequest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each request read whole, in any pieces; refused with its status where it breaks a rule.
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("piece"); // bytes per feed; 0: all at once
        QTest::addColumn<int>("status"); // 0: read
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("GET") << kGet << 0 << 0 << QByteArray("/api/status") << QByteArray();
        QTest::newRow("GET, a byte at a time") << kGet << 1 << 0 << QByteArray("/api/status") << QByteArray();
        QTest::newRow("LF line ends, blank lines before") << QByteArray("\r\n\nGET / HTTP/1.0\n\n") << 3 << 0 << QByteArray("/") << QByteArray();
        QTest::newRow("POST with its body")
            << QByteArray("POST /api/key HTTP/1.1\r\nHost: h\r\nContent-Length: 12\r\n\r\n{\"key\":\"5\"}X") << 7 << 0
            << QByteArray("/api/key") << QByteArray("{\"key\":\"5\"}X");
        const auto refused = [](const char* name, const QByteArray& bytes, int status) {
            QTest::newRow(name) << bytes << 0 << status << QByteArray() << QByteArray();
        };
        refused("HTTP/1.1 without Host", "GET / HTTP/1.1\r\n\r\n", 400);
        refused("request line with four parts", "GET / x HTTP/1.1\r\nHost: h\r\n\r\n", 400);
        refused("target not a path", "GET http://x/ HTTP/1.1\r\nHost: h\r\n\r\n", 400);
        refused("other method", "DELETE / HTTP/1.1\r\nHost: h\r\n\r\n", 405);
        refused("other version", "GET / HTTP/2.0\r\nHost: h\r\n\r\n", 505);
        refused("chunked body", "POST / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n", 501);
        refused("POST without a length", "POST / HTTP/1.1\r\nHost: h\r\n\r\n", 411);
        refused("body past the limit", "POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 16385\r\n\r\n", 413);
        refused("two lengths", "POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", 400);
        refused("length not a number", "POST / HTTP/1.1\r\nHost: h\r\nContent-Length: -1\r\n\r\n", 400);
        refused("control character in a header", "GET / HTTP/1.1\r\nHost: h\x01\r\n\r\n", 400);
        refused("folded header", "GET / HTTP/1.1\r\nHost: h\r\n x\r\n\r\n", 400);
        refused("header name with a blank", "GET / HTTP/1.1\r\nHo st: h\r\n\r\n", 400);
        refused("head past the limit, never ended", "GET /" + QByteArray(20000, 'a'), 431);
        QByteArray many = "GET / HTTP/1.1\r\nHost: h\r\n";
        for (int i = 0; i < 70; ++i)
            many += "X-" + QByteArray::number(i) + ": 1\r\n";
        refused("too many headers", many + "\r\n", 431);
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, piece);
        QFETCH(int, status);
        HttpRequestReader reader;
        Outcome outcome = Outcome::NeedMore;
        const int step = piece > 0 ? piece : int(bytes.size());
        for (qsizetype at = 0; at < bytes.size() && outcome == Outcome::NeedMore; at += step)
            outcome = reader.feed(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(step, bytes.size() - at)));
        QCOMPARE(outcome, status ? Outcome::Refused : Outcome::Ready);
        if (status) {
            QCOMPARE(reader.refusal(), status);
            return;
        }
        QTEST(reader.request().path, "path");
        QTEST(reader.request().body, "body");
    }

    // Two requests in one piece are read one after the other.
    void pipelined()
    {
        HttpRequestReader reader;
        QCOMPARE(reader.feed(kGet + "GET /two HTTP/1.1\r\nHost: h\r\n\r\nGET /th"), Outcome::Ready);
        QCOMPARE(reader.request().query, QByteArray("x=1"));
        QCOMPARE(reader.request().cookie("vexlor"), QByteArray("abc"));
        QCOMPARE(reader.next(), Outcome::Ready);
        QCOMPARE(reader.request().path, QByteArray("/two"));
        QCOMPARE(reader.next(), Outcome::NeedMore);
        QCOMPARE(reader.feed("ree HTTP/1.0\r\n\r\n"), Outcome::Ready);
        QCOMPARE(reader.request().path, QByteArray("/three"));
        QVERIFY(!reader.request().keepAlive());
    }

    void headers_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("webSocket");
        QTest::addColumn<bool>("keepAlive");
        QTest::newRow("plain 1.1") << QByteArray("Host: h") << false << true;
        QTest::newRow("1.1, close") << QByteArray("Host: h\r\nConnection: close") << false << false;
        QTest::newRow("upgrade") << QByteArray("Host: h\r\nUpgrade: WebSocket\r\nConnection: keep-alive, Upgrade") << true << true;
        QTest::newRow("upgrade without Connection") << QByteArray("Host: h\r\nUpgrade: websocket") << false << true;
    }
    void headers()
    {
        QFETCH(QByteArray, head);
        HttpRequestReader reader;
        QCOMPARE(reader.feed("GET /ws HTTP/1.1\r\n" + head + "\r\n\r\n"), Outcome::Ready);
        QTEST(reader.request().wantsWebSocket(), "webSocket");
        QTEST(reader.request().keepAlive(), "keepAlive");
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestHttpRequest)

} // namespace
} // namespace tst_httprequest

#include "tst_httprequest.moc"
