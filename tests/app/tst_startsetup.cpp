#include "app/config/StartSetup.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "TestSuite.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace tst_startsetup {
namespace {

using vexlor::app::IniFile;
using vexlor::app::StartOutcome;
using vexlor::app::StartSetup;
using vexlor::fakes::FakeDialogs;
using vexlor::fakes::FakeSerialPort;
using vexlor::recording::LogFlags;

class TestStartSetup : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    IniFile m_ini;
    FakeSerialPort m_port;
    FakeDialogs m_dialogs;
    double m_timeout = 3;
    LogFlags m_flags;

    StartSetup setup()
    {
        return StartSetup(m_ini, m_port, m_dialogs,
                          {[this] { return m_timeout; }, [this] { return m_flags; }});
    }
    QByteArray savedFile()
    {
        QFile f(m_ini.IniFileName());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_ini = IniFile();
        m_ini.setIniFileName(m_dir.filePath("qorvanix.ini"));
        QFile::remove(m_ini.IniFileName());
        m_dialogs.messages.clear();
        m_timeout = 3;
        m_flags = LogFlags();
        m_port.close();
    }

    void items()
    {
        const QStringList ports = StartSetup::portItems({"/dev/ttyUSB0", "", "/dev/ttyACM1"});
        QCOMPARE(ports.size(), 14);
        QCOMPARE(ports.first(), QStringLiteral("Com 1"));
        QCOMPARE(ports[11], QStringLiteral("Com 12"));
        QCOMPARE(ports.mid(12), (QStringList {"/dev/ttyUSB0", "/dev/ttyACM1"}));
        QCOMPARE(StartSetup::speedItems(),
                 (QStringList {"  2400 bds", "  4800 bds", "  9600 bds", "19200 bds"}));
        QCOMPARE(StartSetup::messageText().split('\n').size(), 6);
    }

    void load_data()
    {
        QTest::addColumn<QString>("userName");
        QTest::addColumn<QString>("portName");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("nameText");
        QTest::addColumn<QString>("portText");
        QTest::addColumn<QString>("speedText");
        QTest::newRow("number") << "  Ann " << "3" << "4800,n,8,1" << "Ann" << "Comm 3" << "4800 bds";
        QTest::newRow("device") << "" << "/dev/ttyUSB0" << "19200,n,8,1" << "" << "/dev/ttyUSB0" << "19200 bds";
    }
    void load()
    {
        QFETCH(QString, userName);
        QFETCH(QString, portName);
        QFETCH(QString, settings);
        m_ini.setUserName(userName);
        m_port.setPortName(portName);
        QVERIFY(m_port.setSettings(settings));
        const StartSetup::Texts t = setup().load();
        QTEST(t.userName, "nameText");
        QTEST(t.port, "portText");
        QTEST(t.speed, "speedText");
    }

