#include "memory/IDDirectory.h"
#include "ScriptedReceiver.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_iddirectory {
namespace {

using namespace vexlor;
using memory::IDDirectory;
using memory::MemoryTables;
using MT = MemoryTables;
using Button = platform::Dialogs::Button;

namespace {

// A trunked receiver: "SB" answers "SB AC"; list C of the current bank holds
// the IDs below; the IDs in `locked` answer "OK" to "ILD".
struct Rig : testing::ScriptedReceiver {
    IDDirectory dir {{link, dialogs, tables, *stores}};
    QHash<QString, QByteArray> ids; // "C3" -> reply field
    QSet<QString> locked;

    Rig()
    {
        link.setSerialPortTimeout(3);
        answer = [this](const QString& c) -> QByteArray {
            if (c == QLatin1String("SB"))
                return "SB AC";
            if (c.startsWith(QLatin1String("SB ")))
                return c.toLatin1();
            if (c.startsWith(QLatin1String("IC ")))
                return "IC " + c.mid(3).toLatin1() + ' ' + ids.value(c.mid(3), "000000");
            if (c.startsWith(QLatin1String("ILD ")))
                return locked.contains(c.mid(4)) ? "OK" : "OFF";
            return "OK";
        };
    }
    // Opened on bank 1, list 1, from the file.
    void open()
    {
        dir.open();
        dir.IDT().stop();
        dir.IDT_Timer();
    }
    void readList(int bank, int list)
    {
        dir.BankCmb_Click(bank);
        dir.Option1_Click();
        commands.clear();
        dir.IDBankCmb_Click(list);
    }
};

} // namespace

class TestIDDirectory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnTheReceiversBanks()
    {
        Rig rig;
        rig.open();
        QCOMPARE(rig.commands, (QStringList {"MUN", "QUF", "IDF", "SB", "MUA", "QUN", "IDN", "MUN", "QUF", "IDF",
                                             "SB A", "MA001", "KEY13", "MUA", "QUN", "IDN"}));
        QCOMPARE(rig.dir.SavedBankReply(), QStringLiteral("SB AC"));
        QCOMPARE(rig.dir.state().IDList.size(), 10);
        QVERIFY(rig.mainTimer.isActive());
        rig.commands.clear();
        rig.dir.Form_Unload();
        QCOMPARE(rig.commands, QStringList {"SB AC"});
    }

    // A receiver with no active bank gets none back, not a question.
    void noActiveBankGoesBackAsNone()
    {
        Rig rig;
        const auto usual = rig.answer;
        rig.answer = [usual](const QString& c) { return c == QLatin1String("SB") ? QByteArray("SB ") : usual(c); };
        rig.open();
        rig.commands.clear();
        rig.dir.Form_Unload();
        QCOMPARE(rig.commands, QStringList {"SB "});
    }

    void failures_data()
    {
        QTest::addColumn<QString>("refused"); // commands answered by `answer` instead
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("box");
        QTest::newRow("active banks: NG") << "SB" << QByteArray("NG")
                                          << "Unable To Query Scanner For Active Banks\r\nPlease verify and try again.";
        QTest::newRow("active banks: something else for ever")
            << "SB" << QByteArray("XYZ") << "Unable To Query Scanner For Active Banks\r\nPlease verify and try again.";
        QTest::newRow("bank switch") << "SB A" << QByteArray("NG")
                                     << "Is this bank TRUNKED?\r\nPlease verify and try again.";
        QTest::newRow("silent") << "SB" << QByteArray()
                                << "Unable To Query Scanner For Active Banks\r\nPlease verify and try again.";
    }
    void failures()
    {
        QFETCH(QString, refused);
        QFETCH(QByteArray, answer);
        QFETCH(QString, box);
        Rig rig;
        const auto normal = rig.answer;
        rig.answer = [&](const QString& c) { return c == refused ? answer : normal(c); };
        bool closed = false;
        connect(&rig.dir, &IDDirectory::closeWanted, [&] { closed = true; });
        const qint64 t0 = rig.clock.monotonicMs();
        rig.open();
        // Bounded by the serial time-out (once for the query, once for a silent last try).
        QVERIFY(rig.clock.monotonicMs() - t0 <= 3 * 3000 + 500);
        QVERIFY(closed);
        QCOMPARE(rig.dialogs.texts(), QStringList {box});
        QVERIFY(rig.mainTimer.isActive());
        QVERIFY(!rig.link.isBusy());
    }

