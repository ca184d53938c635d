#include "app/ui/CenterTuningScale.h"
#include "app/ui/LampLabel.h"
#include "app/ui/MainDisplayView.h"
#include "app/ui/MainWindow.h"
#include "TestSuite.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace tst_maindisplayview {
namespace {

using namespace vexlor;
using app::MainDisplayView;
using app::MainWindow;

// The main window shows what the display state holds, and nothing else.
class TestMainDisplayView : public QObject {
    Q_OBJECT

    static QColor textColour(QWidget* w) { return w->palette().color(QPalette::WindowText); }

private Q_SLOTS:
    void readouts()
    {
        MainWindow w;
        monitor::MainDisplay d;
        MainDisplayView view(w, d);
        w.show();
        d.s.ModeLbl = QStringLiteral("Scan ID (M)");
        d.s.FrequencyBox = QStringLiteral("854.0125");
        d.s.NameLbl = QStringLiteral("Metro");
        d.s.IDbox = QStringLiteral("002032");
        d.s.IDNameLbl = QStringLiteral("------------");
        d.s.SystemLbl = QStringLiteral("E2-800    ");
        d.s.LLbox = QStringLiteral("144.0000");
        d.s.SQopen = true;
        d.s.PriLbl = true;
        d.s.LightAuto = true;
        d.s.LightOff = false;
        d.s.LightAutomaticMnu = true;
        d.s.Mute = true;
        d.publish();
        QCOMPARE(w.control<QLabel>("ModeLbl")->text(), QStringLiteral("Scan ID (M)"));
        QCOMPARE(w.control<QLabel>("FrequencyBox")->text(), QStringLiteral("854.0125"));
        QCOMPARE(w.control<QLabel>("NameLbl")->text(), QStringLiteral("Metro"));
        QCOMPARE(w.control<QLabel>("IDbox")->text(), QStringLiteral("002032"));
        QCOMPARE(w.control<QLabel>("IDNameLbl")->text(), QStringLiteral("------------"));
        QCOMPARE(w.control<QLabel>("SystemLbl")->text(), QStringLiteral("E2-800    "));
        QCOMPARE(w.control<QLineEdit>("LLbox")->text(), QStringLiteral("144.0000"));
        QVERIFY(w.control("SQopen")->isVisible());
        QVERIFY(!w.control("IDListen")->isVisible());
        QVERIFY(w.control("PriLbl")->isVisible());
        QVERIFY(w.control("LightAuto")->isVisible());
        QVERIFY(!w.control("LightOff")->isVisible());
        QVERIFY(!w.control("LightOn")->isVisible());
        QVERIFY(w.action("LightAutomaticMnu")->isChecked());
        QVERIFY(w.action("Mute")->isChecked());
        QVERIFY(!w.action("MonitorMode")->isChecked());
    }

    void lamps_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("bank 1") << "BankLbl_1";
        QTest::newRow("bank 10") << "BankLbl_10";
        QTest::newRow("list 3") << "IDlbl_3";
        QTest::newRow("DATA") << "buttonlbl_0";
        QTest::newRow("L/O") << "buttonlbl_4";
    }
    void lamps()
    {
        QFETCH(QString, name);
        MainWindow w;
        monitor::MainDisplay d;
        MainDisplayView view(w, d);
        const int index = name.section(QLatin1Char('_'), 1).toInt();
        auto set = [&](bool on) {
            if (name.startsWith(QLatin1String("BankLbl")))
                d.s.BankLbl[size_t(index)] = on;
            else if (name.startsWith(QLatin1String("IDlbl")))
                d.s.IDlbl[size_t(index)] = on;
            else
                d.s.buttonlbl[size_t(index)] = on;
            d.publish();
        };
        QWidget* lamp = w.control(name);
        QVERIFY(lamp);
        set(true);
        QCOMPARE(textColour(lamp), QColor(255, 0, 0));
        set(false);
        QCOMPARE(textColour(lamp), QColor(0, 0, 0));
    }

    void centreTuning()
    {
        MainWindow w;
        monitor::MainDisplay d;
        MainDisplayView view(w, d);
        QVERIFY(!w.centerTuning()->isPointerVisible());
        d.s.CenterTuningOnOff = true;
        d.s.TunLine = 750;
        d.publish();
        QVERIFY(w.centerTuning()->isPointerVisible());
        QCOMPARE(w.centerTuning()->pointerX(), 750.0);
        QVERIFY(w.action("CenterTuningOnOff")->isChecked());
    }

    // What the operator typed into a limit box survives other renders; an answer
    // replaces it, even one that repeats the limit shown before.
    void typingSurvives_data()
    {
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QString>("shown");
        QTest::newRow("another readout changes") << false << "150.5";
        QTest::newRow("the same limit answered again") << true << "144.0000";
    }
    void typingSurvives()
    {
        QFETCH(bool, answered);
        MainWindow w;
        monitor::MainDisplay d;
        MainDisplayView view(w, d);
        d.s.LLbox = QStringLiteral("144.0000");
        ++d.s.LLanswers;
        d.publish();
        w.control<QLineEdit>("LLbox")->setText(QStringLiteral("150.5"));
        d.s.ModeLbl = QStringLiteral("Limit Search");
        if (answered)
            ++d.s.LLanswers;
        d.publish();
        QTEST(w.control<QLineEdit>("LLbox")->text(), "shown");
    }

    void unchangedStateIsNotRendered()
    {
        monitor::MainDisplay d;
        QSignalSpy spy(&d, &monitor::MainDisplay::changed);
        d.s.ChLbl = QStringLiteral("12");
        d.publish();
        d.publish();
        d.s.ChLbl = QStringLiteral("12");
        d.publish();
        QCOMPARE(spy.count(), 1);
    }
};

VEXLOR_TEST_MAIN(TestMainDisplayView)

} // namespace
} // namespace tst_maindisplayview

#include "tst_maindisplayview.moc"
