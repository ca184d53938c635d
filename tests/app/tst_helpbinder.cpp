#include "app/HelpBinder.h"
#include "app/ui/MainWindow.h"
#include "app/Version.h"
#include "AppFixture.h"
#include "TestSuite.h"
#include "utilities/ui/About.h"
#include "utilities/ui/HelpWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

namespace tst_helpbinder {
namespace {

using namespace vexlor;

// The help items of the Help menu in the whole program.
class TestHelpBinder : public QObject, protected testing::AppFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(enterScratchDir()); }
    void cleanup() { leaveScratchDir(); }

    void helpWindows_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("holds");
        QTest::newRow("type") << "HelpTypes" << "HelpType" << "Help on 'Type'" << "\n\tAIR = Aviation\n";
        QTest::newRow("centre tuning") << "HelpCenterTuningMnu" << "HelpCenterTuning" << "Help On Center Tuning"
                                       << "the red pointer moves";
        QTest::newRow("TCP") << "TcpConnectionHelpMnu" << "HelpTCP" << "Help On TCP Connection" << "no sound";
        QTest::newRow("community") << "HelpICQmnu" << "HelpICQ" << "Help on the Vexlor community" << "CHAT";
    }
    void helpWindows()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        QAction* a = m_app->window().action(item);
        QVERIFY(a && a->isEnabled());
        a->trigger();
        utilities::HelpWindow* w = m_app->helpBinder().window(window);
        QVERIFY(w && w->isVisible() && !w->isModal());
        QTEST(w->windowTitle(), "caption");
        const QString text = w->findChild<QPlainTextEdit*>()->toPlainText();
        QFETCH(QString, holds);
        QVERIFY2(text.contains(holds), qPrintable(text));
        if (window == QLatin1String("HelpType"))
            QCOMPARE(text.count(QLatin1String("\n\t")), 17);
        w->findChild<QAbstractButton*>(QStringLiteral("OKCmd"))->click();
        QVERIFY(!w->isVisible());
        // Reused when opened again.
        a->trigger();
        QCOMPARE(m_app->helpBinder().window(window), w);
    }

    // Each link item and label reaches the shell with the target configured for it.
    void linkItems_data()
    {
        QTest::addColumn<QString>("item"); // a menu item, or an about-window label
        QTest::addColumn<QString>("url");
        QTest::newRow("web page") << "URLkelto" << "https://web.example.org";
        QTest::newRow("mail") << "URLmailKelto" << "mailto:me@example.org";
        QTest::newRow("list page") << "URLmailingListGeneralInformations" << "https://list.example.org";
        QTest::newRow("list post") << "URLmailingListPost" << "mailto:post@example.org";
        QTest::newRow("list subscribe") << "URLmailingListSubscribe" << "mailto:join@example.org";
        QTest::newRow("list unsubscribe") << "URLmailingListUnsubscribe" << "mailto:leave@example.org";
        QTest::newRow("about mail") << "MailLbl" << "mailto:me@example.org?subject=About Vexlor";
        QTest::newRow("about web site") << "LastNewsLbl" << "https://web.example.org";
        QTest::newRow("about receiver page 0") << "ScannerLbl_0" << "https://scanner.example.org";
        QTest::newRow("about receiver page 1") << "ScannerLbl_1" << "https://scanner.example.org";
    }
    void linkItems()
    {
        QFETCH(QString, item);
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        m_app->INIObj().setLinks({"https://web.example.org", "me@example.org", "https://list.example.org",
                                  "post@example.org", "join@example.org", "leave@example.org",
                                  "https://scanner.example.org"});
        m_dialogs.messages.clear(); // the missing configuration file's notice
        if (QAction* a = m_app->window().action(item)) {
            QVERIFY(a->isEnabled());
            a->trigger();
        } else {
            m_app->window().action(QStringLiteral("Aboutit"))->trigger();
            auto* label = m_app->helpBinder().about()->findChild<QLabel*>(item);
            QVERIFY(label);
            QTest::mouseClick(label, Qt::LeftButton);
        }
        QFETCH(QString, url);
        QCOMPARE(m_shell.urls, QStringList {url});
        QVERIFY(m_dialogs.messages.isEmpty());
    }

    void about_data()
    {
        QTest::addColumn<QString>("closer"); // what is double-clicked or clicked
        QTest::newRow("window") << "About";
        QTest::newRow("text") << "Text1";
        QTest::newRow("version label") << "versionlbl";
    }
    void about()
    {
        QFETCH(QString, closer);
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        QAction* a = m_app->window().action(QStringLiteral("Aboutit"));
        QVERIFY(a->isEnabled());
        a->trigger();
        utilities::About* w = m_app->helpBinder().about();
        QVERIFY(w && w->isVisible() && w->isModal());
        QCOMPARE(w->windowTitle(), QStringLiteral("About Vexlor..."));
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("versionlbl"))->text(), app::versionText());
        if (closer == QLatin1String("About"))
            QTest::mouseDClick(w, Qt::LeftButton);
        else if (closer == QLatin1String("Text1"))
            QTest::mouseDClick(w->findChild<QPlainTextEdit*>(closer)->viewport(), Qt::LeftButton);
        else
            QTest::mouseClick(w->findChild<QLabel*>(closer), Qt::LeftButton);
        QVERIFY(!w->isVisible());
    }
};

VEXLOR_TEST_MAIN(TestHelpBinder)

} // namespace
} // namespace tst_helpbinder

#include "tst_helpbinder.moc"
