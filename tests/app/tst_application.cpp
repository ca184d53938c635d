#include "app/Application.h"
#include "app/ui/MainWindow.h"
#include "AppFixture.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "FakeShell.h"
#include "TestSuite.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace tst_application {
namespace {

using namespace vexlor;
using app::Application;
using app::StartOutcome;
using fakes::FakeClock;
using fakes::FakeDialogs;
using fakes::FakeSerialPort;
using fakes::FakeShell;
using platform::Dialogs;

namespace {
const QByteArray kIniHeader = "[! Vexlor Ini file ]\r\n\r\n";

QByteArray readFile(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
} // namespace

// The program's start-up and shut-down over fakes, in a scratch working directory.
class TestApplication : public QObject, protected testing::AppFixture {
    Q_OBJECT
    int m_exits = 0;
    int m_starts = 0;
    StartOutcome m_startAnswer = StartOutcome::ClosedByFrame;

    std::unique_ptr<Application> make(const app::CommandLine& options = {})
    {
        auto a = makeApp(options);
        a->exitProgram = [this] { ++m_exits; };
        a->runStart = [this](app::StartSetup&) {
            ++m_starts;
            return m_startAnswer;
        };
        return a;
    }
    void writeIni(const QByteArray& lines) { writeFile(QStringLiteral("qorvanix.ini"), kIniHeader + lines); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(enterScratchDir());
        m_port.close();
        m_port.failOpenWith(QString());
        m_port.clearWritten();
        m_exits = m_starts = 0;
        m_startAnswer = StartOutcome::ClosedByFrame;
    }
    void cleanup() { leaveScratchDir(); }

    void freshStart()
    {
        auto a = make();
        QVERIFY(a->startUp());
        QCOMPARE(m_dialogs.texts(), QStringList {".INI File Not Found, Default settings are used"});
        QCOMPARE(m_dialogs.messages.first().title, QString());
        QCOMPARE(a->window().windowTitle(), QStringLiteral("Vexlor - V 2.4.3 (10/23/2001)"));
        QVERIFY(QFile::exists("2001-10-23_1405.log"));
        QCOMPARE(a->INIObj().LogFileNameVal(), QStringLiteral("2001-10-23_1405"));
        QVERIFY(QFile::exists("bank.dat"));
        QVERIFY(QFile::exists("idbank.dat"));
        QCOMPARE(m_port.portName(), QStringLiteral("1"));
        QCOMPARE(m_port.settings(), QStringLiteral("9600,n,8,1"));
        QVERIFY(m_port.isOpen());
        QVERIFY(a->poll().MainTimer().isActive());
        QCOMPARE(a->link().SerialPortTimeout(), 3.0);
        const QStringList lines = m_port.writtenLines();
        QCOMPARE(lines.size(), 27);
        QCOMPARE(lines.first(), QStringLiteral("QUN"));
        QCOMPARE(lines.last(), QStringLiteral("PC J"));
        QVERIFY(!QFile::exists("qorvanix.ini")); // written at shut-down, not before
        // Every menu item works, except the two kept for their place in the menu.
        QStringList greyed;
        for (const QAction* item : a->window().menuBar()->findChildren<QAction*>()) {
            if (!item->isSeparator() && !item->objectName().isEmpty() && !item->isEnabled())
                greyed << item->objectName();
        }
        greyed.sort();
        QCOMPARE(greyed, (QStringList {"StatisticsLog", "Upgrade"}));
    }

