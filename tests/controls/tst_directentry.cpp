#include "controls/DirectEntry.h"
#include "ControlsRig.h"
#include "TestSuite.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(vexlor::controls::DirectEntry::Box)

namespace tst_directentry {
namespace {

using namespace vexlor;
using controls::DirectEntry;
using Box = controls::DirectEntry::Box;
using Rig = controls::testing::ControlsRig;


// Direct entry: the exact lines each box, lamp and limit sends.
class TestDirectEntry : public QObject {
    Q_OBJECT
    std::unique_ptr<Rig> m_rig;
    std::unique_ptr<DirectEntry> m_entry;

    void change(Box box, const QString& text)
    {
        switch (box) {
        case Box::ChannelBox: m_entry->ChannelBox_Change(text); break;
        case Box::DirectFrequencyBox: m_entry->DirectFrequencyBox_Change(text); break;
        case Box::IDChannelBox: m_entry->IDChannelBox_Change(text); break;
        case Box::IDChannelBoxII: m_entry->IDChannelBoxII_Change(text); break;
        }
    }
    // Feeds a box's text, then whatever the entry puts back, as the box would report it.
    void type(Box box, const QString& text)
    {
        QSignalSpy back(m_entry.get(), &DirectEntry::boxChanged);
        change(box, text);
        for (const QList<QVariant>& b : QList<QList<QVariant>>(back))
            change(b.at(0).value<Box>(), b.at(1).toString());
    }

private Q_SLOTS:
    void init()
    {
        m_rig = std::make_unique<Rig>();
        m_entry = std::make_unique<DirectEntry>(m_rig->link, m_rig->display, m_rig->decoder);
    }

    void channelBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("12") << "12\n" << QStringList {"MA012"};
        QTest::newRow("7") << "7\n" << QStringList {"MA007"};
        QTest::newRow("300") << "300\n" << QStringList {"MA300"};
        QTest::newRow("the text before the break") << "5\n9" << QStringList {"MA005"};
        QTest::newRow("not a number") << "ab\n" << QStringList {"MA000"};
        QTest::newRow("no Enter yet") << "12" << QStringList {};
    }
    void channelBox()
    {
        QFETCH(QString, text);
        type(Box::ChannelBox, text);
        QTEST(m_rig->takeWritten(), "lines");
        QCOMPARE(m_entry->text(Box::ChannelBox), text.contains('\n') ? QString() : text);
    }

    void frequencyBox_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("scan mode: manual first") << "00" << "146.52\n" << QStringList {"MA001", "RF01465200"};
        QTest::newRow("manual mode: frequency only") << "01" << "146.52\n" << QStringList {"RF01465200"};
        QTest::newRow("trunk mode: manual first") << "09" << "851.0125\n" << QStringList {"MA001", "RF08510125"};
        QTest::newRow("unit after the number") << "01" << "146.52 MHz\n" << QStringList {"RF01465200"};
        QTest::newRow("rounded to 100 Hz") << "01" << "146.51996\n" << QStringList {"RF01465200"};
        QTest::newRow("not a number: zeros") << "01" << "abc\n" << QStringList {"RF00000000"};
        QTest::newRow("no Enter yet") << "00" << "146.52" << QStringList {};
    }
    void frequencyBox()
    {
        QFETCH(QString, mode);
        QFETCH(QString, text);
        m_rig->receive({"MD" + mode});
        type(Box::DirectFrequencyBox, text);
        QTEST(m_rig->takeWritten(), "lines");
    }

