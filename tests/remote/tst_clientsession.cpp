#include "remote/client/ClientOptions.h"
#include "remote/client/ClientSession.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_clientsession {
namespace {

using vexlor::remote::ClientOptions;
using vexlor::remote::ClientSession;

namespace {
const QByteArray kBatch = "sq=t\risq=f\rf=146.2000\rt=AMB\rn=Rescue\rin=\rit=\r";
}

class TestClientSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersIdentity()
    {
        ClientSession s("ann", "pw");
        const auto r = s.received("?u\r?p\r");
        QCOMPARE(r.send, (QList<QByteArray> {"?u=ann\r", "?p=pw\r"}));
        QVERIFY(r.print.isEmpty());
    }

    void printsStatusOnlyWhenChanged()
    {
        ClientSession s("ann", {});
        const auto first = s.received(kBatch);
        QCOMPARE(first.print, QStringList {"146.2000 squelch open ID - | ch AMB Rescue | tg"});
        QVERIFY(s.received(kBatch).print.isEmpty());
        // Split anywhere, the same batch is the same line.
        QVERIFY(s.received(kBatch.left(9)).print.isEmpty());
        QVERIFY(s.received(kBatch.mid(9)).print.isEmpty());
        QByteArray changed = kBatch;
        changed.replace("sq=t", "sq=f");
        QCOMPARE(s.received(changed).print, QStringList {"146.2000 squelch closed ID - | ch AMB Rescue | tg"});
    }

    void printsOperatorChat()
    {
        ClientSession s("ann", {});
        QCOMPARE(s.received("chat=hello\r\n").print, QStringList {"<operator> hello"});
        // Terminal controls from the server are printed harmless.
        QCOMPARE(s.received("chat=\x1b]0;owned\x07hi\x9b" "2J\r").print, QStringList {"<operator> ?]0;owned?hi?2J"});
    }

    void typed_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("key") << "k=12\n" << QByteArray("k=12\r");
        QTest::newRow("one-digit key padded") << "k=5" << QByteArray("k=05\r");
        QTest::newRow("command") << "dd=MA001\r\n" << QByteArray("dd=MA001\r");
        QTest::newRow("banks") << "sb=SB AC" << QByteArray("sb=SB AC\r");
        QTest::newRow("chat") << "chat=hi" << QByteArray("chat=hi\r");
        QTest::newRow("plain text is chat") << "hello there" << QByteArray("chat=hello there\r");
        QTest::newRow("blank sends nothing") << "   \n" << QByteArray();
    }
    void typed()
    {
        QFETCH(QString, line);
        QTEST(ClientSession::typed(line), "message");
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("bad");
        QTest::newRow("host only") << QStringList {"127.0.0.1"} << "127.0.0.1" << 1025 << "env" << "envpw" << false;
        QTest::newRow("everything") << QStringList {"h", "2000", "--user", "Ann", "--password", "p w"} << "h" << 2000
                                    << "Ann" << "p w" << false;
        QTest::newRow("options first") << QStringList {"--user", "Bo", "h"} << "h" << 1025 << "Bo" << "envpw" << false;
        QTest::newRow("no host") << QStringList {} << "" << 1025 << "env" << "envpw" << true;
        QTest::newRow("bad port") << QStringList {"h", "70000"} << "" << 1025 << "env" << "envpw" << true;
        QTest::newRow("port zero") << QStringList {"h", "0"} << "" << 1025 << "env" << "envpw" << true;
        QTest::newRow("missing value") << QStringList {"h", "--user"} << "" << 1025 << "env" << "envpw" << true;
        QTest::newRow("unknown option") << QStringList {"h", "--verbose"} << "" << 1025 << "env" << "envpw" << true;
        QTest::newRow("bad wait") << QStringList {"h", "--wait", "soon"} << "" << 1025 << "env" << "envpw" << true;
        QTest::newRow("three positionals") << QStringList {"h", "1", "2"} << "" << 1025 << "env" << "envpw" << true;
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, bad);
        const ClientOptions o = ClientOptions::parse(args, "env", "envpw");
        QCOMPARE(!o.error.isEmpty(), bad);
        if (bad)
            return;
        QTEST(o.host, "host");
        QTEST(int(o.port), "port");
        QTEST(o.user, "user");
        QTEST(o.password, "password");
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestClientSession)

} // namespace
} // namespace tst_clientsession

#include "tst_clientsession.moc"
