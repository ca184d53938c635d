#include "app/config/IniFile.h"
#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "link/ScannerLink.h"
#include "monitor/MainDisplay.h"
#include "platform/qt/QtRemoteSocket.h"
#include "remote/RemoteLink.h"
#include "TestSuite.h"
#include "WaitFor.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace tst_vexlorremote {
namespace {

using namespace vexlor;
using platform::RemoteSocket;

namespace {
using testing::waitFor;
} // namespace

// The vexlor-remote program against a link on 127.0.0.1.
class TestVexlorRemote : public QObject {
    Q_OBJECT
    fakes::FakeClock m_clock;
    fakes::FakeSerialPort m_port;
    link::ScannerLink m_scanner {m_port, m_clock};
    monitor::MainDisplay m_display;
    platform::QtRemoteSocket m_tcp1;
    remote::AccessRules m_rules;
    remote::RemoteLink m_remote {m_tcp1, m_scanner, m_display, m_clock, {{}, {}, [this] { return m_rules; }, {}}};

    QString program() const { return qEnvironmentVariable("VEXLOR_BIN_DIR") + QStringLiteral("/vexlor-remote"); }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            m_remote.forwardTick();
            m_remote.statusUpkeep();
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_port.open();
        m_rules.bind = QStringLiteral("127.0.0.1");
        m_rules.password = QStringLiteral("pw");
        QVERIFY2(QFile::exists(program()), qPrintable(program()));
    }

    void init()
    {
        m_remote.CloseTCPmnu(); // whatever a failed test left
        m_rules.bind = QStringLiteral("127.0.0.1");
        m_rules.password = QStringLiteral("pw");
    }

    void followsAndSends()
    {
        m_remote.ConnectCmd(QStringLiteral("0"));
        QCOMPARE(m_tcp1.state(), int(RemoteSocket::Listening));
        QProcess client;
        client.start(program(), {"127.0.0.1", QString::number(m_tcp1.localPort()), "--user", "Ann", "--password", "pw"});
        QVERIFY(client.waitForStarted());
        QVERIFY(waitFor([&] { return m_remote.authorised() && m_remote.userName() == QLatin1String("Ann"); }));

        m_display.s.FrequencyBox = "851.0125";
        m_display.s.SQopen = true;
        ticks(8);
        QVERIFY(waitFor([&] { return client.canReadLine(); }));
        QCOMPARE(client.readLine().trimmed(), QByteArray("851.0125 squelch open ID - | ch | tg"));
        ticks(8); // unchanged: nothing printed
        m_display.s.SQopen = false;
        ticks(8);
        QVERIFY(waitFor([&] { return client.canReadLine(); }));
        QCOMPARE(client.readLine().trimmed(), QByteArray("851.0125 squelch closed ID - | ch | tg"));

        m_port.clearWritten();
        client.write("k=12\n");
        QVERIFY(waitFor([&] { return m_port.written.contains("KEY12\r"); }));
        QCOMPARE(m_port.written, QByteArray("KEY12\r"));

        m_remote.TCPConnectOnCmd();
        QVERIFY(client.waitForFinished(10000));
        QCOMPARE(client.exitCode(), 0);
    }

    void refusedConnectionFails()
    {
        m_remote.CloseTCPmnu();
        QProcess client;
        client.start(program(), {"127.0.0.1", QString::number(m_tcp1.localPort()), "--wait", "0"});
        QVERIFY(client.waitForFinished(10000));
        QCOMPARE(client.exitCode(), 1);
        QVERIFY(client.readAllStandardError().contains("refused"));
    }

    // A client that holds the link without the password keeps vexlor-remote waiting, not out.
    void waitsWhileTheLinkIsHeld()
    {
        m_remote.ConnectCmd(QStringLiteral("0"));
        const quint16 port = m_tcp1.localPort();
        QTcpSocket holder;
        holder.bind(QHostAddress(QStringLiteral("127.0.0.2")));
        holder.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(waitFor([&] { return m_tcp1.state() == RemoteSocket::Connected; }));
        QProcess client;
        client.start(program(), {"127.0.0.1", QString::number(port), "--user", "Ann", "--password", "pw", "--wait", "20"});
        QVERIFY(client.waitForStarted());
        QByteArray said;
        QVERIFY(waitFor([&] { return (said += client.readAllStandardError()).contains("trying again"); }));
        m_clock.advanceMs(remote::AccessRules::kLoginLimitMs);
        QCOMPARE(m_tcp1.state(), int(RemoteSocket::Closed));
        m_remote.ConnectCmd(QString::number(port));
        QVERIFY(waitFor([&] { return m_remote.authorised() && m_remote.userName() == QLatin1String("Ann"); }));
        m_remote.TCPConnectOnCmd();
        QVERIFY(client.waitForFinished(10000));
    }

    // A pass phrase with accents, from qorvanix.ini to the link and from vexlor-remote's
    // command line to the link.
    void accentedPassPhrase_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("UTF-8, as an editor writes it") << QStringLiteral("\u017b\u00f3\u0142w ros\u00e9 = l'\u00e9t\u00e9") << true;
        QTest::newRow("single-byte, from an older Vexlor") << QStringLiteral("\u00c9l\u00e9phant ros\u00e9") << false;
    }
    void accentedPassPhrase()
    {
        QFETCH(QString, phrase);
        QFETCH(bool, utf8);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("qorvanix.ini"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const auto encoded = [utf8](const QString& text) { return utf8 ? text.toUtf8() : text.toLatin1(); };
        // The original keys stay single-byte text, whatever their bytes.
        const QByteArray name8 = "\r\n[UserName]=" + encoded(QStringLiteral("Zo\u00e9")) + "\r\n";
        file.write(name8.mid(2) + "[RemotePassword]=" + encoded(phrase) + "\r\n[RemoteBind]=127.0.0.1\r\n");
        file.close();
        app::IniFile ini;
        ini.setIniFileName(name);
        QVERIFY(ini.LoadINI());
        QVERIFY(ini.SaveINI()); // as every exit does
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QVERIFY(saved.contains(name8));
        QVERIFY(saved.contains("\r\n[RemotePassword]=" + phrase.toUtf8() + "\r\n"));
        app::IniFile again;
        again.setIniFileName(name);
        QVERIFY(again.LoadINI());
        m_rules = remote::AccessRules::fromSettings(again.RemotePassword(), again.RemoteAllow(), again.RemoteBind());

        m_remote.ConnectCmd(QStringLiteral("0"));
        QProcess client;
        client.start(program(), {"127.0.0.1", QString::number(m_tcp1.localPort()), "--password", phrase});
        QVERIFY(client.waitForStarted());
        QVERIFY(waitFor([&] { return m_remote.authorised() || client.state() == QProcess::NotRunning; }));
        QVERIFY(m_remote.authorised());
        m_remote.TCPConnectOnCmd();
        QVERIFY(client.waitForFinished(10000));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestVexlorRemote)

} // namespace
} // namespace tst_vexlorremote

#include "tst_vexlorremote.moc"
