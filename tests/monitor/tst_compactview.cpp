#include "monitor/CompactView.h"
#include "MonitorRig.h"
#include "TestSuite.h"

#include <QSignalSpy>
#include <QTest>

namespace tst_compactview {
namespace {

using namespace vexlor;
using monitor::CompactView;
using monitor::testing::MonitorRig;

namespace {
struct ViewRig : MonitorRig {
    CompactView view {compact, display, link};

    void mode(int code) { decode({QStringLiteral("MD%1").arg(code, 2, 10, QLatin1Char('0'))}); }
    // How the operator brought the view up.
    void enter(const QString& how)
    {
        if (how == QLatin1String("F8") || how == QLatin1String("F8 PopUp"))
            view.SmartViewMode();
        if (how == QLatin1String("F9"))
            view.PopUpSmartViewMode();
        if (how == QLatin1String("F8 PopUp"))
            view.PopUpLbl_Click();
    }
};
} // namespace

// The view's behaviour with the real decoder behind it.
class TestCompactView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entering_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<bool>("shown");
        QTest::newRow("Smart View") << "F8" << 2 << true;
        QTest::newRow("PopUp Smart View") << "F9" << 1 << false;
        QTest::newRow("Pop&Up from always shown") << "F8 PopUp" << 1 << false;
    }
    void entering()
    {
        QFETCH(QString, how);
        ViewRig rig;
        rig.mode(1);
        rig.takeWritten();
        QSignalSpy tray(&rig.view, &CompactView::trayIconAdded);
        QSignalSpy main(&rig.view, &CompactView::mainWindowShown);
        rig.enter(how);
        QCOMPARE(rig.takeWritten(), QStringList {"SQ"});
        QCOMPARE(tray.size(), 1);
        QCOMPARE(tray.first().first().toString(), QStringLiteral("Vexlor"));
        QCOMPARE(main.size(), 1);
        QCOMPARE(main.first().first().toBool(), false);
        QTEST(rig.compact.s.CompactViewMode, "viewMode");
        QTEST(rig.compact.s.shown, "shown");
        QCOMPARE(rig.compact.s.ModeLbl, QStringLiteral("Manual Mode"));
        QCOMPARE(rig.compact.s.caption, QStringLiteral("Manual Mode"));
        // What the window draws is the state just set.
        QSignalSpy changed(&rig.compact, &monitor::CompactDisplay::changed);
        rig.compact.publish();
        QCOMPARE(changed.size(), 0);
    }

