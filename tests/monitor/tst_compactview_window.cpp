#include "monitor/CompactView.h"
#include "monitor/ui/SmartView.h"
#include "MonitorRig.h"
#include "TestSuite.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace tst_compactview_window {
namespace {

using namespace vexlor;
using monitor::CompactView;
using monitor::SmartView;
using monitor::testing::MonitorRig;

namespace {
struct WindowRig : MonitorRig {
    CompactView view {compact, display, link};
    SmartView window {view, compact};

    template <typename T = QWidget>
    T* control(const char* name) const
    {
        return window.findChild<T*>(QLatin1String(name));
    }
};
} // namespace

// The SmartView window: what it draws and what its controls and keys do.
class TestCompactViewWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layout()
    {
        WindowRig rig;
        QCOMPARE(rig.window.objectName(), QStringLiteral("SmartView"));
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("SmartView Mode - Vexlor"));
        QVERIFY(rig.window.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(rig.window.testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(rig.window.font().family(), QStringLiteral("Arial"));
        QCOMPARE(rig.window.font().pointSizeF(), 8.25);
        QVERIFY(rig.window.font().bold());
        QVERIFY(!rig.window.isVisible()); // shown only when the view is entered
        QStringList legends;
        for (const QLabel* l : rig.window.findChildren<QLabel*>()) {
            if (l->objectName().isEmpty())
                legends << l->text();
        }
        QCOMPARE(legends, (QStringList {"Mode", "Fr", "ID"}));
        for (const char* name : {"ModeLbl", "NameLbl", "TypeLbl", "IDNameLbl", "IDTypeLbl"})
            QVERIFY2(rig.control<QLabel>(name), name);
    }

    void buttons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("written");
        QTest::newRow("Scan") << "ScanCmd" << "&Scan" << "KEY00\r";
        QTest::newRow("Man") << "ManCmd" << "&Man" << "KEY01\r";
        QTest::newRow("Srch") << "SearchCmd" << "S&rch" << "KEY06\r";
        QTest::newRow("Hold-ID") << "HoldCmd" << "&Hold-ID" << "KEY07\r";
        QTest::newRow("Key") << "KeypadCmd" << "&Key" << "";
        QTest::newRow("PopUp") << "PopUpLbl" << "Pop&Up" << "";
    }
    void buttons()
    {
        QFETCH(QString, name);
        WindowRig rig;
        rig.view.SmartViewMode();
        QVERIFY(rig.window.isVisible());
        rig.port.clearWritten();
        QSignalSpy keypad(&rig.view, &CompactView::keypadRequested);
        auto* b = rig.control<QPushButton>(qPrintable(name));
        QVERIFY(b);
        QTEST(b->text(), "caption");
        QTest::mouseClick(b, Qt::LeftButton);
        QTEST(QString::fromLatin1(rig.port.written), "written");
        QCOMPARE(keypad.size(), name == QLatin1String("KeypadCmd") ? 1 : 0);
        const bool popUp = name == QLatin1String("PopUpLbl");
        QCOMPARE(rig.window.isVisible(), !popUp);
        QCOMPARE(rig.compact.s.CompactViewMode, popUp ? 1 : 2);
    }

