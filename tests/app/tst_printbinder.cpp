#include "app/PrintBinder.h"
#include "app/ui/MainWindow.h"
#include "AppFixture.h"
#include "printing/ui/PrintFrm.h"
#include "TestSuite.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace tst_printbinder {
namespace {

using namespace vexlor;

// "&Print Lists" in the whole program, and its window.
class TestPrintBinder : public QObject, protected testing::AppFixture {
    Q_OBJECT
    template <typename T> static T* control(QWidget* w, const char* name) { return w->findChild<T*>(QLatin1String(name)); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(enterScratchDir());
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
    }
    void cleanup() { leaveScratchDir(); }

    void window()
    {
        QAction* a = m_app->window().action(QStringLiteral("PrintListsMnu"));
        QVERIFY(a && a->isEnabled());
        a->trigger();
        printing::PrintFrm* w = m_app->printBinder().window();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->objectName(), QStringLiteral("PrintFrm"));
        QCOMPARE(w->windowTitle(), QStringLiteral("BC245 - Print List..."));
        auto* ids = control<QRadioButton>(w, "IDOption");
        auto* freq = control<QRadioButton>(w, "FreqOption");
        auto* idBank = control<QComboBox>(w, "IDBankCmb");
        auto* printer = control<QComboBox>(w, "CmbImprimante");
        auto* copies = control<QLineEdit>(w, "NbDeCopieBox");
        auto* bar = control<QScrollBar>(w, "VScrollCopie");
        QVERIFY(ids && freq && idBank && printer && copies && bar);
        QVERIFY(control<QComboBox>(w, "FreqBankCmb") && control<QAbstractButton>(w, "PreviewCmd"));
        QCOMPARE(control<QAbstractButton>(w, "PrintCmd")->text(), QStringLiteral("Print"));
        QVERIFY(freq->isChecked() && !idBank->isEnabled());
        QCOMPARE(printer->itemText(printer->count() - 1), QStringLiteral("Print to PDF file"));
        QCOMPARE(copies->text(), QStringLiteral("1"));

        ids->click();
        QVERIFY(idBank->isEnabled());
        QCOMPARE(control<QLabel>(w, "InfoLbl")->text(), QStringLiteral("Only ID's Will be Print!"));
        // The upper arrow adds a copy.
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(copies->text(), QStringLiteral("2"));
        QTest::keyClicks(copies, QStringLiteral("0"));
        QCOMPARE(bar->value(), -20);

        control<QAbstractButton>(w, "CancelCmd")->click();
        QVERIFY(!w->isVisible());
        a->trigger();
        QCOMPARE(m_app->printBinder().window(), w);
        QVERIFY(w->isVisible());
        // Reopened, it starts afresh.
        QVERIFY(freq->isChecked() && !idBank->isEnabled());
        QCOMPARE(copies->text(), QStringLiteral("1"));
    }

    // The head names this program, and the operator's own links only when set.
    void head()
    {
        m_app->INIObj().setUserName(QStringLiteral("Kestrel"));
        printing::PageHead h = m_app->printBinder().pageHead();
        QCOMPARE(h.userName, QStringLiteral("Kestrel"));
        QVERIFY(h.credit.startsWith(QStringLiteral("Printed by Vexlor 2.")));
        QCOMPARE(h.webSite, QString());
        app::IniFile::Links links;
        links.webSite = QStringLiteral("https://example.org");
        links.mailAddress = QStringLiteral("me@example.org");
        m_app->INIObj().setLinks(links);
        h = m_app->printBinder().pageHead();
        QCOMPARE(h.webSite, QStringLiteral("https://example.org"));
        QCOMPARE(h.mailAddress, QStringLiteral("me@example.org"));
    }
};

VEXLOR_TEST_MAIN(TestPrintBinder)

} // namespace
} // namespace tst_printbinder

#include "tst_printbinder.moc"