    void readsAList()
    {
        Rig rig;
        rig.open();
        rig.ids = {{"C0", "004321"}, {"C1", "001234"}, {"C2", "000000"}, {"C3", "12\xfe" "456"}, {"C4", "002001"}};
        rig.locked = {"001234"};
        QStringList shown;
        connect(&rig.dir, &IDDirectory::changed, [&] {
            if (rig.dir.state().WaitLblVisible && !shown.contains(rig.dir.state().WaitLbl))
                shown << rig.dir.state().WaitLbl;
        });
        rig.readList(1, 3);
        const QStringList expected {"MUN", "QUF", "IDF", "KEY07", "IC C0", "ILD 004321", "IC C1", "ILD 001234",
                                    "ILR 001234", "IC C2", "IC C3", "IC C4", "ILD 002001", "IC C5", "IC C6", "IC C7",
                                    "IC C8", "IC C9", "KEY00", "MUA", "QUN", "IDN"};
        QCOMPARE(rig.commands, expected);
        QCOMPARE(shown.mid(0, 3), (QStringList {"Preparing to read IDs...", "Reading ID (3-10)", "Reading ID (3-1)"}));
        const auto& t = rig.tables.IDs;
        QCOMPARE(t.text(1, 30, MT::kIdCh), QStringLiteral("3-10"));
        QCOMPARE(t.text(1, 30, MT::kIdLO), QString());
        QCOMPARE(t.text(1, 21, MT::kIdLO), QStringLiteral("="));  // locked: probed and put back
        QCOMPARE(t.text(1, 22, MT::kIdLO), QStringLiteral("="));  // 000000
        QCOMPARE(t.text(1, 23, MT::kIdId), QStringLiteral("12=456"));
        QCOMPARE(t.text(1, 23, MT::kIdLO), QStringLiteral("="));
        QCOMPARE(rig.dir.state().IDList.at(0).at(1), QStringLiteral("001234"));
        QVERIFY(rig.dir.state().TypeLblVisible && !rig.dir.state().WaitLblVisible);
    }