    void keyboard_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<int>("keypads");
        QTest::newRow("h") << "h" << "KEY07\r" << 2 << 0;
        QTest::newRow("H") << "H" << "KEY07\r" << 2 << 0;
        QTest::newRow("s") << "s" << "KEY00\r" << 2 << 0;
        QTest::newRow("r is the keypad's search") << "r" << "KEY09\r" << 2 << 0;
        QTest::newRow("-") << "-" << "KEY08\r" << 2 << 0;
        QTest::newRow("+") << "+" << "KEY07\r" << 2 << 0;
        QTest::newRow(".") << "." << "KEY03\r" << 2 << 0;
        QTest::newRow("digit") << "7" << "KEY02 7\r" << 2 << 0;
        QTest::newRow("several") << "mG0" << "KEY01\rKEY14\rKEY02 0\r" << 2 << 0;
        QTest::newRow("k") << "k" << "" << 2 << 1;
        QTest::newRow("K") << "K" << "" << 2 << 1;
        QTest::newRow("u") << "u" << "" << 1 << 0;
        QTest::newRow("U") << "U" << "" << 1 << 0;
        QTest::newRow("space") << " " << "" << 0 << 0;
        QTest::newRow("unmapped") << "xz*" << "" << 2 << 0;
    }
    void keyboard()
    {
        QFETCH(QString, typed);
        WindowRig rig;
        rig.view.SmartViewMode();
        rig.port.clearWritten();
        QSignalSpy keypad(&rig.view, &CompactView::keypadRequested);
        QTest::keyClicks(&rig.window, typed);
        QTEST(QString::fromLatin1(rig.port.written), "written");
        QTEST(rig.compact.s.CompactViewMode, "viewMode");
        QTEST(int(keypad.size()), "keypads");
        QCOMPARE(rig.window.isVisible(), rig.compact.s.CompactViewMode == 2);
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << "esc";
        QTest::newRow("space") << "space";
        QTest::newRow("close box") << "close";
    }
    void closing()
    {
        QFETCH(QString, how);
        WindowRig rig;
        rig.view.SmartViewMode();
        rig.port.clearWritten();
        QSignalSpy main(&rig.view, &CompactView::mainWindowShown);
        QSignalSpy removed(&rig.view, &CompactView::trayIconRemoved);
        if (how == QLatin1String("esc"))
            QTest::keyClick(&rig.window, Qt::Key_Escape);
        else if (how == QLatin1String("space"))
            QTest::keyClick(&rig.window, Qt::Key_Space);
        else
            QVERIFY(rig.window.close());
        QVERIFY(!rig.window.isVisible());
        QCOMPARE(main.size(), 1);
        QCOMPARE(main.first().first().toBool(), true);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(rig.compact.s.CompactViewMode, 0);
        QVERIFY(rig.port.written.isEmpty());
    }

    // The decoder's state as drawn: texts, hidden readouts, caption, pop-up.
    void rendering()
    {
        WindowRig rig;
        rig.decode({"MD12", "TB D E2-800    "});
        rig.view.PopUpSmartViewMode();
        QVERIFY(!rig.window.isVisible());
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Manual ID (M)"));
        QCOMPARE(rig.control<QLabel>("ModeLbl")->text(), QStringLiteral("Manual ID (M)"));

        rig.decode({"ID S 002032"});
        QVERIFY(rig.window.isVisible());
        QCOMPARE(rig.control<QLabel>("IDNameLbl")->text(), QStringLiteral("Dispatch"));
        QCOMPARE(rig.control<QLabel>("IDTypeLbl")->text(), QStringLiteral("POL"));
        QVERIFY(rig.control<QLabel>("IDNameLbl")->isVisible());
        QVERIFY(!rig.control<QLabel>("NameLbl")->isVisible());

        rig.decode({"MD11"});
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Scan ID (M)"));
        rig.decode({"ID E 002032"});
        QVERIFY(!rig.window.isVisible());
        QVERIFY(!rig.control<QLabel>("IDNameLbl")->isVisibleTo(&rig.window));
    }

    void trayBringsForward()
    {
        WindowRig rig;
        rig.view.PopUpSmartViewMode();
        QVERIFY(!rig.window.isVisible());
        rig.view.trayDoubleClick();
        QVERIFY(rig.window.isVisible());
        rig.view.trayDoubleClick();
        QVERIFY(rig.window.isVisible());
        // Mode 0 now: a squelch close leaves it up.
        rig.decode({"+", "-"});
        QVERIFY(rig.window.isVisible());
    }
};

VEXLOR_TEST_MAIN(TestCompactViewWindow)

} // namespace
} // namespace tst_compactview_window

#include "tst_compactview_window.moc"
