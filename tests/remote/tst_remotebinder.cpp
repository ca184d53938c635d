#include "app/Application.h"
#include "app/ui/MainWindow.h"
#include "AppFixture.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "FakeShell.h"
#include "TestSuite.h"
#include "WaitFor.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <time.h>

namespace tst_remotebinder {
namespace {

using namespace vexlor;
using app::Application;

namespace {
using testing::waitFor;

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}
} // namespace

// The remote link in the whole program over fakes, the socket on 127.0.0.1.
class TestRemoteBinder : public QObject, protected testing::AppFixture {
    Q_OBJECT


    app::MainWindow& w() { return m_app->window(); }
    QString status() { return w().control<QLineEdit>("TcpstatusBox")->text(); }
    QDialog* window(const char* name) { return w().findChild<QDialog*>(QString::fromLatin1(name)); }

    // Listening through the TCPConnection window on a free port.
    quint16 listenFromWindow()
    {
        w().action("ListenTCPmnu")->trigger();
        QDialog* tcp = window("TCPConnection");
        if (!tcp || !tcp->isVisible())
            return 0;
        const quint16 port = freePort();
        tcp->findChild<QLineEdit*>("PortBox")->setText(QString::number(port));
        tcp->findChild<QPushButton*>("ConnectCmd")->click();
        return tcp->isVisible() ? 0 : port;
    }
    bool connectClient(QTcpSocket& c, quint16 port, QByteArray& got)
    {
        connect(&c, &QTcpSocket::readyRead, this, [&] { got += c.readAll(); });
        c.connectToHost(QHostAddress::LocalHost, port);
        return waitFor([&] { return got == "?u\r?p\r"; });
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(enterScratchDir());
        QFile ini("qorvanix.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[RemoteBind]=127.0.0.1\r\n");
        ini.close();
        m_port.close();
        m_app = makeApp();
        QVERIFY(m_app->startUp());
        m_app->poll().MainTimer().stop(); // the test gives the ticks
    }
    void cleanup()
    {
        leaveScratchDir();
    }

    void menuEnabled()
    {
        for (const char* name : {"TCPremote", "AutoListenOnTCP", "ListenTCPmnu", "CloseTCPmnu"})
            QVERIFY2(w().action(name) && w().action(name)->isEnabled(), name);
        m_app->poll().tick();
        QCOMPARE(status(), QStringLiteral("No connection"));
    }

    void listenWindow()
    {
        w().action("ListenTCPmnu")->trigger();
        QDialog* tcp = window("TCPConnection");
        QVERIFY(tcp && tcp->isVisible());
        QCOMPARE(tcp->windowTitle(), QStringLiteral("TCP/IP Remote"));
        QCOMPARE(tcp->findChild<QLineEdit*>("PortBox")->text(), QStringLiteral("1025"));
        tcp->findChild<QPushButton*>("CancelCmd")->click();
        QVERIFY(!tcp->isVisible());
        QCOMPARE(status(), QString()); // nothing tried
        QVERIFY(tcp->findChild<QLabel*>("OpenWarningLbl")->isHidden());
        // The image opens the same window, reused; now it warns of settings that let anyone in.
        m_app->INIObj().setRemoteBind(QString());
        w().control<QAbstractButton>("TCPConnectionCmd")->click();
        QCOMPARE(window("TCPConnection"), tcp);
        QVERIFY(tcp->isVisible());
        auto* warning = tcp->findChild<QLabel*>("OpenWarningLbl");
        QVERIFY(warning->isVisible());
        QVERIFY(warning->text().contains(QLatin1String("anyone who reaches the port can drive the receiver")));
        // Every wrapped line of it shows.
        QTRY_VERIFY2(warning->height() >= warning->heightForWidth(warning->width()),
                     qPrintable(QStringLiteral("%1 < %2").arg(warning->height()).arg(warning->heightForWidth(warning->width()))));
    }

    void clientServedAndClosed()
    {
        const quint16 port = listenFromWindow();
        QVERIFY(port);
        QCOMPARE(status(), QStringLiteral("Application now listen to remote user"));
        QTcpSocket c;
        QByteArray got;
        QVERIFY(connectClient(c, port, got));
        m_app->poll().tick();
        QCOMPARE(status(), QStringLiteral("User :  ( 127.0.0.1 )"));
        QVERIFY(w().control<QWidget>("TCPConnectionCmd")->isHidden());
        QVERIFY(!w().control<QWidget>("TCPConnectOnCmd")->isHidden());

        m_port.clearWritten();
        c.write("k=12\r");
        QVERIFY(waitFor([&] { return m_port.written.contains("KEY12\r"); }));

        w().control<QAbstractButton>("TCPConnectOnCmd")->click();
        QCOMPARE(status(), QStringLiteral("Connection closed by you!"));
        QVERIFY(waitFor([&] { return c.state() == QAbstractSocket::UnconnectedState; }));
        QVERIFY(!w().control<QWidget>("TCPConnectionCmd")->isHidden());
    }