    void configurationApplied()
    {
        writeIni("[comm port]=/dev/ttyUSB0\r\n[comm speed]=19200,n,8,1\r\n[Log What]=1\r\n"
                 "[AutoListenTCP]=1\r\n[SerialPortTimeout]=5 seconds\r\n[Logging File]=night\r\n");
        writeFile("night.log", "earlier\r\n");
        auto a = make();
        QVERIFY(a->startUp());
        QVERIFY(m_dialogs.messages.isEmpty());
        QCOMPARE(m_port.portName(), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(m_port.settings(), QStringLiteral("19200,n,8,1"));
        QCOMPARE(a->logFlags().toLogWhat(), QStringLiteral("100000000"));
        QVERIFY(a->window().action("AutoListenOnTCP")->isChecked());
        QVERIFY(a->window().action("LogOnOFF")->isChecked());
        QCOMPARE(a->link().SerialPortTimeout(), 5.0);
        QVERIFY(a->activityLog().isOpen());
        a->activityLog().writeLine("now");
        QCOMPARE(readFile("night.log"), QByteArray("earlier\r\nnow\r\n"));
    }

    void blankLogNameIsAutomatic()
    {
        writeIni("[Logging File]=   \r\n");
        auto a = make();
        QVERIFY(a->startUp());
        QVERIFY(QFile::exists("2001-10-23_1405.log"));
    }

    // The order of start-up, seen from the moment the port fails.
    void portFailure_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("set-up ended the program") << int(StartOutcome::EndNow) << false;
        QTest::newRow("set-up closed by its frame") << int(StartOutcome::ClosedByFrame) << true;
    }
    void portFailure()
    {
        QFETCH(int, answer);
        QFETCH(bool, goesOn);
        writeIni("[comm port]=4\r\n");
        m_port.failOpenWith(QStringLiteral("Permission denied"));
        m_startAnswer = StartOutcome(answer);
        bool checkedOrder = false;
        std::unique_ptr<Application> a = make();
        m_dialogs.onMessage = [&](const Dialogs::Message& m) {
            if (m.text != QLatin1String("Comm port Error!"))
                return;
            QVERIFY(QFile::exists("2001-10-23_1405.log"));
            QVERIFY(QFile::exists("bank.dat"));
            QVERIFY(QFile::exists("idbank.dat"));
            QCOMPARE(m_port.portName(), QStringLiteral("4"));
            QVERIFY(!a->poll().MainTimer().isActive());
            QCOMPARE(m_starts, 0);
            checkedOrder = true;
        };
        QCOMPARE(a->startUp(), goesOn);
        QVERIFY(checkedOrder);
        QCOMPARE(m_starts, 1);
        const Dialogs::Message& m = m_dialogs.messages.last();
        QCOMPARE(m.title, QString());
        QVERIFY(m.informative.startsWith("Permission denied"));
        QVERIFY(m.informative.contains("dialout"));
        QCOMPARE(a->poll().MainTimer().isActive(), goesOn);
        QVERIFY(m_port.written.isEmpty());
        if (!goesOn) {
            QVERIFY(a->finished());
            a->shutDown(true); // the window closing afterwards changes nothing
            QCOMPARE(m_dialogs.messages.size(), 1);
            QVERIFY(!QFile::exists("qorvanix.ini") || !readFile("qorvanix.ini").contains("[Log What]"));
        }
    }

    void shutDown_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes sends KEY04H") << true;
        QTest::newRow("No sends nothing") << false;
    }
    void shutDown()
    {
        QFETCH(bool, yes);
        writeIni("[UserName]=Night Owl\r\n[comm port]=2\r\n[Log What]=110\r\n[AutoListenTCP]=0\r\n[SerialPortTimeout]=4\r\n");
        auto a = make();
        QVERIFY(a->startUp());
        m_port.clearWritten();
        m_dialogs.answers.push_back(yes ? Dialogs::Button::Yes : Dialogs::Button::No);
        a->logFlags().IDNameVal = 1;
        a->window().close();
        QCOMPARE(m_dialogs.messages.size(), 1);
        const Dialogs::Message& q = m_dialogs.messages.first();
        QCOMPARE(q.text, QStringLiteral("Do you want to REMOTE OFF your BC245xlt ?"));
        QCOMPARE(q.title, QStringLiteral("Question"));
        QCOMPARE(int(q.buttons), int(Dialogs::Buttons::YesNo));
        QCOMPARE(int(q.icon), int(Dialogs::Icon::None));
        QCOMPARE(m_port.written, yes ? QByteArray("KEY04H\r") : QByteArray());
        QVERIFY(!m_port.isOpen());
        QVERIFY(!a->activityLog().isOpen());
        QVERIFY(!a->poll().MainTimer().isActive());
        QCOMPARE(m_exits, 1);
        const QByteArray ini = readFile("qorvanix.ini");
        QVERIFY(ini.contains("[UserName]=Night Owl\r\n"));
        QVERIFY(ini.contains("[comm port]=2\r\n"));
        QVERIFY(ini.contains("[comm speed]=9600,n,8,1\r\n"));
        QVERIFY(ini.contains("[Logging File]=2001-10-23_1405\r\n"));
        QVERIFY(ini.contains("[Log What]=110000001\r\n"));
        QVERIFY(ini.contains("[AutoListenTCP]=0\r\n"));
        QVERIFY(ini.contains("[SerialPortTimeout]= 4\r\n"));
        a->shutDown(true); // only once
        QCOMPARE(m_dialogs.messages.size(), 1);
    }

