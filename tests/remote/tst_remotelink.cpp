#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "FakeSocket.h"
#include "link/ScannerLink.h"
#include "monitor/MainDisplay.h"
#include "remote/LoginGuard.h"
#include "remote/Protocol.h"
#include "remote/RemoteLink.h"
#include "TestSuite.h"

#include <QSignalSpy>
#include <QTest>

namespace tst_remotelink {
namespace {

using namespace vexlor;
using fakes::FakeSocket;
using platform::RemoteSocket;
using remote::AccessRules;
using remote::RemoteLink;

namespace {

const QString kListening = QStringLiteral("Application now listen to remote user");

// The link over fakes; the test plays the client through tcp1.
struct Rig {
    fakes::FakeClock clock;
    fakes::FakeSerialPort port;
    link::ScannerLink scanner {port, clock};
    monitor::MainDisplay display;
    FakeSocket tcp1;
    bool autoListen = false;
    AccessRules rules;
    QStringList reports;
    RemoteLink remote {tcp1, scanner, display, clock,
                       {[this] { return autoListen; }, [this](bool on) { autoListen = on; }, [this] { return rules; },
                        [this](const QString& line) { reports << line; }}};

    Rig()
    {
        // Loopback, so the listening text carries no warning unless a test opens it up.
        rules.bind = QStringLiteral("127.0.0.1");
        port.open();
    }
    const monitor::MainDisplayState& shown() const { return display.published(); }
    QString status() const { return display.published().TcpstatusBox; }
    // A client at address, accepted, with the identity requests taken away.
    void connectClient(const QString& address = QStringLiteral("10.0.0.7"))
    {
        if (tcp1.state() == RemoteSocket::Closed)
            tcp1.listen();
        QVERIFY(tcp1.request(address));
        tcp1.sent.clear();
        port.clearWritten();
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            remote.forwardTick();
            remote.statusUpkeep();
        }
    }
};

} // namespace

class TestRemoteLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listensOn1025ByDefault()
    {
        Rig r;
        QCOMPARE(r.tcp1.localPort(), quint16(1025));
    }

