#include "app/Application.h"
#include "app/ui/CenterTuningScale.h"
#include "app/ui/LampLabel.h"
#include "app/ui/MainWindow.h"
#include "AppFixture.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "FakeShell.h"
#include "TestSuite.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace tst_controlsbinder {
namespace {

using namespace vexlor;
using app::Application;
using app::MainWindow;

namespace {

QWidget* topLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name)
            return w;
    }
    return nullptr;
}

} // namespace

// The main window's operator controls, driven as the operator drives them,
// against the exact lines that reach the receiver.
class TestControlsBinder : public QObject, protected testing::AppFixture {
    Q_OBJECT

    MainWindow& w() { return m_app->window(); }
    template <typename T = QWidget>
    T* control(const char* name)
    {
        T* c = w().control<T>(QLatin1String(name));
        if (!c)
            qWarning("no control %s", name);
        return c;
    }
    // Status lines from the receiver, decoded as the poll would; their follow-up queries dropped.
    void receive(const QStringList& lines)
    {
        m_app->decoder().decode(lines);
        m_port.clearWritten();
    }
    QStringList written()
    {
        const QStringList lines = m_port.writtenLines();
        m_port.clearWritten();
        return lines;
    }
    void type(QWidget* box, const QString& text)
    {
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(enterScratchDir());
        m_app = makeApp();
        m_port.open();
        m_port.clearWritten();
        w().setConsoleShown(true);
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w()));
    }
    void cleanup()
    {
        leaveScratchDir();
        m_port.holdOutput(false);
        m_port.close();
    }

    void menuItemsEnabled()
    {
        for (const char* name : {"Scan", "Manual", "Trunk", "Search", "ServiceSearch", "MonitorMode", "Mute",
                                 "LightPermanent", "LightAutomaticMnu", "LightOffMnu", "CenterTuningOnOff",
                                 "IDLockOutMnu", "FreqLockOutMnu"})
            QVERIFY2(w().action(QLatin1String(name))->isEnabled(), name);
    }

    void keyButtons_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("SCAN") << 0 << QStringList {"MD", "SB", "KEY00"};
        QTest::newRow("MAN") << 1 << QStringList {"WI", "KEY01"};
        QTest::newRow("TRNK") << 2 << QStringList {"KEY13"};
        QTest::newRow("Hld") << 3 << QStringList {"KEY08"};
        QTest::newRow("Lmt") << 4 << QStringList {"KEY07"};
        QTest::newRow("SVC") << 5 << QStringList {"KEY10"};
        QTest::newRow("SRCH") << 6 << QStringList {"KEY09"};
    }
    void keyButtons()
    {
        QFETCH(int, index);
        auto& s = m_app->display().s;
        s.IDbox = QStringLiteral("002032");
        s.IDNameLbl = QStringLiteral("Dispatch");
        s.IDTypeLbl = QStringLiteral("POL");
        s.IDListen = true;
        s.NameLbl = QStringLiteral("Fire North");
        m_app->display().publish();
        QVERIFY(control("IDListen")->isVisible());

        QTest::mouseClick(w().keyButton(index), Qt::LeftButton);
        QTEST(written(), "lines");
        for (const char* name : {"IDbox", "IDNameLbl", "IDTypeLbl"})
            QVERIFY2(control<QLabel>(name)->text().isEmpty(), name);
        QVERIFY(!control("IDListen")->isVisible());
        QCOMPARE(control<QLabel>("NameLbl")->text(), QStringLiteral("Fire North"));
    }

    void functionLamps_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("DATA black") << 0 << "DSF" << QStringList {"DSN", "DS", ""};
        QTest::newRow("DATA red") << 0 << "DSN" << QStringList {"DSF", "DS", ""};
        QTest::newRow("ATT black") << 1 << "ATF" << QStringList {"ATN", "AT", ""};
        QTest::newRow("ATT red") << 1 << "ATN" << QStringList {"ATF", "AT", ""};
        QTest::newRow("PRI black") << 2 << "PRF" << QStringList {"PRN", "PR", ""};
        QTest::newRow("PRI red") << 2 << "PRN" << QStringList {"PRF", "PR", ""};
        QTest::newRow("DLY black") << 3 << "DLF" << QStringList {"KEY12"};
        QTest::newRow("DLY red") << 3 << "DLN" << QStringList {"KEY12"};
        QTest::newRow("L/O black") << 4 << "LOF" << QStringList {"KEY06"};
        QTest::newRow("L/O red") << 4 << "LON" << QStringList {"KEY06"};
    }
    void functionLamps()
    {
        QFETCH(int, index);
        QFETCH(QString, reported);
        receive({reported});
        app::LampLabel* lamp = w().functionLamp(index);
        const bool lit = reported.endsWith('N');
        QCOMPARE(lamp->isLit(), lit);
        QTest::mouseClick(lamp, Qt::LeftButton);
        QTEST(written(), "lines");
        QCOMPARE(lamp->isLit(), lit); // until the answer comes
        QTest::mouseClick(lamp, Qt::LeftButton);
        QTEST(written(), "lines");
    }

    void bankAndListLamps_data()
    {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("lamp");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("banks 2, 5 on: lamp 5") << "SB BE" << "BankLbl_5" << QStringList {"SB B", "SB BE"};
        QTest::newRow("bank 1 alone") << "SB A" << "BankLbl_1" << QStringList {"SB ", "SB A"};
        QTest::newRow("bank 10") << "SB B" << "BankLbl_10" << QStringList {"SB BJ", "SB B"};
        QTest::newRow("list 3") << "IS A" << "IDlbl_3" << QStringList {"IS AC", "IS A"};
        QTest::newRow("list 1 alone") << "IS A" << "IDlbl_1" << QStringList {"IS ", "IS A"};
        QTest::newRow("ID readout") << "IS BD" << "IDlbl_0" << QStringList {"IS BD", "IS BD"};
    }
    void bankAndListLamps()
    {
        QFETCH(QString, reported);
        QFETCH(QString, lamp);
        receive({reported});
        auto* l = w().control<app::LampLabel>(lamp);
        QVERIFY(l);
        const bool lit = l->isLit();
        QTest::mouseClick(l, Qt::LeftButton);
        QTest::mouseClick(l, Qt::LeftButton);
        QTEST(written(), "lines");
        QCOMPARE(l->isLit(), lit);
    }

    void frequencyEntry_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("Scan Mode") << "MD00" << QStringList {"MA001", "RF01465200"};
        QTest::newRow("Manual Mode") << "MD01" << QStringList {"RF01465200"};
    }
    void frequencyEntry()
    {
        QFETCH(QString, mode);
        receive({mode});
        auto* box = control<QPlainTextEdit>("DirectFrequencyBox");
        type(box, QStringLiteral("146.52"));
        QTEST(written(), "lines");
        QCOMPARE(box->toPlainText(), QString());
    }

    void enterActsOnce()
    {
        auto* box = control<QPlainTextEdit>("ChannelBox");
        type(box, QStringLiteral("12"));
        QCOMPARE(written(), QStringList {"MA012"});
        QCOMPARE(box->toPlainText(), QString());
        QTest::keyClicks(box, QStringLiteral("7"));
        QCOMPARE(written(), QStringList());
        QCOMPARE(box->toPlainText(), QStringLiteral("7"));
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(written(), QStringList {"MA007"});
    }

    void idChannelPair()
    {
        auto* list = control<QPlainTextEdit>("IDChannelBox");
        auto* slot = control<QPlainTextEdit>("IDChannelBoxII");
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
        list->setFocus();
        type(list, QStringLiteral("3"));
        QCOMPARE(written(), QStringList());
        QCOMPARE(list->toPlainText(), QStringLiteral("3"));
        QVERIFY(slot->hasFocus());
        type(slot, QStringLiteral("10"));
        QCOMPARE(written(), QStringList {"IC C0"});
        QCOMPARE(control<QPlainTextEdit>("temp")->toPlainText(), QStringLiteral("IC C0"));
        QCOMPARE(list->toPlainText(), QString());
        QCOMPARE(slot->toPlainText(), QString());
        QVERIFY(list->hasFocus());
    }

    void uploadLimits_data()
    {
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("both") << "138" << "174" << QStringList {"LL01380000", "LU01740000"};
        QTest::newRow("lower only") << "138" << "" << QStringList {};
    }
    void uploadLimits()
    {
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        control<QLineEdit>("LLbox")->setText(lower);
        control<QLineEdit>("LUbox")->setText(upper);
        QTest::mouseClick(control("ApplyLimit"), Qt::LeftButton);
        QTEST(written(), "lines");
    }

    // The receiver's answer replaces what the operator typed, even when it repeats the limits
    // shown before; the upload then sends the answered limits.
    void answerRefillsTypedLimits()
    {
        const QStringList answer {"LL01440000", "LU01480000"};
        receive(answer);
        control<QLineEdit>("LLbox")->setText(QStringLiteral("150.5"));
        control<QLineEdit>("LUbox")->setText(QStringLiteral("160"));
        receive(answer);
        QCOMPARE(control<QLineEdit>("LLbox")->text(), QStringLiteral("144.0000"));
        QCOMPARE(control<QLineEdit>("LUbox")->text(), QStringLiteral("148.0000"));
        QTest::mouseClick(control("ApplyLimit"), Qt::LeftButton);
        QCOMPARE(written(), answer);
    }

    // A focused text box leaves the menu's accelerators to the menu.
    void acceleratorsWinOverBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("item");
        QTest::newRow("Ctrl+V in a limit box") << "LLbox" << int(Qt::Key_V) << "ServiceSearch";
        QTest::newRow("Ctrl+V in the frequency box") << "DirectFrequencyBox" << int(Qt::Key_V) << "ServiceSearch";
        QTest::newRow("Ctrl+C in the command box") << "CmdToBeSendBox" << int(Qt::Key_C) << "CenterTuningOnOff";
        QTest::newRow("Ctrl+Z in a limit box") << "LUbox" << int(Qt::Key_Z) << "LogFunction_OpenLogMnu";
    }
    void acceleratorsWinOverBoxes()
    {
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(QString, item);
        QGuiApplication::clipboard()->setText(QStringLiteral("999"));
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
        QWidget* b = w().control(box);
        b->setFocus();
        QVERIFY(b->hasFocus());
        QTest::keyClicks(b, QStringLiteral("12"));
        QSignalSpy triggered(w().action(item), &QAction::triggered);
        QTest::keyClick(b, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(triggered.count(), 1);
        auto* line = qobject_cast<QLineEdit*>(b);
        QCOMPARE(line ? line->text() : qobject_cast<QPlainTextEdit*>(b)->toPlainText(), QStringLiteral("12"));
    }

    void searchingFrameReadsLimits()
    {
        QWidget* frame = control("Frame1");
        QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(3, frame->height() - 3));
        QCOMPARE(written(), QStringList {"LL"});
    }

    // The picture on show follows the receiver; a click steps off, automatic, permanent, off.
    void lightPictures_data()
    {
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("off") << QStringList {"ALF", "LTF"} << "LightOff" << QStringList {"ALN", "AL"};
        QTest::newRow("automatic") << QStringList {"ALN"} << "LightAuto" << QStringList {"ALF", "AL", "LTN", "LT"};
        QTest::newRow("permanent") << QStringList {"ALF", "LTN"} << "LightOn" << QStringList {"LTF", "LT"};
    }
    void lightPictures()
    {
        QFETCH(QStringList, reported);
        QFETCH(QString, shown);
        receive(reported);
        auto* picture = w().control<QToolButton>(shown);
        QVERIFY(picture->isVisible());
        QTest::mouseClick(picture, Qt::LeftButton);
        QTEST(written(), "lines");
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("Scan") << "Scan" << QStringList {"KEY00"};
        QTest::newRow("Manual") << "Manual" << QStringList {"KEY01"};
        QTest::newRow("Trunk") << "Trunk" << QStringList {"KEY13"};
        QTest::newRow("Search") << "Search" << QStringList {"KEY09"};
        QTest::newRow("ServiceSearch") << "ServiceSearch" << QStringList {"KEY10"};
        QTest::newRow("LightAutomaticMnu") << "LightAutomaticMnu" << QStringList {"ALN", "AL"};
        QTest::newRow("LightPermanent") << "LightPermanent" << QStringList {"ALF", "AL", "LTN", "LT"};
        QTest::newRow("LightOffMnu") << "LightOffMnu" << QStringList {"LTF", "LT"};
    }
    void menuItems()
    {
        QFETCH(QString, item);
        m_app->display().s.IDbox = QStringLiteral("002032");
        m_app->display().publish();
        QAction* a = w().action(item);
        a->trigger();
        QTEST(written(), "lines");
        QVERIFY(!a->isChecked()); // the receiver's answer sets the light marks
        QCOMPARE(control<QLabel>("IDbox")->text(), QStringLiteral("002032"));
    }

    void audioItems_data()
    {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("Mute unchecked") << "MUA" << "Mute" << QStringList {"MUN", "MU"};
        QTest::newRow("Mute checked") << "MUN" << "Mute" << QStringList {"MUA", "MU"};
        QTest::newRow("Mute while monitoring") << "MUF" << "Mute" << QStringList {"MUN", "MU"};
        QTest::newRow("Monitor unchecked") << "MUA" << "MonitorMode" << QStringList {"MUF", "MU"};
        QTest::newRow("Monitor checked") << "MUF" << "MonitorMode" << QStringList {"MUA", "MU"};
        QTest::newRow("Monitor while muted") << "MUN" << "MonitorMode" << QStringList {"MUF", "MU"};
    }
    void audioItems()
    {
        QFETCH(QString, reported);
        QFETCH(QString, item);
        QFETCH(QStringList, lines);
        receive({reported});
        QAction* a = w().action(item);
        const bool checked = a->isChecked();
        // Twice with no answer between: the mark has not moved, so the same lines.
        a->trigger();
        a->trigger();
        QCOMPARE(written(), lines + lines);
        QCOMPARE(a->isChecked(), checked);
    }

    void centreTuning()
    {
        QAction* toggle = w().action("CenterTuningOnOff");
        app::CenterTuningScale* scale = w().centerTuning();
        QVERIFY(!toggle->isChecked());
        QVERIFY(!scale->isPointerVisible());
        receive({"W110  01465200"});
        QCOMPARE(scale->pointerX(), 2000.0); // off: the pointer stays

        toggle->trigger();
        QVERIFY(toggle->isChecked());
        QVERIFY(scale->isPointerVisible());
        receive({"W096  01465200"});
        QCOMPARE(scale->pointerX(), 1500.0);

        QTest::mouseDClick(scale, Qt::LeftButton);
        QVERIFY(!toggle->isChecked());
        QVERIFY(!scale->isPointerVisible());
        receive({"W110  01465200"});
        QCOMPARE(scale->pointerX(), 1500.0);

        QTest::mouseDClick(scale, Qt::LeftButton);
        QVERIFY(toggle->isChecked());
        QVERIFY(scale->isPointerVisible());
        QCOMPARE(written(), QStringList()); // nothing goes to the receiver
    }

    void console()
    {
        auto* box = control<QPlainTextEdit>("CmdToBeSendBox");
        auto* tx = control<QListWidget>("TxData");
        auto* rx = control<QPlainTextEdit>("temp");
        type(box, QStringLiteral("pc a"));
        QCOMPARE(m_port.written, QByteArray("PC A\r"));
        m_port.clearWritten();
        QCOMPARE(box->toPlainText(), QString());
        type(box, QStringLiteral("   "));
        QCOMPARE(m_port.written, QByteArray());
        QCOMPARE(box->toPlainText(), QStringLiteral("   "));

        box->setPlainText(QStringLiteral("md"));
        QTest::mouseClick(control("SndCmd"), Qt::LeftButton);
        QCOMPARE(written(), QStringList {"MD"});
        QCOMPARE(box->toPlainText(), QString());
        QCOMPARE(tx->count(), 2);

        QListWidgetItem* first = tx->item(0);
        const QPoint at = tx->visualItemRect(first).center();
        // As a real double-click arrives: a click, then the double-click.
        QTest::mouseClick(tx->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tx->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(written(), QStringList {"PC A"});
        QCOMPARE(tx->count(), 3);
        QCOMPARE(tx->item(2)->text(), QStringLiteral("PC A"));

        rx->setPlainText(QStringLiteral("MD01"));
        QTest::mouseClick(control("Clear"), Qt::LeftButton);
        QCOMPARE(tx->count(), 0);
        QCOMPARE(rx->toPlainText(), QString());
        QTest::mouseClick(control("testcmd"), Qt::LeftButton);
        QCOMPARE(written(), QStringList());
    }

    // A receiver that takes nothing: what the console could not send is counted in sight.
    void consoleShowsDroppedWrites()
    {
        auto* dropped = control<QLabel>("DroppedLbl");
        QCOMPARE(dropped->text(), QString());
        m_port.holdOutput(true);
        m_port.write(QByteArray(m_app->link().outputLimit(), 'q'));
        type(control<QPlainTextEdit>("CmdToBeSendBox"), QStringLiteral("md"));
        type(control<QPlainTextEdit>("CmdToBeSendBox"), QStringLiteral("wi"));
        QCOMPARE(dropped->text(), QStringLiteral("Commands dropped (line busy): 2"));
    }

    void labelFonts_data()
    {
        QTest::addColumn<QString>("label");
        QTest::newRow("NameLbl") << "NameLbl";
        QTest::newRow("IDNameLbl") << "IDNameLbl";
        QTest::newRow("TrunkingNameLbl") << "TrunkingNameLbl";
    }
    void labelFonts()
    {
        QFETCH(QString, label);
        auto* target = w().control<QLabel>(label);
        QList<QLabel*> others;
        for (const char* n : {"NameLbl", "IDNameLbl", "TrunkingNameLbl"}) {
            if (label != QLatin1String(n))
                others << control<QLabel>(n);
        }
        const QFont before = target->font();
        QFont chosen(QStringLiteral("Courier"), 20);
        chosen.setBold(true);
        chosen.setItalic(true);

        // A left press opens nothing: the answer stays unused.
        m_dialogs.fontAnswers.push_back(chosen);
        QTest::mousePress(target, Qt::LeftButton);
        QTest::mouseRelease(target, Qt::LeftButton);
        QCOMPARE(m_dialogs.fontAnswers.size(), size_t(1));
        QCOMPARE(target->font(), before);

        m_dialogs.fontAnswers.front() = std::nullopt; // cancelled
        QTest::mousePress(target, Qt::RightButton);
        QVERIFY(m_dialogs.fontAnswers.empty());
        QCOMPARE(target->font(), before);

        m_dialogs.fontAnswers.push_back(chosen);
        QTest::mousePress(target, Qt::RightButton);
        QCOMPARE(target->font().family(), chosen.family());
        QCOMPARE(target->font().pointSize(), 20);
        QVERIFY(target->font().bold() && target->font().italic());
        for (QLabel* other : others)
            QCOMPARE(other->font(), before);
        // The choice is the font at the designed size: a window twice as wide doubles it.
        const QSize size = w().size();
        w().resize(size.width() * 2 + 2, size.height());
        QTRY_COMPARE(target->font().pointSizeF(), 40.0);
        w().resize(size);
        QTRY_COMPARE(target->font().pointSizeF(), 20.0);
    }

    void lockoutMenus()
    {
        w().action("FreqLockOutMnu")->trigger();
        QStringList queries;
        for (int i = 1; i <= 50; ++i)
            queries << QStringLiteral("SS%1").arg(i, 2, 10, QLatin1Char('0'));
        QCOMPARE(written(), queries);
        QWidget* freq = topLevel(QStringLiteral("FreqLockout"));
        QVERIFY(freq && freq->isVisible());
        receive({"SS 01458000"});
        QTRY_COMPARE(freq->findChild<QListWidget*>("FreqList1")->count(), 1);
        freq->close();
        w().action("FreqLockOutMnu")->trigger();
        QCOMPARE(topLevel(QStringLiteral("FreqLockout")), freq); // reused
        QVERIFY(freq->isVisible());

        w().action("IDLockOutMnu")->trigger();
        QWidget* ids = topLevel(QStringLiteral("IDLockout"));
        QVERIFY(ids && ids->isVisible());
        QCOMPARE(written(), queries); // the ID review reads the table, not the receiver
    }
};

VEXLOR_TEST_MAIN(TestControlsBinder)

} // namespace
} // namespace tst_controlsbinder

#include "tst_controlsbinder.moc"