    void okPort_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Com 1") << "Com 1" << "1";
        QTest::newRow("Com 10") << "Com 10" << "10";
        QTest::newRow("Com 11") << "Com 11" << "11";
        QTest::newRow("Com 12") << "Com 12" << "12";
        QTest::newRow("pre-set text") << "Comm 3" << "3";
        QTest::newRow("leading zero") << "Com 07" << "7";
        QTest::newRow("device path") << "/dev/ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("pre-set device path") << "Comm /dev/ttyUSB1" << "/dev/ttyUSB1";
        QTest::newRow("no number keeps the port") << "Com x" << "5";
        QTest::newRow("empty keeps the port") << "" << "5";
    }
    void okPort()
    {
        QFETCH(QString, text);
        m_ini.setComPort("5");
        StartSetup s = setup();
        QVERIFY(s.ok({"Ann", text, "  9600 bds"}));
        QTEST(m_ini.ComPort(), "stored");
        IniFile reread;
        reread.setIniFileName(m_ini.IniFileName());
        QVERIFY(reread.LoadINI());
        QTEST(reread.ComPort(), "stored");
    }

    void okSpeed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("settings");
        QTest::newRow("2400") << "  2400 bds" << "2400,n,8,1";
        QTest::newRow("4800") << "  4800 bds" << "4800,n,8,1";
        QTest::newRow("9600") << "  9600 bds" << "9600,n,8,1";
        QTest::newRow("19200") << "19200 bds" << "19200,n,8,1";
        QTest::newRow("pre-set text") << "4800 bds" << "4800,n,8,1";
        QTest::newRow("unknown speed keeps") << "38400 bds" << "1200,e,7,1";
        QTest::newRow("not a number keeps") << "fast" << "1200,e,7,1";
    }
    void okSpeed()
    {
        QFETCH(QString, text);
        m_ini.setComSettings("1200,e,7,1");
        QVERIFY(setup().ok({"", "Com 1", text}));
        QTEST(m_ini.ComSettings(), "settings");
    }

    void okSavesFileAndTells()
    {
        m_ini.setLogFileNameVal("night");
        m_ini.setAutoListenTCP(" 1");
        m_timeout = 7;
        m_flags = LogFlags::fromLogWhat("1");
        QVERIFY(setup().ok({"  Zed  ", "Com 12", "19200 bds"}));

        QCOMPARE(m_ini.UserName(), QStringLiteral("Zed"));
        const QByteArray file = savedFile();
        QVERIFY(file.startsWith("[! Vexlor Ini file ]\r\n"));
        QVERIFY(file.endsWith("\r\n\r\n[UserName]=Zed\r\n"
                              "[comm port]=12\r\n"
                              "[comm speed]=19200,n,8,1\r\n"
                              "[Logging File]=night\r\n"
                              "[Log What]=100000000\r\n"
                              "[AutoListenTCP]= 1\r\n"
                              "[SerialPortTimeout]=7\r\n"
                              "[RemotePassword]=\r\n"
                              "[RemoteAllow]=\r\n"
                              "[RemoteBind]=\r\n"
                              "[WebSite]=\r\n[MailAddress]=\r\n[MailingListPage]=\r\n[MailingListPost]=\r\n"
                              "[MailingListSubscribe]=\r\n[MailingListUnsubscribe]=\r\n[ScannerPage]=\r\n[WindowPlaces]=\r\n"
                              "[WebRemote]=\r\n[WebListen]=\r\n[WebWatchFree]=\r\n[WebCertificate]=\r\n[WebKey]=\r\n"
              "[Recording]=\r\n[RecordingInput]=\r\n[RecordingFormat]=\r\n[RecordingWhat]=\r\n[RecordingMarked]=\r\n"
              "[RecordingMinimumMs]=\r\n[RecordingHangMs]=\r\n[RecordingLimitGB]=\r\n[RecordingLimitDays]=\r\n"));
        QCOMPARE(m_dialogs.messages.size(), 1);
        const auto& m = m_dialogs.messages.first();
        QCOMPARE(m.text, QStringLiteral("The new configuration has been saved.  Please Restart."));
        QVERIFY(m.title.isEmpty());
        QCOMPARE(m.buttons, vexlor::platform::Dialogs::Buttons::Ok);
    }

    void okFailedSaveChangesNothing()
    {
        m_ini.setIniFileName(m_dir.filePath("missing/qorvanix.ini"));
        m_ini.setUserName("Old");
        QVERIFY(!setup().ok({"New", "Com 2", "  2400 bds"}));
        QCOMPARE(m_ini.UserName(), QStringLiteral("Old"));
        QCOMPARE(m_ini.ComPort(), QStringLiteral("1"));
        QCOMPARE(m_dialogs.messages.size(), 1);
        QVERIFY(m_dialogs.messages.first().text != QStringLiteral("The new configuration has been saved.  Please Restart."));
        QVERIFY(!m_dialogs.messages.first().informative.isEmpty());
    }

    void cancel_data()
    {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<StartOutcome>("outcome");
        QTest::newRow("port open goes on") << true << StartOutcome::Cancelled;
        QTest::newRow("port closed ends") << false << StartOutcome::EndNow;
    }
    void cancel()
    {
        QFETCH(bool, portOpen);
        if (portOpen)
            QVERIFY(m_port.open());
        QTEST(setup().cancel(), "outcome");
        QVERIFY(!QFile::exists(m_ini.IniFileName()));
        QVERIFY(m_dialogs.messages.isEmpty());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestStartSetup)

} // namespace
} // namespace tst_startsetup

#include "tst_startsetup.moc"