    void chat()
    {
        w().control<QAbstractButton>("ChatCmd")->click();
        QCOMPARE(m_dialogs.texts(), QStringList {"Actually no remote connection, you can't chat !"});
        QVERIFY(!window("Chat"));

        const quint16 port = listenFromWindow();
        QVERIFY(port);
        QTcpSocket c;
        QByteArray got;
        QVERIFY(connectClient(c, port, got));
        c.write("chat=hello operator\r");
        QVERIFY(waitFor([&] { return window("Chat") && window("Chat")->isVisible(); }));
        QDialog* chat = window("Chat");
        QCOMPARE(chat->windowTitle(), QStringLiteral("Chat with remote"));
        QCOMPARE(chat->findChild<QPlainTextEdit*>("RemoteBox")->toPlainText(), QStringLiteral("<remote> hello operator"));

        got.clear();
        auto* box = chat->findChild<QLineEdit*>("UserBox");
        QTest::keyClicks(box, "hi there");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QString());
        QVERIFY(waitFor([&] { return got == "chat=hi there\r\n"; }));
        QCOMPARE(chat->findChild<QPlainTextEdit*>("RemoteBox")->toPlainText(),
                 QStringLiteral("<remote> hello operator\n<you> hi there"));
        // Closed, then opened again by the button while connected.
        chat->close();
        w().control<QAbstractButton>("ChatCmd")->click();
        QVERIFY(chat->isVisible());
    }

    void chatFloodKeepsThePollGoing()
    {
        const quint16 port = listenFromWindow();
        QVERIFY(port);
        QTcpSocket c;
        QByteArray got;
        QVERIFY(connectClient(c, port, got));
        QByteArray flood;
        while (flood.size() < (1 << 20))
            flood += "chat=" + QByteArray(200, 'x') + '\r';
        flood += "chat=last\r";

        // The work done between two ticks, in this thread's CPU time, so that a
        // busy machine slowing everything down does not count as a stall.
        const auto cpuMs = [] {
            timespec t {};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
            return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
        };
        qint64 first = -1, last = -1, worst = 0;
        int ticks = 0;
        QTimer& poll = m_app->poll().MainTimer();
        const auto watch = connect(&poll, &QTimer::timeout, this, [&] {
            const qint64 now = cpuMs();
            if (last >= 0)
                worst = qMax(worst, now - last);
            else
                first = now;
            last = now;
            ++ticks;
        });
        poll.start();
        c.write(flood);
        const bool done = waitFor([this] {
            QDialog* chat = window("Chat");
            auto* box = chat ? chat->findChild<QPlainTextEdit*>("RemoteBox") : nullptr;
            return box && box->toPlainText().endsWith(QLatin1String("\n<remote> last"));
        }, 120000);
        disconnect(watch);
        QVERIFY(done);
        // A tick is due every 50 ms. The flood may hold the ticks up to one per
        // 100 ms of work on average; a loaded machine may let a few turns run
        // between two ticks, but never anything near a stall.
        const QString seen = QStringLiteral("%1 ticks in %2 ms of work, at most %3 ms between two")
                                 .arg(ticks)
                                 .arg(last - first)
                                 .arg(worst);
        QVERIFY2(ticks >= (last - first) / 100, qPrintable(seen));
        QVERIFY2(worst <= 500, qPrintable(seen));
    }

    void autoListenSavedAtShutDown()
    {
        QAction* a = w().action("AutoListenOnTCP");
        QVERIFY(!a->isChecked());
        a->trigger();
        QVERIFY(a->isChecked());
        QVERIFY(m_app->autoListen());
        w().action("CloseTCPmnu")->trigger();
        QVERIFY(!a->isChecked());
        a->trigger();
        m_app->shutDown(false);
        QFile ini("qorvanix.ini");
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray saved = ini.readAll();
        QVERIFY(saved.contains("[AutoListenTCP]=1\r\n"));
        QVERIFY(saved.contains("[RemoteBind]=127.0.0.1\r\n"));
    }
};

VEXLOR_TEST_MAIN(TestRemoteBinder)

} // namespace
} // namespace tst_remotebinder

#include "tst_remotebinder.moc"