    void portOverrideIsNotSaved()
    {
        writeIni("[comm port]=3\r\n");
        app::CommandLine options;
        options.port = QStringLiteral("/dev/ttyUSB1");
        auto a = make(options);
        QVERIFY(a->startUp());
        QCOMPARE(m_port.portName(), QStringLiteral("/dev/ttyUSB1"));
        a->shutDown(false);
        QVERIFY(readFile("qorvanix.ini").contains("[comm port]=3\r\n"));
    }

    // The set-up window shows a port given for this run; its OK stores it only when the operator picks it.
    void setupKeepsPortForThisRun_data()
    {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("shown and left") << QString() << QByteArray("[comm port]=3\r\n");
        QTest::newRow("picked") << "Com 2" << QByteArray("[comm port]=2\r\n");
    }
    void setupKeepsPortForThisRun()
    {
        QFETCH(QString, picked);
        writeIni("[comm port]=3\r\n");
        app::CommandLine options;
        options.port = QStringLiteral("/dev/pts/7");
        auto a = make(options);
        QString shown;
        a->runStart = [&](app::StartSetup& setup) {
            app::StartSetup::Texts t = setup.load();
            shown = t.port;
            if (!picked.isEmpty())
                t.port = picked;
            return setup.ok(t) ? StartOutcome::EndNow : StartOutcome::Cancelled;
        };
        QVERIFY(a->startUp());
        a->window().action("Config")->trigger();
        QCOMPARE(shown, QStringLiteral("/dev/pts/7"));
        QFETCH(QByteArray, stored);
        QVERIFY2(readFile("qorvanix.ini").contains(stored), stored.constData());
    }

    // The hidden "Status" box switches the poll's status requests.
    void statusBoxSwitchesRequests_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("unchecked") << false << QStringList();
        QTest::newRow("checked again") << true << QStringList {"WI", "MD", "DL", "SB", "MA", "LO"};
    }
    void statusBoxSwitchesRequests()
    {
        QFETCH(bool, checked);
        writeIni("");
        auto a = make();
        QVERIFY(a->startUp());
        a->poll().MainTimer().stop();
        auto* box = a->window().control<QCheckBox>("StatusChk");
        box->setChecked(false);
        box->setChecked(checked);
        m_port.clearWritten();
        a->poll().tick();
        QTEST(m_port.writtenLines(), "lines");
    }

    void terminationSavesWithoutAsking()
    {
        writeIni("[comm port]=2\r\n");
        auto a = make();
        QVERIFY(a->startUp());
        m_port.clearWritten();
        a->terminate();
        QVERIFY(m_dialogs.messages.isEmpty());
        QVERIFY(m_port.written.isEmpty());
        QVERIFY(QFile::exists("qorvanix.ini"));
        QCOMPARE(m_exits, 1);
    }

