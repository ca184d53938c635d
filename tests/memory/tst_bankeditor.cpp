#include "FakeClipboard.h"
#include "memory/BankEditor.h"
#include "ScriptedReceiver.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_bankeditor {
namespace {

using namespace vexlor;
using memory::BankEditor;
using memory::MemoryTables;
using MT = MemoryTables;
using Button = platform::Dialogs::Button;

namespace {

struct Rig : testing::ScriptedReceiver {
    fakes::FakeClipboard clipboard;
    BankEditor editor {{dialogs, clipboard, tables, *stores, {[](int bank) { return bank * 15; }, [] { return QStringLiteral("VR 1.02"); },
                                                     [] { return QStringLiteral("SI BC245XLT"); }}}};
};

using Snapshot = memory::BankGrid::Snapshot;
using Change = std::function<void(BankEditor&)>;

Change select(int row, int col, int rowEnd, int colEnd, std::function<void(BankEditor&)> then)
{
    return [=](BankEditor& e) {
        e.selectCells(row, col, rowEnd, colEnd);
        then(e);
    };
}

} // namespace

class TestBankEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bankPageFollowsTheBank()
    {
        Rig rig;
        rig.tables.BankNames.set(3, QStringLiteral("County"));
        rig.tables.BankTrunkTypes.set(3, QStringLiteral("E2-800"));
        rig.editor.open();
        rig.editor.HScroll1_Change(3);
        const memory::BanksState& s = rig.editor.state();
        QCOMPARE(s.tabCaptions, (std::array<QString, 3> {"Bank(03)", "Frequencies(03)", "Scan List IDs(03)"}));
        QCOMPARE(s.BankNumber, QStringLiteral("03"));
        QCOMPARE(s.BankNameBox, QStringLiteral("County"));
        QCOMPARE(s.BankTypeBox, 2);
        QCOMPARE(s.PCH, QStringLiteral("Priority Channel: 045"));
        QCOMPARE(s.SI_lbl, QStringLiteral("SI BC245XLT"));

        rig.editor.BankNameBox_Change(QStringLiteral("  Fire  "));
        rig.editor.BankTypeBox_Click(6);
        rig.editor.save();
        const MemoryTables again = rig.reloaded();
        QCOMPARE(again.bankName(3), QStringLiteral("Fire"));
        QCOMPARE(again.bankTrunkType(3), QStringLiteral("EDACS"));
    }

