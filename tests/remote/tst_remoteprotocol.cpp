#include "monitor/MainDisplay.h"
#include "remote/MessageFramer.h"
#include "remote/Protocol.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_remoteprotocol {
namespace {

using namespace vexlor;
using remote::MessageFramer;
using namespace remote::protocol;


namespace {
QList<QByteArray> many(int n)
{
    QList<QByteArray> out;
    for (int i = 0; i < n; ++i)
        out << QByteArray("k=") + QByteArray::number(i % 100).rightJustified(2, '0');
    return out;
}
} // namespace

class TestRemoteProtocol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each arrival is one entry of "arrivals"; the messages of all of them, in order.
    void framing_data()
    {
        QTest::addColumn<QList<QByteArray>>("arrivals");
        QTest::addColumn<QList<QByteArray>>("messages");
        QTest::addColumn<int>("pending");
        using L = QList<QByteArray>;
        QTest::newRow("two in one arrival") << L {"k=05\rk=06\r"} << L {"k=05", "k=06"} << 0;
        QTest::newRow("split across arrivals") << L {"dd=MA", "001\r"} << L {"dd=MA001"} << 0;
        QTest::newRow("split in three, CR alone") << L {"ch", "at=hi", "\r"} << L {"chat=hi"} << 0;
        QTest::newRow("tail waits") << L {"k=01\rk=0"} << L {"k=01"} << 3;
        QTest::newRow("CR LF") << L {"k=05\r\nk=06\r\n"} << L {"k=05", "k=06"} << 0;
        QTest::newRow("LF split from its CR") << L {"k=05\r", "\nk=06\r"} << L {"k=05", "k=06"} << 0;
        QTest::newRow("only one LF dropped") << L {"\n\nk=05\r"} << L {"\nk=05"} << 0;
        QTest::newRow("LF inside kept") << L {"dd=A\nB\r"} << L {"dd=A\nB"} << 0;
        QTest::newRow("empty message") << L {"\r"} << L {""} << 0;
        QTest::newRow("CR LF alone") << L {"\r\n\r\n"} << L {"", ""} << 0;
        QTest::newRow("nothing") << L {""} << L {} << 0;
        QTest::newRow("2000-byte line then a good one")
            << L {QByteArray(2000, 'x') + "\rk=12\r"} << L {"k=12"} << 0;
        QTest::newRow("over-long line in pieces")
            << L {QByteArray(700, 'x'), QByteArray(700, 'y'), "zz\rk=12\r"} << L {"k=12"} << 0;
        QTest::newRow("exactly 1024 kept") << L {QByteArray(1024, 'a') + "\r"} << L {QByteArray(1024, 'a')} << 0;
        QTest::newRow("1025 dropped") << L {QByteArray(1025, 'a') + "\rk=01\r"} << L {"k=01"} << 0;
        QTest::newRow("LF does not count to the bound")
            << L {"\n" + QByteArray(1024, 'a') + "\r"} << L {QByteArray(1024, 'a')} << 0;
        QTest::newRow("waiting never past the bound") << L {QByteArray(5000, 'q')} << L {} << 0;
        QByteArray hundredFifty;
        for (const QByteArray& m : many(150))
            hundredFifty += m + '\r';
        QTest::newRow("150 in one arrival") << L {hundredFifty} << many(150) << 0;
        QTest::newRow("8-bit bytes") << L {QByteArray("chat=\xe9\xff\x01\r")} << L {QByteArray("chat=\xe9\xff\x01")} << 0;
    }
    void framing()
    {
        QFETCH(QList<QByteArray>, arrivals);
        QFETCH(QList<QByteArray>, messages);
        QFETCH(int, pending);
        MessageFramer f;
        QList<QByteArray> got;
        for (const QByteArray& a : arrivals)
            got += f.feed(a);
        QCOMPARE(got, messages);
        QCOMPARE(f.pendingSize(), qsizetype(pending));
    }

    // A stream without a CR: what waits stays within the bound, and the
    // message after the next CR is read whole.
    void endlessLine()
    {
        MessageFramer f;
        const QByteArray chunk(64 * 1024, 'z');
        for (int i = 0; i < 160; ++i) { // 10 MB
            QVERIFY(f.feed(chunk).isEmpty());
            QVERIFY(f.pendingSize() <= MessageFramer::kMaxMessage);
        }
        QCOMPARE(f.feed("tail\rk=12\r"), QList<QByteArray> {"k=12"});
        QCOMPARE(f.discardedCount(), 1);
    }

    void resetForgetsTheHalfMessage()
    {
        MessageFramer f;
        f.feed("k=1");
        f.reset();
        QCOMPARE(f.feed("2\r"), QList<QByteArray> {"2"});
    }