    void idChannel_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("3-10") << "3" << "10" << QByteArray("IC C0\r");
        QTest::newRow("1-1") << "1" << "1" << QByteArray("IC A1\r");
        QTest::newRow("10-7") << "10" << "7" << QByteArray("IC J7\r");
        QTest::newRow("slot's last digit") << "2" << "23" << QByteArray("IC B3\r");
        QTest::newRow("list outside 1..10") << "11" << "4" << QByteArray("IC K4\r");
        QTest::newRow("huge list stays one byte") << "99999999999" << "4" << QByteArray("IC \xff" "4\r");
    }
    void idChannel()
    {
        QFETCH(QString, list);
        QFETCH(QString, slot);
        QSignalSpy focus(m_entry.get(), &DirectEntry::focusWanted);
        QSignalSpy temp(m_entry.get(), &DirectEntry::tempShown);

        type(Box::IDChannelBox, list + '\n');
        QCOMPARE(m_rig->port.written, QByteArray());
        QCOMPARE(m_entry->text(Box::IDChannelBox), list);
        QCOMPARE(focus.size(), 1);
        QCOMPARE(focus.at(0).at(0).value<Box>(), Box::IDChannelBoxII);

        type(Box::IDChannelBoxII, slot + '\n');
        QTEST(m_rig->port.written, "written");
        QCOMPARE(temp.size(), 1);
        QCOMPARE(temp.at(0).at(0).toString().toLatin1() + '\r', m_rig->port.written);
        QCOMPARE(m_entry->text(Box::IDChannelBox), QString());
        QCOMPARE(m_entry->text(Box::IDChannelBoxII), QString());
        QCOMPARE(focus.size(), 2);
        QCOMPARE(focus.at(1).at(0).value<Box>(), Box::IDChannelBox);
    }

    // The set starts as the receiver reported it; clicks toggle it before any answer.
    void lamps_data()
    {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<bool>("banks");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("banks 2, 5 on: 5 off") << "SB BE" << true << QList<int> {5} << QStringList {"SB B"};
        QTest::newRow("banks 2, 5 on: 5 off and on")
            << "SB BE" << true << QList<int> {5, 5} << QStringList {"SB B", "SB BE"};
        QTest::newRow("last bank off: nothing after the blank")
            << "SB " << true << QList<int> {1, 1} << QStringList {"SB A", "SB "};
        QTest::newRow("bank 10 is J") << "SB AC" << true << QList<int> {10} << QStringList {"SB ACJ"};
        QTest::newRow("lamp outside 1..10") << "SB A" << true << QList<int> {0, 11} << QStringList {};
        QTest::newRow("list 3 on") << "IS A" << false << QList<int> {3} << QStringList {"IS AC"};
        QTest::newRow("last list off") << "IS D" << false << QList<int> {4} << QStringList {"IS "};
        QTest::newRow("ID readout resends the set")
            << "IS BJ" << false << QList<int> {0, 2, 0} << QStringList {"IS BJ", "IS J", "IS J"};
    }
    void lamps()
    {
        QFETCH(QString, reported);
        QFETCH(bool, banks);
        QFETCH(QList<int>, clicks);
        m_rig->receive({reported});
        const monitor::MainDisplayState before = m_rig->display.published();
        for (int i : clicks)
            banks ? m_entry->BankLbl_Click(i) : m_entry->IDlbl_Click(i);
        QTEST(m_rig->takeWritten(), "lines");
        // The lamps wait for the receiver's answer.
        m_rig->display.publish();
        QVERIFY(m_rig->display.published() == before);
    }

    void receiverAnswerReplacesClicks()
    {
        m_rig->receive({"SB BE"});
        m_entry->BankLbl_Click(5);
        QCOMPARE(m_rig->takeWritten(), QStringList {"SB B"});
        m_rig->receive({"SB ABE"}); // the receiver had another idea
        m_entry->BankLbl_Click(1);
        QCOMPARE(m_rig->takeWritten(), QStringList {"SB BE"});
    }

    void limits_data()
    {
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("both") << "138" << "174.0125" << QStringList {"LL01380000", "LU01740125"};
        QTest::newRow("as the display shows them") << "144.0000" << "148.0000" << QStringList {"LL01440000", "LU01480000"};
        QTest::newRow("only the lower") << "138" << "" << QStringList {};
        QTest::newRow("only the upper") << "" << "174" << QStringList {};
        QTest::newRow("a box of blanks") << "   " << "174" << QStringList {};
        QTest::newRow("not a number: zeros") << "low" << "174" << QStringList {"LL00000000", "LU01740000"};
    }
    void limits()
    {
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        m_entry->ApplyLimit_Click(lower, upper);
        QTEST(m_rig->takeWritten(), "lines");
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestDirectEntry)

} // namespace
} // namespace tst_directentry

#include "tst_directentry.moc"