    // A change made elsewhere while Banks shows the bank: rows the operator
    // left alone follow it and Save never reverts it; an edit of the same
    // record is saved only when the operator says so.
    void changesMadeElsewhere_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("mine");   // the record the operator edits (row = its place in the grid)
        QTest::addColumn<int>("theirs"); // the record changed elsewhere
        QTest::addColumn<QList<Button>>("answers");
        QTest::addColumn<QString>("theirsAfter");
        QTest::newRow("channels: another row") << 1 << 3 << 5 << QList<Button> {} << "Theirs";
        QTest::newRow("channels: same row, keep theirs") << 1 << 5 << 5 << QList<Button> {Button::No} << "Theirs";
        QTest::newRow("channels: same row, keep mine") << 1 << 5 << 5 << QList<Button> {Button::Yes} << "Mine";
        QTest::newRow("IDs: another row") << 2 << 1 << 2 << QList<Button> {} << "Theirs";
        QTest::newRow("IDs: same row, keep theirs") << 2 << 1 << 1 << QList<Button> {Button::No} << "Theirs";
    }
    void changesMadeElsewhere()
    {
        QFETCH(int, tab);
        QFETCH(int, mine);
        QFETCH(int, theirs);
        QFETCH(QList<Button>, answers);
        Rig rig;
        for (int n = 1; n <= 6; ++n) {
            rig.tables.Channels.set(n, MT::kChCh, n);
            rig.tables.Channels.set(n, MT::kChFrequency, QStringLiteral("154.0000"));
        }
        QVERIFY(rig.stores->StoreChannelRange(1, 6));
        for (int slot : {1, 2}) {
            rig.tables.IDs.set(1, slot, MT::kIdCh, MT::slotLabel(slot));
            rig.tables.IDs.set(1, slot, MT::kIdId, QStringLiteral("00012%1").arg(slot));
            QVERIFY(rig.stores->StoreIDSlot(1, slot));
        }
        rig.editor.open();
        rig.editor.SSTab1_Click(tab);
        rig.editor.beginEdit(mine, 3);
        rig.editor.endEdit(QStringLiteral("Mine"));
        const int other = 0;
        if (tab == 1) {
            rig.tables.Channels.set(theirs, MT::kChCh, theirs);
            rig.tables.Channels.set(theirs, MT::kChName, QStringLiteral("Theirs"));
            QVERIFY(rig.stores->StoreChannelRange(theirs, theirs));
            rig.tables.announce(memory::MemoryChange::channels(theirs, theirs, &other));
        } else {
            rig.tables.IDs.set(1, theirs, MT::kIdName, QStringLiteral("Theirs"));
            QVERIFY(rig.stores->StoreIDSlot(1, theirs));
            rig.tables.announce(memory::MemoryChange::ids(1, theirs, theirs, &other));
        }
        if (mine != theirs)
            QCOMPARE(rig.editor.currentGrid().cell(theirs, 3), QStringLiteral("Theirs"));
        rig.dialogs.answers.assign(answers.begin(), answers.end());
        rig.editor.save();
        QVERIFY(rig.dialogs.answers.empty());
        const MemoryTables again = rig.reloaded();
        auto name = [&](int record) {
            return tab == 1 ? again.Channels.text(record, MT::kChName) : again.IDs.text(1, record, MT::kIdName);
        };
        QTEST(name(theirs), "theirsAfter");
        if (mine != theirs)
            QCOMPARE(name(mine), QStringLiteral("Mine"));
    }

    // The bank page: a name changed elsewhere shows in a box left alone, and Save asks before writing over it.
    void bankPageFollowsChangesMadeElsewhere_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<Button>>("answers");
        QTest::addColumn<QString>("saved");
        QTest::newRow("box left alone") << QString() << QList<Button> {} << "Theirs";
        QTest::newRow("box edited, keep theirs") << "Mine" << QList<Button> {Button::No} << "Theirs";
        QTest::newRow("box edited, keep mine") << "Mine" << QList<Button> {Button::Yes} << "Mine";
    }
    void bankPageFollowsChangesMadeElsewhere()
    {
        QFETCH(QString, typed);
        QFETCH(QList<Button>, answers);
        Rig rig;
        rig.editor.open();
        if (!typed.isEmpty())
            rig.editor.BankNameBox_Change(typed);
        const int other = 0;
        rig.tables.BankNames.set(1, QStringLiteral("Theirs"));
        QVERIFY(rig.stores->StoreBankName(1));
        rig.tables.announce(memory::MemoryChange::bankData(1, &other));
        QCOMPARE(rig.editor.state().BankNameBox, typed.isEmpty() ? QStringLiteral("Theirs") : typed);
        rig.dialogs.answers.assign(answers.begin(), answers.end());
        rig.editor.save();
        QVERIFY(rig.dialogs.answers.empty());
        QTEST(rig.reloaded().bankName(1), "saved");
    }

    // A stored trunk type the selector lacks shows as none, and a Save of the page keeps it.
    void unlistedTrunkTypeIsKept()
    {
        Rig rig;
        rig.tables.BankTrunkTypes.set(2, QStringLiteral("P25"));
        QVERIFY(rig.stores->StoreBankTrunkType(2));
        rig.editor.open();
        rig.editor.HScroll1_Change(2);
        QCOMPARE(rig.editor.state().BankTypeBox, -1);
        rig.editor.BankNameBox_Change(QStringLiteral("Digital"));
        rig.editor.save();
        QCOMPARE(rig.reloaded().bankTrunkType(2), QStringLiteral("P25"));
        QCOMPARE(rig.reloaded().bankName(2), QStringLiteral("Digital"));
    }

    void channelRowsSaveByTheirOwnNumber()
    {
        Rig rig;
        rig.editor.open();
        rig.editor.SSTab1_Click(1);
        QCOMPARE(rig.editor.ChannelGrid().rowCount(), 31);
        // An edit still open when the tab changes is dropped.
        rig.editor.beginEdit(2, 3);
        rig.editor.SSTab1_Click(1);
        rig.editor.endEdit(QStringLiteral("lost"));
        QCOMPARE(rig.editor.ChannelGrid().cell(2, 3), QString());
        // Row 1 (channel 1) now names channel 45 of bank 2.
        rig.editor.beginEdit(1, 0);
        rig.editor.endEdit(QStringLiteral("45"));
        rig.editor.beginEdit(1, 1);
        rig.editor.endEdit(QStringLiteral("154.43"));
        rig.editor.save();
        const MemoryTables again = rig.reloaded();
        QCOMPARE(again.Channels.text(45, MT::kChFrequency), QStringLiteral("154.4300"));
        QCOMPARE(again.Channels.text(45, MT::kChMode), QStringLiteral("Normal"));
        QVERIFY(again.Channels.at(1, MT::kChFrequency).isEmpty());
        // Rows only shown fill no channel.
        QVERIFY(again.Channels.at(2, MT::kChCh).isEmpty());
    }

    void refusedFrequenciesStayUnsaved()
    {
        Rig rig;
        rig.editor.open();
        rig.editor.SSTab1_Click(1);
        const QStringList typed {QStringLiteral("600.0000"), QStringLiteral("154.4310"), QStringLiteral("154.43")};
        for (int row = 1; row <= typed.size(); ++row) {
            rig.editor.beginEdit(row, 0);
            rig.editor.endEdit(QString::number(row));
            rig.editor.beginEdit(row, 1);
            rig.editor.endEdit(typed[row - 1]);
        }
        rig.editor.save();
        const MemoryTables again = rig.reloaded();
        QVERIFY(again.Channels.at(1, MT::kChFrequency).isEmpty());
        QVERIFY(again.Channels.at(2, MT::kChFrequency).isEmpty());
        QCOMPARE(again.Channels.text(3, MT::kChFrequency), QStringLiteral("154.4300"));
        QCOMPARE(int(rig.dialogs.messages.size()), 1);
        QCOMPARE(rig.dialogs.messages.first().text, QStringLiteral("2 channel(s) not saved."));
        QVERIFY(rig.dialogs.messages.first().informative.startsWith(QStringLiteral("Channel 1: 600.0000 MHz is outside")));
        // What the operator typed stays in the grid to be corrected.
        QCOMPARE(rig.editor.ChannelGrid().cell(1, 1), QStringLiteral("600.0000"));
    }

    void idRowsSaveByLabel_data()
    {
        QTest::addColumn<QList<Button>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("lastSaved"); // the row after the invalid ones
        QTest::newRow("Yes to each") << QList<Button> {Button::Yes, Button::Yes, Button::Yes, Button::Yes} << 4 << true;
        QTest::newRow("No stops the save") << QList<Button> {Button::No} << 1 << false;
    }
    void idRowsSaveByLabel()
    {
        QFETCH(QList<Button>, answers);
        Rig rig;
        rig.dialogs.answers.assign(answers.begin(), answers.end());
        rig.editor.open();
        rig.editor.HScroll1_Change(4);
        rig.editor.SSTab1_Click(2);
        rig.editor.IDGrid().setDataRows({{"3-10", "001234", "POL", "Patrol", "x"},
                                         {"11-1", "1"},
                                         {"0-5", "2"},
                                         {"", "skipped silently"},
                                         {"35", "3"},
                                         {"1.5-5", "4"},
                                         {" 1-1 ", "004321"}});
        QFETCH(int, questions);
        QFETCH(bool, lastSaved);
        QCOMPARE(rig.editor.save(), lastSaved);
        QCOMPARE(int(rig.dialogs.messages.size()), questions);
        QCOMPARE(rig.dialogs.messages.first().text, QStringLiteral("Scan List Index is INVALID!\r\nContinue with Next Row?"));
        QCOMPARE(rig.dialogs.messages.first().title, QStringLiteral("Continue?"));
        // Written through to the store: a restart keeps them.
        const MemoryTables again = rig.reloaded();
        QCOMPARE(again.IDs.text(4, 30, MT::kIdId), QStringLiteral("001234"));
        QCOMPARE(again.IDs.text(4, 30, MT::kIdName), QStringLiteral("Patrol"));
        QCOMPARE(again.IDs.text(4, 1, MT::kIdId), lastSaved ? QStringLiteral("004321") : QString());
    }

    // Labels the editor takes are saved as their slot's own, so they load again.
    void oddLabelsSaveAsTheSlotsOwn_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("slot");
        QTest::newRow("blanks") << " 3 - 4" << 24;
        QTest::newRow("sign") << "+1-5" << 5;
        QTest::newRow("decimal") << "1.0-6" << 6;
    }
    void oddLabelsSaveAsTheSlotsOwn()
    {
        QFETCH(QString, typed);
        QFETCH(int, slot);
        Rig rig;
        rig.editor.open();
        rig.editor.SSTab1_Click(2);
        rig.editor.IDGrid().setDataRows({{typed, "004321", "POL", "Patrol", ""}});
        QVERIFY(rig.editor.save());
        const MemoryTables again = rig.reloaded();
        QCOMPARE(again.IDs.text(1, slot, MT::kIdCh), MT::slotLabel(slot));
        QCOMPARE(again.IDs.text(1, slot, MT::kIdName), QStringLiteral("Patrol"));
    }

    void everyGridChangeUndoes_data()
    {
        QTest::addColumn<Change>("change");
        const auto button = [](int i) { return [i](BankEditor& e) { e.C_Click(i); }; };
        QTest::newRow("in-place edit") << Change([](BankEditor& e) {
            e.beginEdit(2, 3);
            e.endEdit(QStringLiteral("Tower"));
        });
        QTest::newRow("cut") << select(2, 0, 3, 6, button(1));
        QTest::newRow("paste") << select(1, 3, 1, 3, button(3));
        QTest::newRow("delete row") << select(4, 0, 4, 0, button(4));
        QTest::newRow("add row") << Change(button(5));
        QTest::newRow("insert row") << select(3, 0, 3, 0, button(6));
        QTest::newRow("sort") << Change([](BankEditor& e) { e.headerPressed(3, true, true); });
    }
    void everyGridChangeUndoes()
    {
        QFETCH(Change, change);
        Rig rig;
        for (int n = 61; n <= 90; ++n)
            rig.tables.Channels.set(n, MT::kChName, QStringLiteral("Ch %1").arg(n));
        rig.clipboard.content = QStringLiteral("Pasted\tx\t\r\nSecond\t");
        rig.editor.open();
        rig.editor.HScroll1_Change(3);
        rig.editor.SSTab1_Click(1);
        const Snapshot before = rig.editor.ChannelGrid().snapshot();
        change(rig.editor);
        const Snapshot after = rig.editor.ChannelGrid().snapshot();
        QVERIFY(after.rows != before.rows);
        QCOMPARE(rig.editor.undoStack().count(), 1);

        // Undone from another bank and tab: the change's own come back.
        rig.editor.HScroll1_Change(2);
        rig.editor.SSTab1_Click(0);
        rig.editor.undoStack().undo();
        QCOMPARE(rig.editor.bank(), 3);
        QCOMPARE(rig.editor.state().tab, 1);
        QCOMPARE(rig.editor.ChannelGrid().snapshot().rows, before.rows);
        rig.editor.undoStack().redo();
        QCOMPARE(rig.editor.ChannelGrid().snapshot().rows, after.rows);
        // Until Close only.
        rig.editor.close();
        QCOMPARE(rig.editor.undoStack().count(), 0);
    }

    void clipboardAndNothingToUndo()
    {
        Rig rig;
        rig.clipboard.content = QStringLiteral("kept");
        rig.editor.open();
        rig.editor.SSTab1_Click(1);
        // A selection in the header copies and cuts nothing.
        rig.editor.selectCells(0, 1, 0, 1);
        rig.editor.C_Click(1);
        QCOMPARE(rig.clipboard.content, QStringLiteral("kept"));
        QCOMPARE(rig.editor.undoStack().count(), 0);
        rig.editor.selectCells(1, 0, 2, 1);
        rig.editor.C_Click(2);
        QCOMPARE(rig.clipboard.content, QStringLiteral("1\t\t\r\n2\t\t"));
        // The buttons do nothing on the bank page.
        rig.editor.SSTab1_Click(0);
        rig.editor.C_Click(5);
        QCOMPARE(rig.editor.undoStack().count(), 0);
    }

    // Edits stay through a change of tab and are never dropped without a question.
    void unsavedEditsAreSettledFirst_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<Button>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("left");
        QTest::newRow("bank, Save") << "bank" << Button::Yes << true << true;
        QTest::newRow("bank, Discard") << "bank" << Button::No << false << true;
        QTest::newRow("bank, Cancel") << "bank" << Button::Cancel << false << false;
        QTest::newRow("find, Cancel") << "find" << Button::Cancel << false << false;
        QTest::newRow("find, Save") << "find" << Button::Yes << true << true;
        QTest::newRow("close, Cancel") << "close" << Button::Cancel << false << false;
        QTest::newRow("close, Discard") << "close" << Button::No << false << true;
    }
    void unsavedEditsAreSettledFirst()
    {
        QFETCH(QString, action);
        QFETCH(Button, answer);
        Rig rig;
        rig.tables.BankNames.set(2, QStringLiteral("Airport"));
        rig.editor.open();
        rig.editor.SSTab1_Click(1);
        rig.editor.beginEdit(2, 3);
        rig.editor.endEdit(QStringLiteral("Mine"));
        QCOMPARE(rig.editor.state().tabText(1), QStringLiteral("Frequencies(01) *"));
        rig.editor.SSTab1_Click(2);
        rig.editor.SSTab1_Click(1);
        QCOMPARE(rig.editor.ChannelGrid().cell(2, 3), QStringLiteral("Mine"));
        QVERIFY(rig.dialogs.messages.isEmpty());

        rig.dialogs.answers = {answer};
        bool left = false;
        if (action == QLatin1String("bank")) {
            rig.editor.HScroll1_Change(2);
            left = rig.editor.bank() == 2;
        } else if (action == QLatin1String("find")) {
            left = rig.editor.findNext(QStringLiteral("Airport")) && rig.editor.bank() == 2;
        } else {
            left = rig.editor.close();
        }
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].buttons, platform::Dialogs::Buttons::SaveDiscardCancel);
        QTEST(left, "left");
        QTEST(rig.reloaded().Channels.text(2, MT::kChName) == QLatin1String("Mine"), "saved");
        // Staying keeps the edit and its mark; leaving leaves nothing unsaved.
        QCOMPARE(rig.editor.state().unsaved[1], !left);
        if (!left)
            QCOMPARE(rig.editor.ChannelGrid().cell(2, 3), QStringLiteral("Mine"));
    }

    void aGridNeverHoldsOneChannelTwice()
    {
        Rig rig;
        rig.editor.open();
        rig.editor.SSTab1_Click(1);
        rig.editor.beginEdit(3, 0);
        rig.editor.endEdit(QStringLiteral("2"));
        QCOMPARE(rig.dialogs.texts(), QStringList {"Channel 2 is already in row 2."});
        QCOMPARE(rig.editor.ChannelGrid().cell(3, 0), QStringLiteral("3"));
        // Another bank's channel is the operator's to move here.
        rig.editor.beginEdit(3, 0);
        rig.editor.endEdit(QStringLiteral("45"));
        QCOMPARE(rig.editor.ChannelGrid().cell(3, 0), QStringLiteral("45"));
        // A pasted block keeps the rows' numbers.
        rig.clipboard.content = QStringLiteral("1\t146.5200\t\tCopied\t\t\tNormal\t");
        rig.editor.selectCells(5, 0, 5, 0);
        rig.editor.C_Click(3);
        QCOMPARE(rig.editor.ChannelGrid().row(5).mid(0, 4), (QStringList {"5", "146.5200", "", "Copied"}));
    }

    void findGoesFromMatchToMatch()
    {
        Rig rig;
        rig.tables.BankNames.set(2, QStringLiteral("Airport"));
        rig.tables.Channels.set(35, MT::kChName, QStringLiteral("Air Tower"));
        rig.tables.Channels.set(280, MT::kChFrequency, QStringLiteral("121.5000"));
        rig.tables.IDs.set(5, 14, MT::kIdId, QStringLiteral("000121"));
        rig.tables.IDs.set(5, 14, MT::kIdName, QStringLiteral("Dispatch"));
        rig.editor.open();
        rig.editor.SSTab1_Click(1);
        // An edit not saved yet is found where it stands in the grid that is showing.
        rig.editor.beginEdit(7, 3);
        rig.editor.endEdit(QStringLiteral("air ambulance"));

        using Place = std::array<int, 4>; // bank, tab, row, column
        const auto place = [&rig] {
            const auto& sel = rig.editor.currentGrid().selection();
            const int tab = rig.editor.state().tab;
            return Place {rig.editor.bank(), tab, tab ? sel.row : 0, tab ? sel.col : 0};
        };
        // Moving on to bank 2 asked about the edit, and the unscripted answer, Discard, dropped it.
        const QList<Place> airs {{1, 1, 7, 3}, {2, 0, 0, 0}, {2, 1, 5, 3}, {2, 0, 0, 0}};
        for (const Place& want : airs) {
            QVERIFY(rig.editor.findNext(QStringLiteral("AIR")));
            QCOMPARE(place(), want);
        }
        const QList<Place> hits121 {{5, 2, 1, 1}, {10, 1, 10, 1}};
        for (const Place& want : hits121) {
            QVERIFY(rig.editor.findNext(QStringLiteral("121")));
            QCOMPARE(place(), want);
        }
        QVERIFY(!rig.editor.findNext(QStringLiteral("nowhere")));
        QCOMPARE(rig.dialogs.messages.last().text, QStringLiteral("Cannot find \"nowhere\"."));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestBankEditor)

} // namespace
} // namespace tst_bankeditor

#include "tst_bankeditor.moc"
