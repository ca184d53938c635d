#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "FakeSocket.h"
#include "link/ScannerLink.h"
#include "monitor/MainDisplay.h"
#include "remote/ChatSession.h"
#include "remote/RemoteLink.h"
#include "TestSuite.h"

#include <QSignalSpy>
#include <QTest>

namespace tst_chatsession {
namespace {

using namespace vexlor;
using remote::ChatSession;

namespace {
struct Rig {
    fakes::FakeClock clock;
    fakes::FakeSerialPort port;
    link::ScannerLink scanner {port, clock};
    monitor::MainDisplay display;
    fakes::FakeSocket tcp1;
    fakes::FakeDialogs dialogs;
    remote::AccessRules rules;
    remote::RemoteLink remote {tcp1, scanner, display, clock, {{}, {}, [this] { return rules; }, {}}};
    ChatSession chat {remote, dialogs};

    void connectClient()
    {
        tcp1.listen();
        QVERIFY(tcp1.request());
        tcp1.sent.clear();
    }
};
} // namespace

class TestChatSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void chatButton_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::newRow("connected: window") << true;
        QTest::newRow("no connection: box, no window") << false;
    }
    void chatButton()
    {
        QFETCH(bool, connected);
        Rig r;
        if (connected)
            r.connectClient();
        QCOMPARE(r.chat.ChatCmd(), connected);
        QCOMPARE(r.dialogs.texts(),
                 connected ? QStringList() : QStringList {"Actually no remote connection, you can't chat !"});
        if (!connected)
            QVERIFY(r.dialogs.messages.first().title.isEmpty());
    }

    void typingWithoutEnterSendsNothing()
    {
        Rig r;
        r.connectClient();
        QCOMPARE(r.chat.UserBox_Change("hel"), QStringLiteral("hel"));
        QVERIFY(r.tcp1.sent.isEmpty());
        QVERIFY(r.chat.RemoteBox().isEmpty());
    }

    void enterSendsTheLine()
    {
        Rig r;
        r.connectClient();
        QSignalSpy changed(&r.chat, &ChatSession::lineAdded);
        QCOMPARE(r.chat.UserBox_Change("hello\r\n"), QString());
        QCOMPARE(r.tcp1.sent, QList<QByteArray> {"chat=hello\r\n"});
        // The line without its last character, as typed.
        QCOMPARE(r.chat.RemoteBox(), QStringLiteral("\r\n<you> hello\r"));
        QCOMPARE(r.chat.lines(), QStringList {"<you> hello"});
        QCOMPARE(changed.size(), 1);
        QVERIFY(r.dialogs.messages.isEmpty());
    }

    void sendWithoutConnectionTells()
    {
        Rig r;
        QCOMPARE(r.chat.UserBox_Change("anyone?\r\n"), QString());
        QCOMPARE(r.dialogs.texts(), QStringList {"Connection failed !"});
        QCOMPARE(r.chat.lines(), QStringList {"<you> anyone?"});
    }

    void remoteLineShowsTheWindow()
    {
        Rig r;
        r.connectClient();
        QSignalSpy show(&r.chat, &ChatSession::showRequested);
        r.chat.UserBox_Change("hi\r\n");
        // A line feed inside a remote line cannot start a line that looks like the operator's.
        r.tcp1.arrive("chat=hello operator\r\nchat=x\n<you> forged\r");
        QCOMPARE(r.chat.RemoteBox(), QStringLiteral("\r\n<you> hi\r\r\n<remote> hello operator\r\n<remote> x <you> forged"));
        QCOMPARE(r.chat.lines(), (QStringList {"<you> hi", "<remote> hello operator", "<remote> x <you> forged"}));
        // Once for the arrival, not once per line.
        QTRY_COMPARE(show.size(), 1);
        QTest::qWait(20);
        QCOMPARE(show.size(), 1);
    }

    void nothingToAClientWithoutThePassword()
    {
        Rig r;
        r.rules.password = QStringLiteral("pw");
        r.connectClient();
        r.chat.UserBox_Change("secret plans\r\n");
        QVERIFY(r.tcp1.sent.isEmpty());
        QCOMPARE(r.dialogs.texts(), QStringList {ChatSession::kNotLoggedInText});
        r.tcp1.arrive("?p=pw\r");
        r.chat.UserBox_Change("welcome\r\n");
        QCOMPARE(r.tcp1.sent, QList<QByteArray> {"chat=welcome\r\n"});
    }

    void transcriptIsBounded()
    {
        Rig r;
        r.connectClient();
        QByteArray flood;
        for (int i = 0; i < ChatSession::kMaxLines + 50; ++i)
            flood += "chat=line " + QByteArray::number(i) + '\r';
        r.tcp1.arrive(flood);
        QTRY_VERIFY(r.remote.waitingMessages() == 0);
        const QStringList lines = r.chat.lines();
        QCOMPARE(lines.size(), ChatSession::kMaxLines);
        QCOMPARE(lines.first(), QStringLiteral("<remote> line 50"));
        QCOMPARE(lines.last(), QStringLiteral("<remote> line %1").arg(ChatSession::kMaxLines + 49));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestChatSession)

} // namespace
} // namespace tst_chatsession

#include "tst_chatsession.moc"
