#include "ScriptedReceiver.h"
#include "memory/BankEditor.h"

#include <QTest>

using namespace vexlor;
using memory::BankEditor;
using memory::MemoryTables;
using MT = MemoryTables;
using Button = platform::Dialogs::Button;

namespace {

struct Rig : testing::ScriptedReceiver {
    BankEditor editor {{dialogs, tables, *stores, {[](int bank) { return bank * 15; }, [] { return QStringLiteral("VR 1.02"); },
                                                     [] { return QStringLiteral("SI BC245XLT"); }}}};
};

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
    }

    void idRowsSaveByLabel_data()
    {
        QTest::addColumn<QList<Button>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("lastSaved"); // the row after the invalid ones
        QTest::newRow("Yes to each") << QList<Button> {Button::Yes, Button::Yes, Button::Yes} << 3 << true;
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
};

QTEST_GUILESS_MAIN(TestBankEditor)
#include "tst_bankeditor.moc"
