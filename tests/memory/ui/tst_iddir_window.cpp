#include "../ScriptedReceiver.h"
#include "memory/IDDirectory.h"
#include "memory/ui/IDdir.h"
#include "TestSuite.h"
#include "WidgetProbe.h"

#include <QSignalSpy>

namespace tst_iddir_window {
namespace {

using namespace vexlor;
using memory::IDDirectory;
using MT = memory::MemoryTables;
using Button = platform::Dialogs::Button;

namespace {

// A trunked receiver on bank 1; list 1 of the file holds five IDs, slot 3 the one edited.
struct Rig : testing::ScriptedReceiver {
    IDDirectory logic {{link, dialogs, tables, *stores}};
    memory::IDdir window {logic};

    explicit Rig(bool opened = true)
    {
        link.setSerialPortTimeout(3);
        answer = [](const QString& c) -> QByteArray {
            if (c == QLatin1String("SB"))
                return "SB AC";
            if (c.startsWith(QLatin1String("SB ")))
                return c.toLatin1();
            if (c.startsWith(QLatin1String("IC ")))
                return c.toLatin1() + " 000000";
            return "OK";
        };
        for (int s = 1; s <= 5; ++s) {
            tables.IDs.set(1, s, MT::kIdCh, MT::slotLabel(s));
            tables.IDs.set(1, s, MT::kIdId, QStringLiteral("00203%1").arg(s));
        }
        tables.IDs.set(1, 3, MT::kIdType, QStringLiteral("POL"));
        tables.IDs.set(1, 3, MT::kIdName, QStringLiteral("Dispatch"));
        if (opened) {
            logic.open();
            logic.IDT().stop();
            logic.IDT_Timer();
        }
    }
    template <class T = QWidget>
    T* find(const QString& name) const { return window.findChild<T*>(name); }
    void show()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    void click(int row, int col) const { testing::clickCell(find<QTableWidget>(QStringLiteral("IDList")), row, col); }
    QString cell(int col) const { return tables.IDs.text(1, 3, col); }
};

enum Phase { Idle, Reading, Uploading };

} // namespace

class TestIDdirWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption"); // the tooltip of a picture button
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("maxLength");
        const QStringList numbers {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
        auto row = [](const char* name, const char* text, const QStringList& list = {}, int max = 0) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text) << list << max;
        };
        row("Frame1", "Selected ID Details");
        row("Frame2", "Data from");
        row("Frame3", "Data Send To");
        row("Label1", "Freq Bank");
        row("Label2", "Channel :");
        row("Label3", "Type :");
        row("Label4", "ID :");
        row("Label5", "Name :");
        row("Label6", "* Primary Scanner, but also File for the Name");
        row("Label7", "ID Bank");
        row("TypeLbl", "Type :");
        row("ConvertLbl", "Convert it!");
        row("Option1", "Scanner*");
        row("Option2", "File");
        row("SendToScanner", "Scanner");
        row("OKCmd", "OK");
        row("CancelCmd", "Cancel");
        row("StopCmd", "Stop");
        row("SaveImg", "Save this ID");
        row("DeleteImg", "Clear this ID");
        row("IDTypeBankBox", "");
        row("WaitLbl", "");
        row("BankCmb", "", numbers);
        row("IDBankCmb", "", numbers);
        row("TypeCmb", "", MT::typeCodeList(), 3);
        row("IDbox", "", {}, 6);
        row("NameBox", "", {}, 40);
        row("ChBox", "", {}, 5);
        row("ReadProgressBar", "");
        row("IDList", "");
    }
    void controls()
    {
        QFETCH(QString, name);
        Rig rig(false);
        QCOMPARE(rig.window.objectName(), QStringLiteral("IDdir"));
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("ID Directory"));
        const QWidget* w = rig.find(name);
        QVERIFY(w);
        QTEST(testing::caption(w), "caption");
        QTEST(testing::items(w), "items");
        QTEST(testing::maxLength(w), "maxLength");
    }

    void editing_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed"); // "<Down>": the next item of the list
        QTest::addColumn<QString>("finish"); // Enter, or the picture button pressed
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("stored");
        QTest::newRow("name, Enter") << "NameBox" << "Tac 2" << "Enter" << int(MT::kIdName) << "Tac 2";
        QTest::newRow("ID, saved") << "IDbox" << "4112" << "SaveImg" << int(MT::kIdId) << "004112";
        QTest::newRow("type picked, saved") << "TypeCmb" << "<Down>" << "SaveImg" << int(MT::kIdType) << "PTP";
        QTest::newRow("type typed, saved") << "TypeCmb" << "MED" << "SaveImg" << int(MT::kIdType) << "MED";
        QTest::newRow("cleared") << "" << "" << "DeleteImg" << int(MT::kIdId) << "------";
    }
    void editing()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, finish);
        QFETCH(int, col);
        Rig rig;
        rig.show();
        rig.click(3, MT::kIdName);
        QCOMPARE(rig.find<QLineEdit>("ChBox")->text(), QStringLiteral("1-3"));
        QCOMPARE(rig.find<QLineEdit>("IDbox")->text(), QStringLiteral("002033"));
        QCOMPARE(rig.find<QComboBox>("TypeCmb")->currentText(), QStringLiteral("POL"));
        QCOMPARE(rig.find<QLineEdit>("NameBox")->text(), QStringLiteral("Dispatch"));
        const QString before = rig.cell(col);

        if (!box.isEmpty()) {
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
        }
        QCOMPARE(rig.cell(col), before);
        if (finish == QLatin1String("Enter"))
            QTest::keyClick(rig.find(box), Qt::Key_Return);
        else
            QTest::mouseClick(rig.find(finish), Qt::LeftButton);
        QTEST(rig.cell(col), "stored");
        QTEST(rig.find<QTableWidget>("IDList")->item(2, col)->text(), "stored");
        QVERIFY(rig.window.isVisible()); // Enter presses no button
    }

    void clicks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Convert it!") << "ConvertLbl" << true << false;
        QTest::newRow("OK") << "OKCmd" << false << true;
        QTest::newRow("Cancel") << "CancelCmd" << false << true;
    }
    void clicks()
    {
        QFETCH(QString, name);
        QFETCH(bool, converts);
        Rig rig;
        rig.show();
        QSignalSpy convert(&rig.logic, &IDDirectory::convertWanted);
        testing::clickLeft(rig.find(name));
        QCOMPARE(convert.size(), converts ? 1 : 0);
        QTEST(!rig.window.isVisible(), "closes");
    }

    // Rendering calls nothing back: each call publishes as often with the window as without it.
    void renderingDoesNotFeedBack()
    {
        testing::ScriptedReceiver bare;
        IDDirectory alone {{bare.link, bare.dialogs, bare.tables, *bare.stores}};
        Rig rig(false);
        bare.answer = rig.answer;
        bare.link.setSerialPortTimeout(3);
        bare.tables = rig.tables;
        QSignalSpy withWindow(&rig.logic, &IDDirectory::changed);
        QSignalSpy without(&alone, &IDDirectory::changed);
        const QList<std::pair<const char*, std::function<void(IDDirectory&)>>> steps {
            {"open", [](IDDirectory& l) { l.open(); l.IDT().stop(); l.IDT_Timer(); }},
            {"slot", [](IDDirectory& l) { l.IDList_Click(3, MT::kIdType); }},
            {"type", [](IDDirectory& l) { l.TypeCmb_Click(QStringLiteral("MED")); }},
            {"saved", [](IDDirectory& l) { l.CommitID(); }},
            {"scanner", [](IDDirectory& l) { l.Option1_Click(); }},
            {"list 2 read", [](IDDirectory& l) { l.IDBankCmb_Click(2); }},
            {"bank 2", [](IDDirectory& l) { l.BankCmb_Click(2); }},
        };
        for (const auto& [name, step] : steps) {
            step(rig.logic);
            step(alone);
            QVERIFY2(withWindow.size() == without.size(), name);
            QVERIFY2(rig.commands == bare.commands, name);
        }
        QCOMPARE(rig.tables, bare.tables);
    }

    void busy_data()
    {
        QTest::addColumn<int>("phase");
        QTest::addColumn<bool>("stopButton"); // otherwise Esc
        QTest::addColumn<bool>("stopShown");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("idle: Esc closes") << int(Idle) << false << false << false;
        QTest::newRow("reading: Esc is ignored") << int(Reading) << false << false << true;
        QTest::newRow("uploading: Esc stops") << int(Uploading) << false << true << true;
        QTest::newRow("uploading: Stop stops") << int(Uploading) << true << true << true;
    }
    void busy()
    {
        QFETCH(int, phase);
        QFETCH(bool, stopButton);
        Rig rig;
        rig.show();
        QSignalSpy unloaded(&rig.logic, &IDDirectory::mainWindowWanted);
        bool checked = false;
        auto checkAndStop = [&] {
            checked = true;
            const bool busy = phase != Idle;
            QCOMPARE(rig.find("WaitLbl")->isVisible(), busy);
            QCOMPARE(rig.find("ReadProgressBar")->isVisible(), busy);
            QTEST(rig.find("StopCmd")->isVisible(), "stopShown");
            for (const char* name : {"BankCmb", "IDBankCmb", "Option1", "Option2", "SendToScanner", "OKCmd"})
                QVERIFY2(rig.find(name)->isEnabled() != busy, name);
            if (stopButton)
                QTest::mouseClick(rig.find("StopCmd"), Qt::LeftButton);
            else
                QTest::keyClick(&rig.window, Qt::Key_Escape);
            QTEST(rig.window.isVisible(), "staysOpen");
        };
        auto countOf = [&](const char* prefix) {
            return rig.commands.filter(QRegularExpression(QLatin1Char('^') + QLatin1String(prefix))).size();
        };

        switch (phase) {
        case Idle:
            checkAndStop();
            QCOMPARE(unloaded.size(), 1);
            break;
        case Reading:
            testing::clickLeft(rig.find("Option1"));
            rig.onCommand = [&](const QString& c) {
                if (!checked && c.startsWith(QLatin1String("IC ")))
                    checkAndStop();
            };
            QTest::keyClick(rig.find("IDBankCmb"), Qt::Key_Down);
            QCOMPARE(rig.logic.list(), 2);
            QCOMPARE(countOf("IC "), 10); // the read went on to the end
            break;
        case Uploading:
            rig.dialogs.answers = {Button::Yes};
            rig.onCommand = [&](const QString& c) {
                if (!checked && c.startsWith(QLatin1String("TG ")))
                    checkAndStop();
            };
            QTest::mouseClick(rig.find("SendToScanner"), Qt::LeftButton);
            QVERIFY2(countOf("TG ") < 5, "the upload went on");
            QCOMPARE(rig.dialogs.messages.last().title, QStringLiteral("Upload Stopped"));
            QVERIFY(rig.find("StopCmd")->isHidden());
            break;
        }
        QVERIFY(checked);
        QVERIFY(rig.find("BankCmb")->isEnabled());
    }
};

VEXLOR_TEST_MAIN(TestIDdirWindow)

} // namespace
} // namespace tst_iddir_window

#include "tst_iddir_window.moc"