    // Quitting while the line is down: the release the receiver is owed goes out when it returns.
    void quitWithTheLineDown()
    {
        writeIni("[comm port]=2\r\n");
        app::CommandLine options;
        options.lineWaitSeconds = 5;
        auto a = make(options);
        QVERIFY(a->startUp());
        a->link().setQuietedScanner(true);
        m_port.setDsr(false);
        m_port.clearWritten();
        QByteArray sentWhileDown = "<line never returned>";
        QTimer::singleShot(100, &m_port, [&] {
            sentWhileDown = m_port.written;
            m_port.setDsr(true);
        });
        a->terminate();
        QCOMPARE(sentWhileDown, QByteArray());
        QCOMPARE(m_port.written, QByteArray("MUA\rQUN\rIDN\r"));
        QVERIFY(!m_port.isOpen());
        QCOMPARE(m_exits, 1);
    }

    // A signal while the missing-file box is open ends the run there.
    void terminationDuringStartUp()
    {
        std::unique_ptr<Application> a = make();
        m_dialogs.onMessage = [&](const Dialogs::Message&) { a->terminate(); };
        QVERIFY(!a->startUp());
        QVERIFY(!m_port.isOpen());
        QVERIFY(!a->poll().MainTimer().isActive());
        QVERIFY(QFile::exists("qorvanix.ini"));
    }

    void remoteControlOff()
    {
        writeIni("");
        auto a = make();
        QVERIFY(a->startUp());
        m_port.clearWritten();
        a->window().action("RemoteControlOff")->trigger();
        QCOMPARE(m_port.written, QByteArray("KEY04H\r"));
        QVERIFY(a->poll().MainTimer().isActive());
    }

    void setupFromMenu_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("exits");
        QTest::newRow("saved: ends at once") << int(StartOutcome::EndNow) << 1;
        QTest::newRow("cancelled: goes on") << int(StartOutcome::Cancelled) << 0;
    }
    void setupFromMenu()
    {
        QFETCH(int, answer);
        QFETCH(int, exits);
        writeIni("");
        auto a = make();
        QVERIFY(a->startUp());
        m_port.clearWritten();
        m_startAnswer = StartOutcome(answer);
        a->window().action("Config")->trigger();
        QCOMPARE(m_starts, 1);
        QCOMPARE(m_exits, exits);
        a->window().close();
        // After a save the shut-down sequence does not run: no question, no second save.
        QCOMPARE(m_dialogs.messages.size(), exits ? 0 : 1);
        QVERIFY(m_port.written.isEmpty());
    }

    void logEnableSavesAtOnce()
    {
        writeIni("[comm port]=2\r\n[Log What]=011\r\n");
        auto a = make();
        QVERIFY(a->startUp());
        QAction* item = a->window().action("LogOnOFF");
        QVERIFY(item->isEnabled());
        QVERIFY(!item->isChecked());
        item->trigger();
        QVERIFY(item->isChecked());
        QVERIFY(readFile("qorvanix.ini").contains("[Log What]=111000000\r\n"));
        item->trigger();
        QVERIFY(!item->isChecked());
        QVERIFY(readFile("qorvanix.ini").contains("[Log What]=011000000\r\n"));
    }

    void resetStatusFromMenu()
    {
        writeIni("");
        auto a = make();
        QVERIFY(a->startUp());
        m_port.clearWritten();
        a->window().action("ResetAllStatusMnu")->trigger();
        QCOMPARE(m_port.writtenLines().size(), 27);
    }

    void offlineShowsInModeLabel()
    {
        writeIni("");
        auto a = make();
        QVERIFY(a->startUp());
        a->poll().MainTimer().stop();
        m_port.setDsr(false);
        QCOMPARE(a->link().SyncSerialOut("SI"), QStringLiteral("ERR\r"));
        QCOMPARE(a->display().published().ModeLbl, QStringLiteral("Scanner Offline..."));
        QCOMPARE(a->window().control<QLabel>("ModeLbl")->text(), QStringLiteral("Scanner Offline..."));
    }
};

VEXLOR_TEST_MAIN(TestApplication)

} // namespace
} // namespace tst_application

#include "tst_application.moc"