    void listReadFailsOrStops_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("IC refused") << "ic" << QStringList {"Is this bank TRUNKED?\r\nPlease verify and try again."};
        QTest::newRow("silent from IC A3 on")
            << "silent" << QStringList {"Is this bank TRUNKED?\r\nPlease verify and try again."};
        QTest::newRow("ILD answered oddly for ever")
            << "ild" << QStringList {"Is this bank TRUNKED?\r\nPlease verify and try again."};
        QTest::newRow("window closed") << "close" << QStringList {};
    }
    void listReadFailsOrStops()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, boxes);
        Rig rig;
        rig.open();
        rig.ids = {{"A2", "000777"}};
        bool silent = false;
        const auto normal = rig.answer;
        rig.answer = [&](const QString& c) -> QByteArray {
            if (how == QLatin1String("ic") && c == QLatin1String("IC A3"))
                return "NG";
            if (how == QLatin1String("silent") && (c == QLatin1String("IC A3") || silent))
                return (silent = true, QByteArray());
            if (how == QLatin1String("ild") && c.startsWith(QLatin1String("ILD")))
                return "IC A2 000777";
            return normal(c);
        };
        QString waitDuringBox;
        rig.dialogs.onMessage = [&](const auto&) { waitDuringBox = rig.dir.state().WaitLbl; };
        rig.onCommand = [&](const QString& c) {
            if (how == QLatin1String("close") && c == QLatin1String("IC A3"))
                rig.dir.Form_Unload();
        };
        rig.readList(1, 1);
        QCOMPARE(rig.dialogs.texts(), boxes);
        if (!boxes.isEmpty())
            QCOMPARE(waitDuringBox, QStringLiteral("Trunked Mode Unavailable..."));
        const QStringList end = how == QLatin1String("close")
            ? QStringList {"IC A3", "KEY00", "MUA", "QUN", "IDN", "SB AC"}
            : QStringList {"KEY00", "MUA", "QUN", "IDN"};
        QCOMPARE(rig.commands.mid(rig.commands.size() - end.size()), end);
        QVERIFY(rig.mainTimer.isActive());
        QCOMPARE(rig.tables.IDs.text(1, 2, MT::kIdId), QStringLiteral("000777")); // what was read stays
    }

    void closedWhileOpening()
    {
        Rig rig;
        bool mainWanted = false;
        connect(&rig.dir, &IDDirectory::mainWindowWanted, [&] { mainWanted = true; });
        rig.onCommand = [&](const QString& c) {
            if (c == QLatin1String("SB A"))
                rig.dir.Form_Unload();
        };
        rig.open();
        // The bank switch in flight ends, then the receiver gets its banks back.
        QCOMPARE(rig.since(QStringLiteral("SB A")), (QStringList {"SB A", "MA001", "KEY13", "MUA", "QUN", "IDN", "SB AC"}));
        QVERIFY(mainWanted);
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void shutDownDuringAListRead()
    {
        Rig rig;
        rig.open();
        rig.onCommand = [&](const QString& c) {
            if (c == QLatin1String("IC A2"))
                rig.link.shutDown();
        };
        rig.readList(1, 1);
        QCOMPARE(rig.since(QStringLiteral("IC A2")), (QStringList {"IC A2", "KEY00", "SB AC", "MUA", "QUN", "IDN"}));
        QVERIFY(!rig.mainTimer.isActive());
        QCOMPARE(rig.dialogs.messages.size(), 0);
    }

    void editing()
    {
        Rig rig;
        rig.open();
        rig.dir.IDList_Click(4, 1);
        QCOMPARE(rig.dir.state().IDbox, QStringLiteral("000000")); // never filled
        rig.dir.IDbox_Change(QStringLiteral(" 42 "));
        rig.dir.TypeCmb_Click(QStringLiteral("POL"));
        rig.dir.NameBox_Change(QStringLiteral("Dispatch\r\n"));
        MemoryTables stored = rig.reloaded();
        QCOMPARE(stored.IDs.text(1, 4, MT::kIdId), QStringLiteral("000042"));
        QCOMPARE(stored.IDs.text(1, 4, MT::kIdCh), QStringLiteral("1-4"));
        QCOMPARE(stored.IDs.text(1, 4, MT::kIdName), QStringLiteral("Dispatch"));

        // The L/O cell goes straight to the receiver, lock then release.
        rig.commands.clear();
        rig.dir.IDList_Click(4, 4);
        rig.dir.IDList_Click(4, 4);
        QCOMPARE(rig.commands, (QStringList {"ILR 000042", "ILD 000042"}));

        rig.dir.IDList_Click(5, 3);
        rig.dir.DeleteImg_Click();
        stored = rig.reloaded();
        QCOMPARE(stored.IDs.text(1, 5, MT::kIdId), QStringLiteral("------"));
        QCOMPARE(stored.IDs.text(1, 5, MT::kIdLO), QStringLiteral("="));
    }

    // The L/O cell goes to the receiver only when it took the bank as a trunked one.
    void lockOutReachesOnlyTheBankShown_data()
    {
        QTest::addColumn<QByteArray>("trunkKey"); // the answer to "KEY13"
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("trunked bank") << QByteArray("OK") << QStringList {"ILR 000042"};
        QTest::newRow("conventional bank") << QByteArray("NG") << QStringList {};
    }
    void lockOutReachesOnlyTheBankShown()
    {
        QFETCH(QByteArray, trunkKey);
        QFETCH(QStringList, sent);
        Rig rig;
        rig.link.setSerialPortTimeout(0.2);
        const auto answer = rig.answer;
        rig.answer = [&](const QString& c) { return c == QLatin1String("KEY13") ? trunkKey : answer(c); };
        rig.open();
        rig.dir.BankCmb_Click(2);
        rig.dir.IDList_Click(4, 1);
        rig.dir.IDbox_Change(QStringLiteral("42"));
        rig.dir.CommitID();
        rig.commands.clear();
        rig.dir.IDList_Click(4, 4);
        QCOMPARE(rig.commands, sent);
        QCOMPARE(rig.tables.IDs.text(2, 4, MT::kIdLO), QStringLiteral("="));
    }

    // Save, Enter and Clear act on the slot the window shows, never on one
    // clicked in another list or before the window was last closed.
    void editsReachOnlyTheSlotShown_data()
    {
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("action");
        for (const char* after : {"list change", "reopen"}) {
            for (const char* action : {"save", "enter", "clear"})
                QTest::addRow("%s, %s", after, action) << after << action;
        }
        QTest::newRow("a never-filled slot saved as shown") << "" << "save";
    }
    void editsReachOnlyTheSlotShown()
    {
        QFETCH(QString, after);
        QFETCH(QString, action);
        Rig rig;
        rig.tables.IDs.set(1, 3, MT::kIdCh, QStringLiteral("1-3"));
        rig.tables.IDs.set(1, 3, MT::kIdId, QStringLiteral("004321"));
        rig.tables.IDs.set(1, 3, MT::kIdName, QStringLiteral("Keep"));
        QVERIFY(rig.stores->StoreIDList(1, 1));
        const MemoryTables before = rig.tables;
        const MemoryTables storedBefore = rig.reloaded();
        rig.open();
        rig.dir.IDList_Click(after.isEmpty() ? 4 : 3, 1);
        if (after == QLatin1String("list change")) {
            rig.dir.IDBankCmb_Click(2);
        } else if (after == QLatin1String("reopen")) {
            rig.dir.Form_Unload();
            rig.open();
        }
        if (action == QLatin1String("save"))
            rig.dir.CommitID();
        else if (action == QLatin1String("enter"))
            rig.dir.NameBox_Change(QStringLiteral("\r"));
        else
            rig.dir.DeleteImg_Click();
        QVERIFY(rig.tables == before);
        QVERIFY(rig.reloaded() == storedBefore);
    }

    // The channel box names the slot Save writes: another slot's label moves the edit there.
    void channelBoxNamesTheSlot_data()
    {
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QList<Button>>("answers");
        QTest::addColumn<int>("savedIn"); // 0: nothing saved
        QTest::newRow("same list") << "1-7" << QList<Button> {} << 7;
        QTest::newRow("another list") << " 2-1 " << QList<Button> {} << 11;
        QTest::newRow("held, kept") << "1-3" << QList<Button> {Button::No} << 0;
        QTest::newRow("held, replaced") << "1-3" << QList<Button> {Button::Yes} << 3;
        QTest::newRow("no such slot") << "11-1" << QList<Button> {} << 0;
        QTest::newRow("not a label") << "x" << QList<Button> {} << 0;
    }
    void channelBoxNamesTheSlot()
    {
        QFETCH(QString, channel);
        QFETCH(QList<Button>, answers);
        QFETCH(int, savedIn);
        Rig rig;
        rig.tables.IDs.set(1, 3, MT::kIdCh, QStringLiteral("1-3"));
        rig.tables.IDs.set(1, 3, MT::kIdId, QStringLiteral("004321"));
        QVERIFY(rig.stores->StoreIDList(1, 1));
        rig.open();
        rig.dir.IDList_Click(4, 1);
        rig.dir.IDbox_Change(QStringLiteral("77"));
        rig.dir.ChBox_Change(channel);
        rig.dialogs.answers.assign(answers.begin(), answers.end());
        rig.dir.CommitID();
        const MemoryTables stored = rig.reloaded();
        QCOMPARE(stored.IDs.text(1, 4, MT::kIdId), QString()); // the slot clicked keeps its nothing
        QCOMPARE(stored.IDs.text(1, 3, MT::kIdId), savedIn == 3 ? QStringLiteral("000077") : QStringLiteral("004321"));
        if (savedIn != 0) {
            QCOMPARE(stored.IDs.text(1, savedIn, MT::kIdId), QStringLiteral("000077"));
            QCOMPARE(stored.IDs.text(1, savedIn, MT::kIdCh), MT::slotLabel(savedIn));
            QCOMPARE(rig.dir.state().ChBox, MT::slotLabel(savedIn));
        } else {
            QCOMPARE(rig.dir.state().ChBox, answers.isEmpty() ? QStringLiteral("1-4") : channel);
        }
        QCOMPARE(rig.dialogs.messages.size(), savedIn == 0 || !answers.isEmpty() ? 1 : 0);
    }

    // A slot changed elsewhere while the window shows it: the editor takes the
    // new values, or asks when it holds an edit of the operator's.
    void editorFollowsChangesMadeElsewhere_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<Button>>("answers");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no edit") << QString() << QList<Button> {} << "Theirs";
        QTest::newRow("an edit, kept") << "Mine" << QList<Button> {Button::Yes} << "Mine";
        QTest::newRow("an edit, dropped") << "Mine" << QList<Button> {Button::No} << "Theirs";
    }
    void editorFollowsChangesMadeElsewhere()
    {
        QFETCH(QString, typed);
        QFETCH(QList<Button>, answers);
        Rig rig;
        rig.open();
        rig.dir.IDList_Click(3, 3);
        if (!typed.isEmpty())
            rig.dir.NameBox_Change(typed);
        const int other = 0;
        rig.tables.IDs.set(1, 3, MT::kIdCh, QStringLiteral("1-3"));
        rig.tables.IDs.set(1, 3, MT::kIdName, QStringLiteral("Theirs"));
        rig.dialogs.answers.assign(answers.begin(), answers.end());
        rig.tables.announce(memory::MemoryChange::ids(1, 3, 3, &other));
        QVERIFY(rig.dialogs.answers.empty());
        QTEST(rig.dir.state().NameBox, "shown");
        QCOMPARE(rig.dir.state().IDList.at(2).at(MT::kIdName), QStringLiteral("Theirs"));
    }

    // A bank switch refused while another exchange holds the line leaves the
    // window on its bank, so a list read lands where it came from.
    void refusedBankSwitchKeepsTheBank()
    {
        Rig rig;
        rig.open();
        QVERIFY(rig.link.claim(QStringLiteral("backup")));
        rig.dir.BankCmb_Click(3);
        QCOMPARE(rig.dialogs.messages.size(), 1);
        rig.link.unclaim(QStringLiteral("backup"));
        QCOMPARE(rig.dir.state().BankCmb, 1);
        QCOMPARE(rig.dir.bank(), 1);
        rig.ids.insert(QStringLiteral("A1"), "000555");
        rig.dir.Option1_Click();
        rig.dir.IDBankCmb_Click(1);
        QCOMPARE(rig.tables.IDs.text(1, 1, MT::kIdId), QStringLiteral("000555"));
        QVERIFY(rig.tables.IDs.at(3, 1, MT::kIdId).isEmpty());
    }

    // Reopened while its last exchange still runs, the window first gives the
    // receiver its banks back, then opens as it always does.
    void reopenedWhileItsExchangeEnds()
    {
        Rig rig;
        rig.open();
        rig.dir.Option1_Click();
        rig.onCommand = [&](const QString& c) {
            if (c == QLatin1String("IC A2")) {
                rig.onCommand = nullptr;
                rig.dir.Form_Unload();
                rig.dir.open();
            }
        };
        rig.commands.clear();
        rig.dir.IDBankCmb_Click(1);
        QTRY_VERIFY(rig.since(QStringLiteral("SB AC")).contains(QStringLiteral("KEY13")));
        const QStringList tail = rig.since(QStringLiteral("SB AC"));
        QCOMPARE(tail.mid(0, 5), (QStringList {"SB AC", "MUN", "QUF", "IDF", "SB"}));
        QVERIFY(tail.contains(QStringLiteral("SB A")));
    }

    void upload_data()
    {
        QTest::addColumn<QString>("mute"); // the command the receiver does not answer
        QTest::addColumn<QStringList>("tail");
        QTest::addColumn<QString>("report");
        QTest::newRow("answered") << "" << QStringList {"TG C B2 000000", "MA061", "KEY13", "MUA", "QUN", "IDN"}
                                  << "Upload finished: 2 IDs sent.";
        QTest::newRow("silent: the rest is not sent") << "TG C B0 001234"
                                                      << QStringList {"MA061", "KEY13", "MUA", "QUN", "IDN"}
                                                      << "Upload stopped: the scanner did not answer.";
    }
    void upload()
    {
        QFETCH(QString, mute);
        QFETCH(QStringList, tail);
        Rig rig;
        const auto normal = rig.answer;
        rig.answer = [&](const QString& c) { return c == mute ? QByteArray() : normal(c); };
        QStringList shown;
        connect(&rig.dir, &IDDirectory::changed, [&] {
            if (rig.dir.state().WaitLblVisible && !shown.contains(rig.dir.state().WaitLbl))
                shown << rig.dir.state().WaitLbl;
        });
        rig.open();
        auto slot = [&](int s, const QString& label, const QString& id) {
            rig.tables.IDs.set(3, s, MT::kIdCh, label);
            rig.tables.IDs.set(3, s, MT::kIdId, id);
        };
        slot(11, QStringLiteral("2-10"), QStringLiteral("001234"));
        slot(12, QStringLiteral("2-2"), QStringLiteral("------"));
        slot(13, QStringLiteral("2-x"), QStringLiteral("000099")); // no position: skipped
        slot(14, QStringLiteral("11-1"), QStringLiteral("000099")); // no such list: skipped
        slot(16, QStringLiteral("2-3"), QStringLiteral("12a")); // no number: not sent as zeros
        rig.tables.IDs.set(3, 15, MT::kIdName, QStringLiteral("never filled")); // no label: skipped
        rig.dir.BankCmb_Click(3);
        rig.dir.IDBankCmb_Click(2);
        rig.dialogs.answers.push_back(Button::Yes);
        rig.commands.clear();
        rig.dir.SendToScanner_Click();
        QCOMPARE(rig.commands, (QStringList {"MUN", "QUF", "IDF", "MA001", "AFF", "TG C B0 001234"} + tail));
        QTEST(rig.dialogs.messages.last().text, "report");
        QCOMPARE(shown.first(), QStringLiteral("Loading Form.."));
        QVERIFY(shown.contains(QStringLiteral("Uploading to scanner..")));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestIDDirectory)

} // namespace
} // namespace tst_iddirectory

#include "tst_iddirectory.moc"
