#include "AppFixture.h"
#include "app/RemoteBinder.h"
#include "app/WebBinder.h"
#include "app/ui/MainWindow.h"
#include "remote/ChatSession.h"
#include "web/WebRemoteSetup.h"
#include "web/ui/WebRemote.h"

#include <QAction>
#include <QFile>
#include "TestSuite.h"
#include "monitor/MainDisplay.h"

#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

namespace tst_webbinder {
namespace {

using namespace vexlor;

// The web remote in the whole program: --web starts it, it shows this run's
// display, and a browser's key reaches the receiver.
class TestWebBinder : public QObject, protected testing::AppFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(enterScratchDir()); }
    void cleanup() { leaveScratchDir(); }

    void servesThisRun()
    {
        app::CommandLine options;
        options.web = QStringLiteral("127.0.0.1:0");
        m_app = makeApp(options);
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        app::WebBinder& web = m_app->webBinder();
        QVERIFY2(web.running(), qPrintable(web.error()));
        QCOMPARE(web.url(), QStringLiteral("http://127.0.0.1:%1/").arg(web.port()));

        QStringList got;
        QWebSocket ws;
        QObject::connect(&ws, &QWebSocket::textMessageReceived, [&got](const QString& m) { got << m; });
        QNetworkRequest r(QUrl(QStringLiteral("ws://127.0.0.1:%1/ws").arg(web.port())));
        r.setRawHeader("Origin", QStringLiteral("http://127.0.0.1:%1").arg(web.port()).toLatin1());
        ws.open(r);
        QTRY_COMPARE(got.size(), 1);
        QVERIFY(got[0].contains(R"("control":true)")); // no pass phrase: this computer only, and it controls
        m_app->display().s.FrequencyBox = QStringLiteral("851.2375");
        m_app->display().publish();
        QTRY_COMPARE(got.size(), 2);
        QVERIFY(got[1].contains(R"("frequency":"851.2375")"));

        m_port.clearWritten();
        ws.sendTextMessage(QStringLiteral(R"({"type":"key","key":"SCAN"})"));
        QTRY_VERIFY(m_port.writtenLines().contains(QStringLiteral("KEY00")));

        // The chat goes both ways beside the TCP client's, with nobody on the TCP link.
        remote::ChatSession& chat = m_app->remoteBinder().chat();
        ws.sendTextMessage(QStringLiteral(R"({"type":"chat","text":"anyone there?"})"));
        QTRY_VERIFY(chat.lines().contains(QStringLiteral("<web 127.0.0.1> anyone there?")));
        QVERIFY(chat.ChatCmd());
        const qsizetype before = got.size();
        QCOMPARE(chat.UserBox_Change(QStringLiteral("yes\r")), QString());
        QTRY_COMPARE(got.size(), before + 1);
        QCOMPARE(got.last(), QStringLiteral(R"({"data":{"from":"operator","text":"yes"},"type":"chat"})"));
        QVERIFY(!m_dialogs.texts().contains(QStringLiteral("Connection failed !")));
        QVERIFY(!m_dialogs.texts().contains(QString(remote::ChatSession::kNoConnectionText)));

        m_app->shutDown(false);
        QVERIFY(!web.running());
    }

    // Options > Web Remote turns it on, moves it and turns it off, and keeps the choice.
    void window_data()
    {
        QTest::addColumn<QString>("listen");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("status"); // the start of it
        const QString tls = QStringLiteral(VEXLOR_TLS_DATA "/");
        QTest::newRow("on, this computer") << "127.0.0.1:0" << true << QString() << QString() << "Serving at http://127.0.0.1:";
        QTest::newRow("not an address") << "scanner:8080" << true << QString() << QString() << "\"scanner:8080\" is not a port";
        QTest::newRow("off") << "127.0.0.1:0" << false << QString() << QString() << "Off.";
        QTest::newRow("TLS") << "127.0.0.1:0" << true << tls + "cert.pem" << tls + "key.pem" << "Serving at https://127.0.0.1:";
        // Asked for TLS, it never falls back to plain HTTP.
        QTest::newRow("TLS, another certificate's key") << "127.0.0.1:0" << true << tls + "cert.pem" << tls + "other-key.pem"
                                                        << "The web remote cannot use TLS: The key";
        QTest::newRow("a certificate without its key") << "127.0.0.1:0" << true << tls + "cert.pem" << QString() << "Name both";
    }
    void window()
    {
        QFETCH(QString, listen);
        QFETCH(bool, enabled);
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        m_app->window().action(QStringLiteral("WebRemoteMnu"))->trigger();
        app::WebBinder& web = m_app->webBinder();
        QVERIFY(web.window() && web.window()->isVisible());
        for (const char* name : {"EnabledChk", "ListenBox", "WatchFreeChk", "CertificateBox", "KeyBox", "CertificateBrowseCmd",
                                 "KeyBrowseCmd", "StatusLbl", "ApplyCmd", "CloseCmd"})
            QVERIFY2(web.window()->findChild<QWidget*>(QLatin1String(name)), name);
        web::WebRemoteSetup& setup = web.setup();
        setup.EnabledChk_Click(enabled);
        setup.ListenBox_Change(listen);
        QFETCH(QString, certificate);
        QFETCH(QString, key);
        setup.CertificateBox_Change(certificate);
        setup.KeyBox_Change(key);
        setup.ApplyCmd_Click();
        QFETCH(QString, status);
        QVERIFY2(setup.StatusLbl().startsWith(status), qPrintable(setup.StatusLbl()));
        const bool serving = status.startsWith(QLatin1String("Serving"));
        QCOMPARE(web.running(), serving);
        if (status.startsWith(QLatin1String("\"")) || status.startsWith(QLatin1String("Name both")))
            return; // refused: nothing kept
        QFile ini(QStringLiteral("qorvanix.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray saved = ini.readAll();
        QVERIFY(saved.contains(enabled ? "[WebRemote]=1\r\n" : "[WebRemote]=0\r\n"));
        QVERIFY(saved.contains("[WebListen]=" + listen.toLatin1() + "\r\n"));
        QVERIFY(saved.contains("[WebKey]=" + key.toUtf8() + "\r\n"));
    }
};

VEXLOR_TEST_MAIN(TestWebBinder)

} // namespace
} // namespace tst_webbinder

#include "tst_webbinder.moc"