    void actions_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        using K = Action::Kind;
        QTest::newRow("k= key") << "k=12" << int(K::Serial) << "KEY12";
        QTest::newRow("k= last two characters") << "k=123" << int(K::Serial) << "KEY23";
        QTest::newRow("k= short value passed on") << "k=5" << int(K::Serial) << "KEY=5";
        QTest::newRow("dd= command") << "dd=MA001" << int(K::Serial) << "MA001";
        QTest::newRow("dd= empty") << "dd=" << int(K::Serial) << "";
        QTest::newRow("?u= name") << "?u=Ann Lee" << int(K::User) << "Ann Lee";
        QTest::newRow("?p= value") << "?p=secret" << int(K::Password) << "secret";
        QTest::newRow("chat= line") << "chat=hello there" << int(K::Chat) << "hello there";
        QTest::newRow("sb= as dd=") << "sb=SB AC" << int(K::Serial) << "SB AC";
        QTest::newRow("prefix case matters") << "K=12" << int(K::None) << "";
        QTest::newRow("prefix only at the start") << " k=12" << int(K::None) << "";
        QTest::newRow("leading LF matches nothing") << "\nk=12" << int(K::None) << "";
        QTest::newRow("bare ?u") << "?u" << int(K::None) << "";
        QTest::newRow("unknown") << "zz=1" << int(K::None) << "";
        QTest::newRow("empty") << "" << int(K::None) << "";
    }
    void actions()
    {
        QFETCH(QString, message);
        QFETCH(int, kind);
        QFETCH(QString, text);
        const Action a = actionFor(message);
        QCOMPARE(int(a.kind), kind);
        QCOMPARE(a.text, text);
    }

    void statusFromDisplay()
    {
        monitor::MainDisplayState d;
        d.SQopen = true;
        d.FrequencyBox = "851.0125";
        d.TypeLbl = "FDP";
        d.NameLbl = "Fire North";
        d.IDNameLbl = "Dispatch";
        d.IDTypeLbl = "POL";
        QCOMPARE(statusMessages(receptionStatus(d)),
                 (QList<QByteArray> {"sq=t\r", "isq=f\r", "f=851.0125\r", "t=FDP\r", "n=Fire North\r",
                                     "in=Dispatch\r", "it=POL\r"}));
        d.SQopen = false;
        d.IDListen = true;
        d.NameLbl = QString::fromLatin1("Caf\xe9");
        const QList<QByteArray> m = statusMessages(receptionStatus(d));
        QCOMPARE(m[0], QByteArray("sq=f\r"));
        QCOMPARE(m[1], QByteArray("isq=t\r"));
        QCOMPARE(m[4], QByteArray("n=Caf\xe9\r"));
    }

    // What a client reads back is what was sent.
    void statusRoundTrip()
    {
        ReceptionStatus s {true, false, "146.2000", "AMB", "Rescue", "", "MUN"};
        ReceptionStatus back;
        MessageFramer f;
        QByteArray wire;
        for (const QByteArray& m : statusMessages(s))
            wire += m;
        for (const QByteArray& m : f.feed(wire))
            QVERIFY(applyStatus(back, QString::fromLatin1(m)));
        QCOMPARE(back, s);
        QVERIFY(!applyStatus(back, "chat=x"));
        QVERIFY(!applyStatus(back, "?u"));
    }

    void identityAndChat()
    {
        QCOMPARE(identityRequests(), (QList<QByteArray> {"?u\r", "?p\r"}));
        QCOMPARE(chatMessage("hi\r\n"), QByteArray("chat=hi\r\n"));
    }

    void statusTexts_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("listening");
        QTest::addColumn<QString>("event");
        QTest::newRow("40020") << 40020 << "Connection failed" << "Connection failed!";
        QTest::newRow("40006") << 40006 << "Connection failed" << "Connection failed!";
        QTest::newRow("10048") << 10048 << "IP Address or Port already in used " << "IP Address or Port already used !";
        QTest::newRow("10054") << 10054 << "Error of communications : 10054" << "Connection Closed By Remote !";
        QTest::newRow("other") << 10013 << "Error of communications : 10013" << "Error of communications : 10013";
    }
    void statusTexts()
    {
        QFETCH(int, error);
        QTEST(listenFailureText(error), "listening");
        QTEST(socketErrorText(error), "event");
    }

    void userLineText()
    {
        QCOMPARE(userLine("", "10.0.0.7"), QStringLiteral("User :  ( 10.0.0.7 )"));
        QCOMPARE(userLine("Ann", "::1"), QStringLiteral("User : Ann ( ::1 )"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestRemoteProtocol)

} // namespace
} // namespace tst_remoteprotocol

#include "tst_remoteprotocol.moc"