    void upkeep_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("autoListen");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("connectedImage");
        QTest::addColumn<int>("stateAfter");
        QTest::newRow("closed") << 0 << false << "No connection" << false << 0;
        QTest::newRow("closed, auto listen: listening shown in the same tick") << 0 << true << kListening << false << 2;
        QTest::newRow("listening") << 2 << false << kListening << false << 2;
        QTest::newRow("connected, no name yet") << 7 << false << "User :  ( 10.0.0.7 )" << true << 7;
        QTest::newRow("closing is closed") << 8 << false << "User :  ( 10.0.0.7 )" << true << 0;
    }
    void upkeep()
    {
        QFETCH(int, state);
        QFETCH(bool, autoListen);
        Rig r;
        r.autoListen = autoListen;
        if (state >= 7) {
            r.connectClient();
            r.remote.statusUpkeep(); // the user line of the connected tick
        }
        if (state == 8)
            r.tcp1.peerCloses();
        else
            r.tcp1.setState(state);
        r.remote.statusUpkeep();
        QTEST(r.status(), "status");
        QFETCH(bool, connectedImage);
        QCOMPARE(r.shown().TCPConnectOnCmd, connectedImage);
        QCOMPARE(r.shown().TCPConnectionCmd, !connectedImage);
        QTEST(r.tcp1.state(), "stateAfter");
    }

    // A client leaves; Auto Listen listens again within two ticks.
    void peerCloseThenListenAgain()
    {
        Rig r;
        r.autoListen = true;
        r.ticks(1);
        r.connectClient();
        r.tcp1.arrive("?u=Ann\r");
        QStringList seen;
        connect(&r.display, &monitor::MainDisplay::changed, this, [&] { seen << r.status(); });
        r.ticks(1);
        r.tcp1.peerCloses();
        r.ticks(2);
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Listening));
        QCOMPARE(seen, (QStringList {"No connection", kListening}));
        QVERIFY(r.shown().TCPConnectionCmd);
        QVERIFY(!r.shown().TCPConnectOnCmd);
    }

    void acceptAsksForIdentity()
    {
        Rig r;
        r.tcp1.listen();
        QVERIFY(r.tcp1.request("192.0.2.4"));
        QCOMPARE(r.tcp1.sent, (QList<QByteArray> {"?u\r", "?p\r"}));
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Connected));
        QVERIFY(r.shown().TCPConnectOnCmd);
        QVERIFY(!r.shown().TCPConnectionCmd);
        r.ticks(1);
        QCOMPARE(r.status(), QStringLiteral("User :  ( 192.0.2.4 )"));
    }

    void forwardsEveryEighthTick()
    {
        Rig r;
        r.display.s.SQopen = true;
        r.display.s.FrequencyBox = "146.2000";
        r.display.s.NameLbl = "Rescue";
        r.connectClient();
        for (int tick = 1; tick <= 16; ++tick) {
            r.ticks(1);
            const bool due = tick % 8 == 0;
            QCOMPARE(r.tcp1.sent.size(), due ? 7 : 0);
            QCOMPARE(r.port.written, due ? QByteArray("SB\r") : QByteArray());
            if (due) {
                QCOMPARE(r.tcp1.sent.first(), QByteArray("sq=t\r"));
                QCOMPARE(r.tcp1.sent[2], QByteArray("f=146.2000\r"));
                QCOMPARE(r.tcp1.sent[4], QByteArray("n=Rescue\r"));
                QCOMPARE(r.remote.TCPstatut(), 7);
            }
            r.tcp1.sent.clear();
            r.port.clearWritten();
        }
    }

    void nothingForwardedWithoutClient()
    {
        Rig r;
        r.tcp1.listen();
        r.ticks(16);
        QVERIFY(r.tcp1.sent.isEmpty());
        QVERIFY(r.port.written.isEmpty());
        QCOMPARE(r.remote.ForwardTickCount(), quint16(0));
    }

    // The count survives a disconnection, so the next client may be served early.
    void countKeptAcrossConnections()
    {
        Rig r;
        r.connectClient();
        r.ticks(5);
        r.remote.TCPConnectOnCmd();
        r.connectClient();
        r.ticks(2);
        QVERIFY(r.tcp1.sent.isEmpty());
        r.ticks(1);
        QCOMPARE(r.tcp1.sent.size(), 7);
    }

    void receiving_data()
    {
        QTest::addColumn<QList<QByteArray>>("arrivals");
        QTest::addColumn<QStringList>("written");
        using L = QList<QByteArray>;
        QTest::newRow("k=12") << L {"k=12\r"} << QStringList {"KEY12"};
        QTest::newRow("dd=") << L {"dd=MA001\r"} << QStringList {"MA001"};
        QTest::newRow("sb=") << L {"sb=SB AC\r"} << QStringList {"SB AC"};
        QTest::newRow("two, in order") << L {"k=05\rk=06\r"} << QStringList {"KEY05", "KEY06"};
        QTest::newRow("split message kept") << L {"k=", "12\r"} << QStringList {"KEY12"};
        QTest::newRow("CR LF client") << L {"k=05\r\nk=06\r\n"} << QStringList {"KEY05", "KEY06"};
        QTest::newRow("other messages write nothing") << L {"?u=A\r?p=B\rchat=C\rzz\r\r"} << QStringList {};
        QTest::newRow("long line then good") << L {QByteArray(2000, 'k') + "\rk=01\r"} << QStringList {"KEY01"};
    }
    void receiving()
    {
        QFETCH(QList<QByteArray>, arrivals);
        Rig r;
        r.connectClient();
        for (const QByteArray& a : arrivals)
            r.tcp1.arrive(a);
        QTEST(r.port.writtenLines(), "written");
    }

    void userNameShownAtOnceAndResetPerClient()
    {
        Rig r;
        r.connectClient();
        r.tcp1.arrive("?u=Ann\r");
        QCOMPARE(r.status(), QStringLiteral("User : Ann ( 10.0.0.7 )"));
        QCOMPARE(r.remote.userName(), QStringLiteral("Ann"));
        r.tcp1.peerCloses();
        r.ticks(1);
        r.connectClient("10.0.0.8");
        r.ticks(1);
        QCOMPARE(r.status(), QStringLiteral("User :  ( 10.0.0.8 )"));
    }

    void chatFromClient()
    {
        Rig r;
        QSignalSpy chat(&r.remote, &RemoteLink::chatReceived);
        r.connectClient();
        r.tcp1.arrive("chat=hello there\r\n");
        QCOMPARE(chat.size(), 1);
        QCOMPARE(chat.first().first().toString(), QStringLiteral("hello there"));
    }

    void operatorClose_data()
    {
        QTest::addColumn<bool>("autoListen");
        QTest::newRow("auto listen off") << false;
        QTest::newRow("auto listen on: listening next tick") << true;
    }
    void operatorClose()
    {
        QFETCH(bool, autoListen);
        Rig r;
        r.autoListen = autoListen;
        r.connectClient();
        r.ticks(1);
        r.remote.TCPConnectOnCmd();
        QCOMPARE(r.status(), QStringLiteral("Connection closed by you!"));
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Closed));
        QVERIFY(r.shown().TCPConnectionCmd);
        QVERIFY(!r.shown().TCPConnectOnCmd);
        QCOMPARE(r.autoListen, autoListen);
        r.ticks(1);
        QCOMPARE(r.tcp1.state(), autoListen ? int(RemoteSocket::Listening) : int(RemoteSocket::Closed));
    }

    void closeMenuClearsAutoListen()
    {
        Rig r;
        r.autoListen = true;
        r.connectClient();
        r.remote.CloseTCPmnu();
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Closed));
        QVERIFY(!r.autoListen);
        r.ticks(1);
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Closed));
    }

    void autoListenItem_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("stateAfter");
        QTest::newRow("uncheck while connected keeps the client") << true << 7 << 7;
        QTest::newRow("uncheck while listening stops") << true << 2 << 0;
        QTest::newRow("check while closed waits for the tick") << false << 0 << 0;
        QTest::newRow("check while connected") << false << 7 << 7;
    }
    void autoListenItem()
    {
        QFETCH(bool, checked);
        QFETCH(int, state);
        Rig r;
        r.autoListen = checked;
        if (state == 7)
            r.connectClient();
        else
            r.tcp1.setState(state);
        r.remote.AutoListenOnTCP();
        QCOMPARE(r.autoListen, !checked);
        QTEST(r.tcp1.state(), "stateAfter");
    }

    void connectCmd_data()
    {
        QTest::addColumn<QString>("portText");
        QTest::addColumn<int>("startState");
        QTest::addColumn<int>("listenError");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("port");
        QTest::newRow("listens") << "2000" << 0 << 0 << kListening << 2000;
        QTest::newRow("lenient number, rounded") << " 3000.6 x" << 0 << 0 << kListening << 3001;
        QTest::newRow("already listening") << "2000" << 2 << 0 << "Connection failed" << 1025;
        QTest::newRow("port held") << "2000" << 0 << 10048 << "IP Address or Port already in used " << 2000;
        QTest::newRow("other error") << "80" << 0 << 10013 << "Error of communications : 10013" << 80;
        QTest::newRow("port out of range") << "70000" << 0 << 0 << "Error of communications : 380" << 1025;
        QTest::newRow("huge number") << "99999999999999999999999" << 0 << 0 << "Error of communications : 380" << 1025;
        QTest::newRow("negative") << "-5" << 0 << 0 << "Error of communications : 380" << 1025;
    }
    void connectCmd()
    {
        QFETCH(QString, portText);
        QFETCH(int, startState);
        QFETCH(int, listenError);
        Rig r;
        r.rules.bind = "127.0.0.1";
        r.tcp1.setState(startState);
        r.tcp1.listenError = listenError;
        r.remote.ConnectCmd(portText);
        QTEST(r.status(), "status");
        QTEST(int(r.tcp1.localPort()), "port");
        QCOMPARE(r.tcp1.bindAddress, QStringLiteral("127.0.0.1"));
    }

    void socketError_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("status");
        QTest::newRow("40020") << 40020 << "Connection failed!";
        QTest::newRow("40006") << 40006 << "Connection failed!";
        QTest::newRow("10054") << 10054 << "Connection Closed By Remote !";
        QTest::newRow("10048") << 10048 << "IP Address or Port already used !";
        QTest::newRow("other") << 10060 << "Error of communications : 10060";
    }
    void socketError()
    {
        QFETCH(int, number);
        Rig r;
        r.connectClient();
        r.ticks(1);
        r.tcp1.raise(number);
        QTEST(r.status(), "status");
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Closed));
        QVERIFY(r.shown().TCPConnectionCmd);
        QVERIFY(!r.shown().TCPConnectOnCmd);
    }

    void password_data()
    {
        QTest::addColumn<QByteArray>("arrival");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<int>("chats");
        QTest::addColumn<bool>("open");
        QTest::newRow("nothing before the password") << QByteArray("k=12\rdd=MA001\rsb=SB A\rchat=hi\r")
                                                     << QStringList {} << 0 << true;
        QTest::newRow("name before the password is fine") << QByteArray("?u=Ann\r") << QStringList {} << 0 << true;
        QTest::newRow("right password opens") << QByteArray("?u=Ann\r?p=top secret\rk=12\rchat=hi\r")
                                              << QStringList {"KEY12"} << 1 << true;
        QTest::newRow("wrong password closes, rest ignored") << QByteArray("?p=top secreT\rk=12\r")
                                                             << QStringList {} << 0 << false;
        QTest::newRow("prefix of the password") << QByteArray("?p=top\rk=12\r") << QStringList {} << 0 << false;
        QTest::newRow("empty password") << QByteArray("?p=\rk=12\r") << QStringList {} << 0 << false;
    }
    void password()
    {
        QFETCH(QByteArray, arrival);
        QFETCH(bool, open);
        Rig r;
        r.rules.password = "top secret";
        QSignalSpy chat(&r.remote, &RemoteLink::chatReceived);
        r.connectClient();
        r.tcp1.arrive(arrival);
        QTEST(r.port.writtenLines(), "written");
        QTEST(int(chat.size()), "chats");
        QCOMPARE(r.tcp1.state(), open ? int(RemoteSocket::Connected) : int(RemoteSocket::Closed));
        if (!open)
            QCOMPARE(r.status(), QStringLiteral("Connection closed: wrong password from 10.0.0.7"));
    }

    void noStatusBeforeThePassword()
    {
        Rig r;
        r.rules.password = "pw";
        r.connectClient();
        r.ticks(8);
        QVERIFY(r.tcp1.sent.isEmpty());
        QVERIFY(r.port.written.isEmpty());
        r.tcp1.arrive("?p=pw\r");
        r.ticks(8);
        QCOMPARE(r.tcp1.sent.size(), 7);
    }

    void passwordValueKeptWithoutLock()
    {
        Rig r;
        r.connectClient();
        r.tcp1.arrive("?p=anything\rk=12\r");
        QCOMPARE(r.remote.remotePassword(), QStringLiteral("anything"));
        QCOMPARE(r.port.writtenLines(), QStringList {"KEY12"});
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Connected));
    }

    void loginTimeLimit()
    {
        Rig r;
        r.autoListen = true;
        r.rules.password = "pw";
        r.connectClient();
        r.clock.advanceMs(AccessRules::kLoginLimitMs - 1);
        r.ticks(1);
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Connected));
        r.clock.advanceMs(1);
        r.ticks(1);
        const QString notice = QStringLiteral("Connection closed: no password from 10.0.0.7 within 10 s");
        QCOMPARE(r.status(), notice);
        // Listening again at once, but the reason stays readable for a while.
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Listening));
        r.clock.advanceMs(RemoteLink::kNoticeMs - 1);
        r.ticks(1);
        QCOMPARE(r.status(), notice);
        r.clock.advanceMs(1);
        r.ticks(1);
        QCOMPARE(r.status(), kListening);
    }

    void loginInTimeStaysOpen()
    {
        Rig r;
        r.rules.password = "pw";
        r.connectClient();
        r.clock.advanceMs(AccessRules::kLoginLimitMs - 1);
        r.tcp1.arrive("?p=pw\r");
        r.clock.advanceMs(60000);
        r.ticks(1);
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Connected));
        // A late arrival is not let in after the limit either.
        Rig late;
        late.rules.password = "pw";
        late.connectClient();
        late.clock.advanceMs(AccessRules::kLoginLimitMs);
        late.tcp1.arrive("?p=pw\rk=12\r");
        QCOMPARE(late.tcp1.state(), int(RemoteSocket::Closed));
        QVERIFY(late.port.written.isEmpty());
    }

    void silentClientLeaves_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<qint64>("limitMs");
        QTest::addColumn<QString>("status");
        QTest::newRow("no password: idle") << "" << RemoteLink::kIdleLimitMs
                                           << "Connection closed: nothing from 10.0.0.7 for 5 minutes";
        QTest::newRow("password: login deadline") << "pw" << AccessRules::kLoginLimitMs
                                                  << "Connection closed: no password from 10.0.0.7 within 10 s";
    }
    void silentClientLeaves()
    {
        QFETCH(QString, password);
        QFETCH(qint64, limitMs);
        Rig r;
        r.rules.password = password;
        r.connectClient();
        // No tick at all, as while a bank transfer holds the poll.
        r.clock.advanceMs(limitMs / 2);
        if (password.isEmpty())
            r.tcp1.arrive("\r"); // any message restarts the idle time, the empty keep-alive too
        r.clock.advanceMs(limitMs - limitMs / 2 - 1);
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Connected));
        r.clock.advanceMs(password.isEmpty() ? limitMs / 2 + 1 : 1);
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Closed));
        QTEST(r.display.s.TcpstatusBox, "status");
    }

    void guessingShutsTheAddressOut()
    {
        Rig r;
        r.rules.password = "pw";
        for (int i = 1; i <= remote::LoginGuard::kMaxFailures; ++i) {
            r.connectClient();
            r.tcp1.arrive("?p=guess\r");
            r.clock.advanceMs(1000);
        }
        const QString refused = QStringLiteral("Connection refused to 10.0.0.7: too many wrong passwords, wait 10 minutes");
        QCOMPARE(r.display.s.TcpstatusBox, refused);
        QCOMPARE(r.reports.size(), remote::LoginGuard::kMaxFailures + 1);
        QVERIFY(r.reports.first().endsWith(QLatin1String("wrong password from 10.0.0.7")));
        QVERIFY(!r.tcp1.request(QStringLiteral("::ffff:10.0.0.7")));
        QVERIFY(r.reports.last().endsWith(QLatin1String("connection refused to ::ffff:10.0.0.7 after repeated wrong passwords")));
        // Another address still gets in, and the notice stays readable meanwhile.
        QVERIFY(r.tcp1.request(QStringLiteral("10.0.0.8")));
        r.tcp1.arrive("?u=Bob\r");
        r.ticks(1);
        QCOMPARE(r.status(), QString(refused).replace(QLatin1String("10.0.0.7"), QLatin1String("::ffff:10.0.0.7")));
        r.tcp1.close();
        r.clock.advanceMs(remote::LoginGuard::kRefuseMs);
        QVERIFY(r.tcp1.request(QStringLiteral("10.0.0.7")));
    }

    void offlineReceiverReadsClosed_data()
    {
        QTest::addColumn<bool>("offline");
        QTest::addColumn<QByteArray>("sq");
        QTest::newRow("online") << false << QByteArray("sq=t\r");
        QTest::newRow("offline") << true << QByteArray("sq=f\r");
    }
    void offlineReceiverReadsClosed()
    {
        QFETCH(bool, offline);
        Rig r;
        r.connectClient();
        r.display.s.SQopen = r.display.s.IDListen = true;
        r.scanner.setScannerOffline(offline);
        r.ticks(RemoteLink::kForwardEvery);
        QTEST(r.tcp1.sent.value(0), "sq");
        QCOMPARE(r.tcp1.sent.value(1), offline ? QByteArray("isq=f\r") : QByteArray("isq=t\r"));
    }

    void settingsThatCannotBeUsed_data()
    {
        QTest::addColumn<QStringList>("allow");
        QTest::addColumn<QString>("bind");
        QTest::addColumn<QString>("status");
        QTest::newRow("allow entry not an address") << QStringList {"10.0.0.1", "10.0.0.x"} << ""
                                                    << "Not listening: RemoteAllow holds \"10.0.0.x\", which is not an address";
        QTest::newRow("bind not an address") << QStringList {} << "localhost:80"
                                             << "Not listening: RemoteBind \"localhost:80\" is not an address";
        QTest::newRow("no password on every interface")
            << QStringList {} << ""
            << kListening + ". No password is set: anyone who reaches the port can drive the receiver.";
    }
    void settingsThatCannotBeUsed()
    {
        QFETCH(QStringList, allow);
        QFETCH(QString, status);
        Rig r;
        r.rules.allow = allow;
        QFETCH(QString, bind);
        r.rules.bind = bind;
        r.autoListen = true;
        r.ticks(2);
        QCOMPARE(r.status(), status);
        QCOMPARE(r.tcp1.state() == RemoteSocket::Listening, status.startsWith(kListening));
        QCOMPARE(r.remote.openWarning().isEmpty(), !status.startsWith(kListening));
    }

    void listenFailureStaysReadable()
    {
        Rig r;
        r.tcp1.listenError = 10048;
        r.remote.ConnectCmd(QStringLiteral("2000"));
        r.clock.advanceMs(RemoteLink::kNoticeMs - 1);
        r.ticks(1);
        QCOMPARE(r.status(), QStringLiteral("IP Address or Port already in used "));
        r.clock.advanceMs(1);
        r.ticks(1);
        QCOMPARE(r.status(), QStringLiteral("No connection"));
    }

    void floodHandledInTurns()
    {
        Rig r;
        r.connectClient();
        QSignalSpy chat(&r.remote, &RemoteLink::chatReceived);
        r.tcp1.arrive(QByteArray("chat=x\r").repeated(RemoteLink::kMessagesPerTurn * 3));
        // A turn also ends on its time budget, which a loaded machine reaches sooner.
        QVERIFY2(chat.size() >= 1 && chat.size() <= RemoteLink::kMessagesPerTurn, qPrintable(QString::number(chat.size())));
        // Bytes that come while messages wait are taken after them, in order.
        r.tcp1.arrive("chat=last\r");
        QTRY_COMPARE(chat.size(), RemoteLink::kMessagesPerTurn * 3 + 1);
        QCOMPARE(chat.last().first().toString(), QStringLiteral("last"));
    }

    void allowList_data()
    {
        QTest::addColumn<QString>("peer");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("listed") << "10.0.0.1" << true;
        QTest::newRow("listed, IPv4-mapped") << "::ffff:10.0.0.1" << true;
        QTest::newRow("not listed") << "10.0.0.9" << false;
    }
    void allowList()
    {
        QFETCH(QString, peer);
        QFETCH(bool, accepted);
        Rig r;
        r.rules.allow = {"10.0.0.1"};
        r.tcp1.listen();
        QCOMPARE(r.tcp1.request(peer), accepted);
        if (accepted) {
            QCOMPARE(r.tcp1.state(), int(RemoteSocket::Connected));
            return;
        }
        QVERIFY(r.tcp1.sent.isEmpty());
        // Refused without closing the listening socket.
        QCOMPARE(r.tcp1.state(), int(RemoteSocket::Listening));
        QCOMPARE(r.status(), QStringLiteral("Connection refused to 10.0.0.9: not in RemoteAllow"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestRemoteLink)

} // namespace
} // namespace tst_remotelink

#include "tst_remotelink.moc"