    // The copy of the main display made on entering.
    void copies_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("idName");
        QTest::addColumn<bool>("sqOpen");
        QTest::addColumn<bool>("idListen");
        QTest::addColumn<QString>("shownName");
        QTest::addColumn<QString>("shownType");
        QTest::addColumn<QString>("shownIdName");
        QTest::newRow("names") << "Fire North" << "FDP" << "Dispatch" << true << true
                               << "Fire North" << "FDP" << "Dispatch";
        QTest::newRow("blanks trimmed") << "  Fire  " << " FDP " << " Dispatch" << false << false
                                        << "Fire" << "FDP" << " Dispatch";
        QTest::newRow("no names: frequency and ID") << "" << "" << "" << true << false
                                                    << "154.4300" << "" << "002032";
        QTest::newRow("blank name is no name") << "   " << "AMB" << "" << false << true
                                               << "154.4300" << "AMB" << "002032";
    }
    void copies()
    {
        QFETCH(bool, sqOpen);
        QFETCH(bool, idListen);
        ViewRig rig;
        auto& d = rig.display.s;
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(QString, idName);
        d.NameLbl = name;
        d.TypeLbl = type;
        d.IDNameLbl = idName;
        d.IDTypeLbl = QStringLiteral("POL");
        d.FrequencyBox = QStringLiteral("154.4300");
        d.IDbox = QStringLiteral("002032");
        d.SQopen = sqOpen;
        d.IDListen = idListen;
        rig.view.SmartViewMode();
        const auto& c = rig.compact.s;
        QTEST(c.NameLbl, "shownName");
        QTEST(c.TypeLbl, "shownType");
        QTEST(c.IDNameLbl, "shownIdName");
        QCOMPARE(c.IDTypeLbl, QStringLiteral("POL"));
        QCOMPARE(c.NameLblVisible, sqOpen);
        QCOMPARE(c.TypeLblVisible, sqOpen);
        QCOMPARE(c.IDNameLblVisible, idListen);
        QCOMPARE(c.IDTypeLblVisible, idListen);
    }

    // Open squelch at entry: the labels show at once, even after the view was
    // closed with them hidden, and the next close hides them.
    void enteringWhileOpen()
    {
        ViewRig rig;
        rig.mode(1);
        rig.decode({"W110 F01544300", "+", "C001 F01544300 TN"});
        rig.compact.s.NameLblVisible = rig.compact.s.TypeLblVisible = false;
        rig.view.SmartViewMode();
        QVERIFY(rig.compact.s.NameLblVisible && rig.compact.s.TypeLblVisible);
        QCOMPARE(rig.compact.s.NameLbl, QStringLiteral("Fire North"));
        QCOMPARE(rig.compact.s.TypeLbl, QStringLiteral("FDP"));
        rig.decode({"-"});
        QVERIFY(!rig.compact.s.NameLblVisible && !rig.compact.s.TypeLblVisible);
        QVERIFY(rig.compact.s.shown); // always shown: a close never hides the view
    }

    void stateTable_data()
    {
        QTest::addColumn<QString>("how"); // "" never entered
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<bool>("shown");
        const QString start = QStringLiteral("ID S 002032");
        const QString end = QStringLiteral("ID E 002032");
        QTest::newRow("not in use: squelch") << "" << 0 << QStringList {"+"} << 0 << false;
        QTest::newRow("not in use: call") << "" << 12 << QStringList {start} << 0 << false;
        QTest::newRow("always: close") << "F8" << 0 << QStringList {"+", "-"} << 2 << true;
        QTest::newRow("always: call end") << "F8" << 12 << QStringList {start, end} << 2 << true;
        QTest::newRow("pop-up, mode 0: opens") << "F9" << 0 << QStringList {"+"} << 1 << true;
        QTest::newRow("pop-up, mode 8: opens") << "F9" << 8 << QStringList {"+"} << 1 << true;
        QTest::newRow("pop-up, mode 0: closes") << "F9" << 0 << QStringList {"+", "-"} << 1 << false;
        QTest::newRow("pop-up, mode 5: call") << "F9" << 5 << QStringList {start} << 1 << false;
        QTest::newRow("Pop&Up, mode 2: opens") << "F8 PopUp" << 2 << QStringList {"+"} << 1 << true;
        QTest::newRow("pop-up, mode 9: squelch") << "F9" << 9 << QStringList {"+"} << 1 << false;
        QTest::newRow("pop-up, mode 9: call") << "F9" << 9 << QStringList {start} << 1 << false;
        QTest::newRow("pop-up, mode 9: no hide on close")
            << "F9" << 0 << QStringList {"+", "MD09", "-"} << 1 << true;
        QTest::newRow("pop-up, mode 9: no hide on call end")
            << "F9" << 0 << QStringList {"+", "MD09", end} << 1 << true;
        QTest::newRow("pop-up, mode 10: call") << "F9" << 10 << QStringList {start} << 1 << true;
        QTest::newRow("pop-up, mode 12: call ends") << "F9" << 12 << QStringList {start, end} << 1 << false;
        QTest::newRow("pop-up, mode 12: squelch") << "F9" << 12 << QStringList {"+"} << 1 << false;
        QTest::newRow("pop-up, mode 12: close keeps call") << "F9" << 12 << QStringList {start, "-"} << 1 << true;
        QTest::newRow("pop-up, mode 21: call") << "F9" << 21 << QStringList {start} << 1 << true;
    }
    void stateTable()
    {
        QFETCH(QString, how);
        QFETCH(int, mode);
        QFETCH(QStringList, lines);
        ViewRig rig;
        rig.mode(mode);
        rig.enter(how);
        for (const QString& line : lines)
            rig.decode({line});
        QTEST(rig.compact.s.CompactViewMode, "viewMode");
        QTEST(rig.compact.s.shown, "shown");
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("always shown") << "F8" << QStringList {};
        QTest::newRow("pop-up, hidden") << "F9" << QStringList {};
        QTest::newRow("pop-up, shown") << "F9" << QStringList {"+"};
    }
    void closing()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, lines);
        ViewRig rig;
        rig.enter(how);
        rig.decode(lines);
        rig.takeWritten();
        QSignalSpy removed(&rig.view, &CompactView::trayIconRemoved);
        QSignalSpy main(&rig.view, &CompactView::mainWindowShown);
        rig.view.closeView();
        QCOMPARE(removed.size(), 1);
        QCOMPARE(main.size(), 1);
        QCOMPARE(main.first().first().toBool(), true);
        QCOMPARE(rig.compact.s.CompactViewMode, 0);
        QVERIFY(!rig.compact.s.shown);
        QVERIFY(rig.takeWritten().isEmpty());
        // Not in use any more: activity leaves the view alone.
        rig.decode({"+"});
        QVERIFY(!rig.compact.s.shown);
    }

    void trayDoubleClick_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("pop-up, hidden") << "F9";
        QTest::newRow("already shown") << "F8";
    }
    void trayDoubleClick()
    {
        QFETCH(QString, how);
        ViewRig rig;
        rig.mode(0);
        rig.enter(how);
        QSignalSpy raised(&rig.view, &CompactView::raiseRequested);
        QSignalSpy main(&rig.view, &CompactView::mainWindowShown);
        rig.view.trayDoubleClick();
        QCOMPARE(rig.compact.s.CompactViewMode, 0);
        QVERIFY(rig.compact.s.shown);
        QCOMPARE(raised.size(), 1);
        QCOMPARE(main.size(), 0); // the main window stays hidden
        // Mode 0: the decoder no longer hides it.
        rig.decode({"+", "-"});
        QVERIFY(rig.compact.s.shown);
    }
};

VEXLOR_TEST_MAIN(TestCompactView)

} // namespace
} // namespace tst_compactview

#include "tst_compactview.moc"
