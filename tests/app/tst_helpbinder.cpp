#include "AppFixture.h"
#include "app/HelpBinder.h"
#include "app/ui/MainWindow.h"
#include "utilities/ui/HelpWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

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
                                       << "Options > Center Tuning";
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
};

QTEST_MAIN(TestHelpBinder)
#include "tst_helpbinder.moc"
