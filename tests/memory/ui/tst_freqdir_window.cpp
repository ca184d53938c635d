#include "../ScriptedReceiver.h"
#include "memory/FreqDirectory.h"
#include "memory/ui/FreqDir.h"
#include "TestSuite.h"
#include "WidgetProbe.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QSignalSpy>

namespace tst_freqdir_window {
namespace {

using namespace vexlor;
using memory::FreqDirectory;
using MT = memory::MemoryTables;
using Button = platform::Dialogs::Button;

namespace {

// Bank 1 from the file, channels 1..6 filled; channel 5 is the one edited.
struct Rig : testing::ScriptedReceiver {
    FreqDirectory logic {{link, port, dialogs, tables, *stores}};
    memory::FreqDir window {logic};

    explicit Rig(bool opened = true)
    {
        for (int c = 1; c <= 6; ++c) {
            tables.Channels.set(c, MT::kChCh, c);
            tables.Channels.set(c, MT::kChFrequency, QStringLiteral("154.%1").arg(c * 1000));
            tables.Channels.set(c, MT::kChMode, QStringLiteral("Normal"));
        }
        tables.Channels.set(5, MT::kChType, QStringLiteral("POL"));
        tables.Channels.set(5, MT::kChName, QStringLiteral("Dispatch"));
        tables.Channels.set(5, MT::kChDLY, QStringLiteral("="));
        if (opened)
            logic.open();
    }
    template <class T = QWidget>
    T* find(const QString& name) const { return window.findChild<T*>(name); }
    QTableWidget* grid() const { return find<QTableWidget>(QStringLiteral("FreqList")); }
    void click(int row, int col) const { testing::clickCell(grid(), row, col); }
    int pmSent() const { return int(commands.filter(QRegularExpression(QStringLiteral("^PM\\d{3} "))).size()); }
};

enum Phase { Idle, Reading, Uploading };

} // namespace

class TestFreqDirWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption"); // the tooltip of a picture button
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("maxLength");
        const QStringList banks {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
        auto row = [](const char* name, const char* text, const QStringList& list = {}, int max = 0) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text) << list << max;
        };
        row("Frame1", "Selected Channel Details");
        row("Frame2", "Data receive from");
        row("Frame3", "Data send to");
        row("Label1", "Freq Bank");
        row("Label2", "Channel :");
        row("Label3", "Type :");
        row("Label4", "-- Click To Toggle--");
        row("Label5", "Name :");
        row("Label6", "* Will overwrite data saved in your file!");
        row("Label7", "Trunk Type :");
        row("BankNameLbl", "Bank Name :");
        row("FreqLbl", "Frequency :");
        row("Option1", "Scanner*");
        row("Option2", "File");
        row("DelayChk", "Delay");
        row("L_OChk", "L/O");
        row("TrunkChk", "Trunk");
        row("DataSendToScannerCmd", "Scanner");
        row("HelpCmd", "Help");
        row("OKCmd", "OK");
        row("StopCmd", "Stop");
        row("SaveImg", "Save this channel");
        row("DeleteImg", "Clear this channel");
        row("WaitLbl", "Please wait a moment ...");
        row("BankCmb", "", banks);
        row("TypeCmb", "", MT::typeCodeList(), 3);
        row("IDTypeBankBox", "", MT::trunkTypeSelectors());
        row("ChBox", "", {}, 3);
        row("FreqBox", "", {}, 8);
        row("NameBox", "", {}, 40);
        row("IDBankNameBox", "", {}, 40);
        row("ReadProgressBar", "");
    }
    void controls()
    {
        QFETCH(QString, name);
        Rig rig(false);
        QCOMPARE(rig.window.objectName(), QStringLiteral("FreqDir"));
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Freq. Directory - Vexlor"));
        const QWidget* w = rig.find(name);
        QVERIFY(w);
        QTEST(testing::caption(w), "caption");
        QTEST(testing::items(w), "items");
        QTEST(testing::maxLength(w), "maxLength");
    }

    // At its smallest the window shows every visible column without scrolling sideways.
    void gridFits()
    {
        Rig rig;
        rig.window.resize(rig.window.minimumSize());
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        QTableWidget* g = rig.grid();
        QCOMPARE(g->horizontalScrollBar()->maximum(), 0);
        for (int c = 0; c < g->columnCount(); ++c)
            QCOMPARE(g->isColumnHidden(c), c >= MT::kChMap);
    }

    void gridClick_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("chBox");
        QTest::addColumn<bool>("delay");
        QTest::newRow("name cell fills the editor") << 5 << int(MT::kChName) << "5" << true;
        QTest::newRow("DLY cell toggles the delay") << 5 << int(MT::kChDLY) << "5" << false;
        QTest::newRow("heading picks no channel") << 0 << int(MT::kChName) << "" << false;
    }
    void gridClick()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(bool, delay);
        Rig rig;
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        rig.click(row, col);
        QTEST(rig.find<QLineEdit>("ChBox")->text(), "chBox");
        QCOMPARE(rig.find<QLineEdit>("NameBox")->text(), row ? QStringLiteral("Dispatch") : QString());
        QCOMPARE(rig.find<QLineEdit>("FreqBox")->text(), row ? rig.tables.Channels.text(5, MT::kChFrequency) : QString());
        QCOMPARE(rig.find<QComboBox>("TypeCmb")->currentText(), row ? QStringLiteral("POL") : QString());
        QCOMPARE(rig.find<QCheckBox>("DelayChk")->isChecked(), delay);
        // The table and the grid show the channel as the editor committed it.
        const QString dly = delay || !row ? QStringLiteral("=") : QString();
        QCOMPARE(rig.tables.Channels.text(5, MT::kChDLY), dly);
        QCOMPARE(rig.grid()->item(4, MT::kChDLY)->text(), dly);
        QCOMPARE(rig.grid()->currentRow(), row - 1);
    }

    void editing_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed"); // "<Down>": the next item of the list
        QTest::addColumn<bool>("enter");    // otherwise the focus moves on
        QTest::addColumn<int>("col");       // -1: the bank's name
        QTest::addColumn<QString>("stored");
        QTest::newRow("name, Enter") << "NameBox" << "Tac 2" << true << int(MT::kChName) << "Tac 2";
        QTest::newRow("name, focus leaves") << "NameBox" << "Tac 2" << false << int(MT::kChName) << "Tac 2";
        QTest::newRow("frequency, Enter") << "FreqBox" << "155,5" << true << int(MT::kChFrequency) << "155.5000";
        QTest::newRow("type typed, focus leaves") << "TypeCmb" << "MED" << false << int(MT::kChType) << "MED";
        QTest::newRow("type picked, focus leaves") << "TypeCmb" << "<Down>" << false << int(MT::kChType) << "PTP";
        QTest::newRow("bank name, Enter") << "IDBankNameBox" << "Fire" << true << -1 << "Fire";
        QTest::newRow("bank name, focus leaves") << "IDBankNameBox" << "Fire" << false << -1 << "Fire";
    }
    void editing()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(int, col);
        QFETCH(QString, stored);
        Rig rig;
        rig.window.show();
        rig.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        rig.click(5, MT::kChName);
        auto value = [&] { return col < 0 ? rig.tables.bankName(1) : rig.tables.Channels.text(5, col); };
        const QString before = value();

        QWidget* target = rig.find(box);
        target->setFocus();
        auto* combo = qobject_cast<QComboBox*>(target);
        QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(target);
        if (typed == QLatin1String("<Down>")) {
            QTest::keyClick(target, Qt::Key_Down);
        } else {
            edit->selectAll();
            QTest::keyClicks(edit, typed);
        }
        QCOMPARE(value(), before);
        if (enter)
            QTest::keyClick(edit, Qt::Key_Return);
        else
            rig.find("ChBox")->setFocus();
        QCOMPARE(value(), stored);
        QVERIFY(rig.window.isVisible()); // Enter presses no button
    }

    // Rendering calls nothing back: each call publishes as often with the window as without it.
    void renderingDoesNotFeedBack()
    {
        testing::ScriptedReceiver bare;
        FreqDirectory alone {{bare.link, bare.port, bare.dialogs, bare.tables, *bare.stores}};
        Rig rig(false);
        bare.tables = rig.tables;
        QSignalSpy withWindow(&rig.logic, &FreqDirectory::changed);
        QSignalSpy without(&alone, &FreqDirectory::changed);
        const QList<std::pair<const char*, std::function<void(FreqDirectory&)>>> steps {
            {"open", [](FreqDirectory& l) { l.open(); }},
            {"name cell", [](FreqDirectory& l) { l.FreqList_Click(5, MT::kChName); }},
            {"DLY cell", [](FreqDirectory& l) { l.FreqList_Click(5, MT::kChDLY); }},
            {"L/O box", [](FreqDirectory& l) { l.L_OChk_Click(true); }},
            {"trunk type", [](FreqDirectory& l) { l.IDTypeBankBox_Click(MT::trunkTypeSelectors().at(2)); }},
            {"bank name", [](FreqDirectory& l) { l.IDBankNameBox_Change(QStringLiteral("Fire\r\n")); }},
            {"scanner", [](FreqDirectory& l) { l.Option1_Click(); }},
            {"bank 2 read", [](FreqDirectory& l) { l.BankCmb_Click(2); }},
        };
        for (const auto& [name, step] : steps) {
            step(rig.logic);
            step(alone);
            QVERIFY2(withWindow.size() == without.size(), name);
            QVERIFY2(rig.commands == bare.commands, name);
        }
        QCOMPARE(rig.tables, bare.tables);
        rig.logic.reader().stop();
        alone.reader().stop();
    }

    void busy_data()
    {
        QTest::addColumn<int>("phase");
        QTest::addColumn<bool>("stopButton"); // otherwise Esc
        QTest::addColumn<bool>("waitShown");
        QTest::addColumn<bool>("stopShown");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("idle: Esc closes") << int(Idle) << false << false << false << false;
        QTest::newRow("reading: Esc is ignored") << int(Reading) << false << true << false << true;
        QTest::newRow("uploading: Esc stops") << int(Uploading) << false << true << true << true;
        QTest::newRow("uploading: Stop stops") << int(Uploading) << true << true << true << true;
    }
    void busy()
    {
        QFETCH(int, phase);
        QFETCH(bool, stopButton);
        Rig rig;
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        QSignalSpy unloaded(&rig.logic, &FreqDirectory::mainWindowWanted);
        bool checked = false;
        auto checkAndStop = [&] {
            checked = true;
            QTEST(rig.find("WaitLbl")->isVisible(), "waitShown");
            QTEST(rig.find("ReadProgressBar")->isVisible(), "waitShown");
            QTEST(rig.find("StopCmd")->isVisible(), "stopShown");
            if (stopButton)
                QTest::mouseClick(rig.find("StopCmd"), Qt::LeftButton);
            else
                QTest::keyClick(&rig.window, Qt::Key_Escape);
            QTEST(rig.window.isVisible(), "staysOpen");
        };

        switch (phase) {
        case Idle:
            checkAndStop();
            QCOMPARE(unloaded.size(), 1);
            break;
        case Reading:
            testing::clickLeft(rig.find("Option1"));
            QTest::keyClick(rig.find("BankCmb"), Qt::Key_Down);
            QVERIFY(rig.logic.reader().isRunning());
            QCOMPARE(rig.logic.reader().bank(), 2);
            checkAndStop();
            QVERIFY(rig.logic.reader().isRunning());
            rig.logic.reader().stop();
            QVERIFY(rig.find("WaitLbl")->isHidden());
            break;
        case Uploading:
            rig.dialogs.answers = {Button::Yes};
            rig.onCommand = [&](const QString& c) {
                if (!checked && c.startsWith(QLatin1String("PM")))
                    checkAndStop();
            };
            QTest::mouseClick(rig.find("DataSendToScannerCmd"), Qt::LeftButton);
            QVERIFY2(rig.pmSent() < 6, "the upload went on");
            QCOMPARE(rig.dialogs.messages.last().title, QStringLiteral("Upload Stopped"));
            QVERIFY(rig.find("StopCmd")->isHidden());
            QVERIFY(rig.find("WaitLbl")->isHidden());
            break;
        }
        QVERIFY(checked);
    }
};

VEXLOR_TEST_MAIN(TestFreqDirWindow)

} // namespace
} // namespace tst_freqdir_window

#include "tst_freqdir_window.moc"
