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
        client.start(program(), {"127.0.0.1", QString::number(m_tcp1.localPort())});
        QVERIFY(client.waitForFinished(10000));
        QCOMPARE(client.exitCode(), 1);
        QVERIFY(client.readAllStandardError().contains("refused"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestVexlorRemote)

} // namespace
} // namespace tst_vexlorremote

#include "tst_vexlorremote.moc"
