#include "app/Application.h"
#include "app/ui/MainWindow.h"
#include "AppFixture.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "FakeShell.h"
#include "TestSuite.h"
#include "utilities/ui/TrayIcon.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace tst_compactview_app {
namespace {

using namespace vexlor;
using app::Application;

namespace {
QList<QWidget*> topLevels(const QString& name)
{
    QList<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name)
            found << w;
    }
    return found;
}
} // namespace

// The keypad, the compact view and the tray icon as the running program wires them.
class TestCompactViewApp : public QObject, protected testing::AppFixture {
    Q_OBJECT

    Application& app() { return *m_app; }
    QWidget* smartView()
    {
        const auto all = topLevels(QStringLiteral("SmartView"));
        return all.size() == 1 ? all.first() : nullptr;
    }
    utilities::TrayIcon* tray() { return m_app->findChild<utilities::TrayIcon*>(QStringLiteral("picTray")); }
    void trigger(const char* action)
    {
        QAction* a = app().window().action(QLatin1String(action));
        QVERIFY2(a && a->isEnabled(), action);
        a->trigger();
    }

    // Hidden behind the tray icon; without a notification area it waits in the task bar.
    bool mainWindowPutAway()
    {
        return utilities::TrayIcon::isAvailable() ? !app().window().isVisible() : app().window().isMinimized();
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(enterScratchDir());
        m_app = makeApp();
        QVERIFY(m_app->startUp());
        QVERIFY(app().window().isVisible());
        m_port.clearWritten();
    }
    void cleanup()
    {
        leaveScratchDir();
        QVERIFY(topLevels(QStringLiteral("SmartView")).isEmpty());
        QVERIFY(topLevels(QStringLiteral("keypad")).isEmpty());
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("keys");
        QTest::newRow("keypad") << "VirtualKeypadmnu" << "F5";
        QTest::newRow("Smart View") << "SmartViewMode" << "F8";
        QTest::newRow("PopUp Smart View") << "PopUpSmartViewMode" << "F9";
    }
    void menuItems()
    {
        QFETCH(QString, action);
        QAction* a = app().window().action(action);
        QVERIFY(a);
        QVERIFY(a->isEnabled());
        QTEST(a->shortcut().toString(), "keys");
    }

    void keypadOpened_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("keypadcmd") << "keypadcmd";
        QTest::newRow("menu") << "VirtualKeypadmnu";
        QTest::newRow("view's Key") << "KeypadCmd";
        QTest::newRow("K typed in the view") << "K";
    }
    void keypadOpened()
    {
        QFETCH(QString, how);
        auto open = [&] {
            if (how == QLatin1String("keypadcmd"))
                QTest::mouseClick(app().window().control<QAbstractButton>(how), Qt::LeftButton);
            else if (how == QLatin1String("VirtualKeypadmnu"))
                trigger("VirtualKeypadmnu");
            else if (how == QLatin1String("KeypadCmd"))
                QTest::mouseClick(smartView()->findChild<QPushButton*>(how), Qt::LeftButton);
            else
                QTest::keyClicks(smartView(), how);
        };
        if (how.startsWith(QLatin1Char('K')))
            trigger("SmartViewMode");
        open();
        QCOMPARE(topLevels(QStringLiteral("keypad")).size(), 1);
        QWidget* keypad = topLevels(QStringLiteral("keypad")).first();
        QVERIFY(keypad->isVisible());
        QTest::keyClick(keypad, Qt::Key_Escape);
        QVERIFY(!keypad->isVisible());
        open(); // made once, then brought back
        QCOMPARE(topLevels(QStringLiteral("keypad")), QList<QWidget*> {keypad});
        QVERIFY(keypad->isVisible());
        m_port.clearWritten();
        QTest::mouseClick(keypad->findChild<QPushButton*>(QStringLiteral("dkey_8")), Qt::LeftButton);
        QCOMPARE(m_port.writtenLines(), QStringList {"KEY08"});
    }

    void viewRoundTrip_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("shownAtOnce");
        QTest::newRow("Smart View") << "SmartViewMode" << true;
        QTest::newRow("PopUp Smart View") << "PopUpSmartViewMode" << false;
    }
    void viewRoundTrip()
    {
        QFETCH(QString, action);
        QFETCH(bool, shownAtOnce);
        QVERIFY(tray());
        trigger(qPrintable(action));
        QVERIFY(mainWindowPutAway());
        QVERIFY(smartView());
        QCOMPARE(smartView()->isVisible(), shownAtOnce);
        QCOMPARE(m_port.writtenLines(), QStringList {"SQ"});
        // Stands in for the main window where the desktop has a notification area.
        QVERIFY(tray()->isWanted());
        QCOMPARE(tray()->isShown(), utilities::TrayIcon::isAvailable());
        QCOMPARE(tray()->tip(), QStringLiteral("Vexlor"));

        app().decoder().decode({"MD00", "+"});
        QVERIFY(smartView()->isVisible());
        m_port.clearWritten();
        QTest::keyClicks(smartView(), QStringLiteral("h"));
        QCOMPARE(m_port.writtenLines(), QStringList {"KEY07"});

        QTest::keyClick(smartView(), Qt::Key_Space);
        QVERIFY(!smartView()->isVisible());
        QVERIFY(app().window().isVisible());
        QVERIFY(!app().window().isMinimized());
        QVERIFY(!tray()->isWanted() && !tray()->isShown());
        QCOMPARE(app().compact().s.CompactViewMode, 0);

        // And in again, with the same window.
        QWidget* first = smartView();
        trigger("SmartViewMode");
        QCOMPARE(smartView(), first);
        QVERIFY(first->isVisible());
        QVERIFY(mainWindowPutAway());
    }

    void trayDoubleClick()
    {
        trigger("PopUpSmartViewMode");
        QVERIFY(!smartView()->isVisible());
        // A single click, a middle click or the context menu brings nothing back.
        for (const auto why : {QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Context})
            tray()->onActivated(why);
        QVERIFY(!smartView()->isVisible());
        tray()->onActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(smartView()->isVisible());
        QCOMPARE(app().compact().s.CompactViewMode, 0);
        tray()->onActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(smartView()->isVisible()); // smartView() also checks it is the only one
        QVERIFY(mainWindowPutAway());
        QVERIFY(smartView()->close());
        QVERIFY(app().window().isVisible());
        QVERIFY(!tray()->isWanted() && !tray()->isShown());
    }
};

VEXLOR_TEST_MAIN(TestCompactViewApp)

} // namespace
} // namespace tst_compactview_app

#include "tst_compactview_app.moc"
