#include "controls/IdLockoutReview.h"
#include "controls/LockoutReview.h"
#include "controls/ui/FreqLockout.h"
#include "controls/ui/IDLockout.h"
#include "ControlsRig.h"
#include "memory/LocalStores.h"
#include "TestSuite.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace tst_lockoutreview {
namespace {

using namespace vexlor;
using controls::IdLockoutReview;
using controls::LockoutReview;
using memory::MemoryTables;
using Rig = controls::testing::ControlsRig;

namespace {

QStringList slotQueries()
{
    QStringList q;
    for (int i = 1; i <= 50; ++i)
        q << QStringLiteral("SS%1").arg(i, 2, 10, QLatin1Char('0'));
    return q;
}

QStringList listed(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

void setSlot(MemoryTables& t, int bank, int slot, const QString& id, const QString& lockout, const QString& name = {})
{
    t.IDs.set(bank, slot, MemoryTables::kIdCh, MemoryTables::slotLabel(slot));
    t.IDs.set(bank, slot, MemoryTables::kIdId, id);
    t.IDs.set(bank, slot, MemoryTables::kIdType, QStringLiteral("POL"));
    t.IDs.set(bank, slot, MemoryTables::kIdName, name);
    t.IDs.set(bank, slot, MemoryTables::kIdLO, lockout);
}

// The lock-out byte of a slot's record in idbank.dat.
char storedLockout(const QString& path, int bank, int slot)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || !f.seek(65 * (100 * (bank - 1) + slot - 1) + 54))
        return '?';
    char c = '?';
    return f.getChar(&c) ? c : '?';
}

} // namespace

class TestLockoutReview : public QObject {
    Q_OBJECT
    std::unique_ptr<Rig> m_rig;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<memory::LocalStores> m_stores;

    // Bank 4 on display; slots 2 and 15 locked out, 3 and 4 placeholders, 7 open.
    void trunkBankFour()
    {
        m_stores->LoadStores(*m_rig->tables);
        MemoryTables& t = *m_rig->tables;
        setSlot(t, 4, 2, "002032", "=", "Dispatch");
        setSlot(t, 4, 3, "000000", "=");
        setSlot(t, 4, 4, "------", "=");
        setSlot(t, 4, 7, "004112", "", "Open");
        setSlot(t, 4, 15, "012345", "=", "Tac 2");
        setSlot(t, 5, 1, "055555", "=", "Other bank");
        QVERIFY(m_stores->StoreIDList(4, 1) && m_stores->StoreIDList(4, 2));
        m_rig->display.s.FreqBankLbl = QStringLiteral("4");
        m_rig->display.publish();
    }

    // Answers every transaction; the ID command with the given reply, or silence.
    void answerIld(const QByteArray& reply)
    {
        m_rig->port.onWrite = [this, reply](const QByteArray& bytes) {
            if (!bytes.startsWith("ILD "))
                m_rig->port.feed("OK\r");
            else if (reply.isEmpty()) // the time-out passes while the link waits
                QTimer::singleShot(50, &m_rig->clock, [this] { m_rig->clock.advanceMs(10000); });
            else
                m_rig->port.feed(reply + '\r');
        };
    }

private Q_SLOTS:
    void init()
    {
        m_rig = std::make_unique<Rig>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_stores = std::make_unique<memory::LocalStores>(m_dir->filePath("bank.dat"), m_dir->filePath("idbank.dat"));
        m_rig->link.setSerialPortTimeout(3);
    }

    void frequencyWindow()
    {
        LockoutReview review(m_rig->link, m_rig->lockouts, m_rig->dialogs);
        controls::FreqLockout window(review);
        QCOMPARE(window.objectName(), QStringLiteral("FreqLockout"));
        QCOMPARE(window.windowTitle(), QStringLiteral("L/O Freq."));
        auto* list = window.findChild<QListWidget*>("FreqList1");
        auto* test = window.findChild<QPlainTextEdit*>("test");
        auto* read = window.findChild<QPushButton*>("Command1");
        QVERIFY(list && test && read);
        QCOMPARE(window.findChild<QLabel*>("Label1")->text(), QStringLiteral("Double-Click to remove from the lock/out list."));
        window.show();

        // Three locked out, 47 empty slots.
        review.FreqLockOutMnu_Click();
        QCOMPARE(m_rig->takeWritten(), slotQueries());
        QVERIFY(window.findChild<QLabel*>("WaitLbl")->isVisible());
        const QStringList answers {"SS 01458000", "SS 00000000", "SS 01473000", "SS 00000000", "SS 04605125"};
        m_rig->receive(answers);
        const QStringList raw {"01458000", "01473000", "04605125"};
        QTRY_COMPARE(listed(list), raw);
        QCOMPARE(test->toPlainText(), QStringLiteral("145.8000\n147.3000\n460.5125\n"));

        // Reading again: the raw list once, the formatted one twice.
        read->click();
        QCOMPARE(m_rig->takeWritten(), slotQueries());
        QTRY_COMPARE(list->count(), 0);
        m_rig->receive(answers);
        QTRY_COMPARE(listed(list), raw);
        QCOMPARE(test->toPlainText().count(QStringLiteral("147.3000")), 2);

        // A fresh review from the menu starts both lists again.
        review.FreqLockOutMnu_Click();
        m_rig->receive({"SS 01473000"});
        QTRY_COMPARE(listed(list), QStringList {"01473000"});
        QCOMPARE(test->toPlainText(), QStringLiteral("147.3000\n"));

        // A stream of lines decoded in one go rebuilds the list once, not once per line.
        QSignalSpy rebuilt(list->model(), &QAbstractItemModel::modelReset);
        QStringList stream;
        for (int i = 0; i < 300; ++i)
            stream << QStringLiteral("SS %1").arg(1500000 + i, 8, 10, QLatin1Char('0'));
        m_rig->receive(stream);
        QTRY_COMPARE(list->count(), 301);
        QCOMPARE(rebuilt.size(), 1);
    }


    void frequencyDoubleClickExplains()
    {
        LockoutReview review(m_rig->link, m_rig->lockouts, m_rig->dialogs);
        controls::FreqLockout window(review);
        window.show();
        review.FreqLockOutMnu_Click();
        m_rig->receive({"SS 01458000", "SS 01473000"});
        m_rig->port.clearWritten();
        auto* list = window.findChild<QListWidget*>("FreqList1");
        QTRY_COMPARE(list->count(), 2);
        Q_EMIT list->itemDoubleClicked(list->item(1));
        QCOMPARE(m_rig->dialogs.messages.size(), 1);
        QVERIFY(m_rig->dialogs.messages[0].text.contains(QStringLiteral("147.3000 MHz")));
        QVERIFY(m_rig->dialogs.messages[0].informative.contains(QStringLiteral("search hold")));
        // No command unlocks a search frequency: nothing goes to the receiver.
        QCOMPARE(m_rig->port.written, QByteArray());
        QCOMPARE(list->count(), 2);

        window.findChild<QPushButton*>("OKCmd")->click();
        QVERIFY(!window.isVisible());
        window.show();
        window.findChild<QPushButton*>("CancelCmd")->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(m_rig->port.written, QByteArray());
    }

    void idListShowsLockedOutTalkgroups()
    {
        trunkBankFour();
        IdLockoutReview review(m_rig->link, m_rig->display, *m_rig->tables, *m_stores, m_rig->dialogs);
        controls::IDLockout window(review);
        QCOMPARE(window.objectName(), QStringLiteral("IDLockout"));
        review.IDLockOutMnu_Click();
        QCOMPARE(review.bank(), 4);
        auto* list = window.findChild<QTreeWidget*>("IDList");
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("1-2"));
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("002032"));
        QCOMPARE(list->topLevelItem(0)->text(3), QStringLiteral("Dispatch"));
        QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("2-5"));
        QCOMPARE(m_rig->port.written, QByteArray());

        // Not in a trunking mode: no bank, no list.
        m_rig->receive({"MD00"});
        review.IDLockOutMnu_Click();
        QCOMPARE(review.bank(), 0);
        QCOMPARE(list->topLevelItemCount(), 0);
    }

    void placeholdersAreNoTalkgroups_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("talkgroup");
        QTest::newRow("ID") << "002032" << true;
        QTest::newRow("with a 0xFE mark") << "12=456" << true;
        QTest::newRow("empty slot read") << "000000" << false;
        QTest::newRow("cleared slot") << "------" << false;
        QTest::newRow("blank") << "      " << false;
        QTest::newRow("empty") << "" << false;
    }
    void placeholdersAreNoTalkgroups()
    {
        QFETCH(QString, id);
        QTEST(IdLockoutReview::isTalkgroup(id), "talkgroup");
    }

    void clearOnReceiver_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<QString>("told");
        QTest::newRow("OK: it was locked out") << QByteArray("OK") << true << QString();
        QTest::newRow("OFF: it was not") << QByteArray("OFF") << true << "ID 002032 was not locked out on the scanner.";
        QTest::newRow("refused") << QByteArray("NG") << false << "The scanner did not clear the lock-out of ID 002032.";
        QTest::newRow("a stray status line") << QByteArray("MD00") << false
                                             << "The scanner did not clear the lock-out of ID 002032.";
        QTest::newRow("no answer") << QByteArray() << false << "The scanner did not clear the lock-out of ID 002032.";
    }
    void clearOnReceiver()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, cleared);
        QFETCH(QString, told);
        trunkBankFour();
        QTimer poll;
        m_rig->link.setPollTimer(&poll);
        poll.start(60000);
        IdLockoutReview review(m_rig->link, m_rig->display, *m_rig->tables, *m_stores, m_rig->dialogs);
        review.IDLockOutMnu_Click();
        answerIld(reply);

        review.IDList_DblClick(0);
        const QStringList quiet {"MUN", "QUF", "IDF"};
        const QStringList release {"MUA", "QUN", "IDN"};
        QCOMPARE(m_rig->takeWritten(), quiet + QStringList {"ILD 002032"} + release);
        QVERIFY(poll.isActive());
        QVERIFY(!m_rig->link.QuietedScanner());

        const QString mark = m_rig->tables->IDs.text(4, 2, MemoryTables::kIdLO);
        QCOMPARE(mark, cleared ? QString() : QStringLiteral("="));
        QCOMPARE(storedLockout(m_stores->idBankPath(), 4, 2), cleared ? ' ' : '=');
        QCOMPARE(review.entries().size(), cleared ? 1 : 2);
        QCOMPARE(m_rig->tables->IDs.text(4, 15, MemoryTables::kIdLO), QStringLiteral("="));
        QCOMPARE(m_rig->dialogs.texts(), told.isEmpty() ? QStringList() : QStringList {told});
    }

    void changedMeanwhileSendsNothing()
    {
        trunkBankFour();
        IdLockoutReview review(m_rig->link, m_rig->display, *m_rig->tables, *m_stores, m_rig->dialogs);
        review.IDLockOutMnu_Click();
        m_rig->tables->IDs.set(4, 2, MemoryTables::kIdId, QStringLiteral("009999")); // the ID editor changed it
        review.IDList_DblClick(0);
        QCOMPARE(m_rig->port.written, QByteArray());
        QCOMPARE(review.entries().size(), 2);
        QCOMPARE(review.entries().at(0).id, QStringLiteral("009999"));
    }

    void busyLinkIsLeftAlone()
    {
        trunkBankFour();
        IdLockoutReview review(m_rig->link, m_rig->display, *m_rig->tables, *m_stores, m_rig->dialogs);
        review.IDLockOutMnu_Click();
        m_rig->link.setQuietedScanner(true); // a bank transfer is running
        review.IDList_DblClick(0);
        QCOMPARE(m_rig->port.written, QByteArray());
        QVERIFY(m_rig->link.QuietedScanner());
        QCOMPARE(m_rig->dialogs.texts(), QStringList {"The scanner is busy with another exchange."});
        QCOMPARE(m_rig->tables->IDs.text(4, 2, MemoryTables::kIdLO), QStringLiteral("="));
    }

    void secondDoubleClickWhileWaiting()
    {
        trunkBankFour();
        IdLockoutReview review(m_rig->link, m_rig->display, *m_rig->tables, *m_stores, m_rig->dialogs);
        review.IDLockOutMnu_Click();
        int ild = 0;
        m_rig->port.onWrite = [&](const QByteArray& bytes) {
            if (bytes.startsWith("ILD ")) {
                ++ild;
                review.IDList_DblClick(1); // arrives during the wait
            }
            m_rig->port.feed("OK\r");
        };
        review.IDList_DblClick(0);
        QCOMPARE(ild, 1);
        QCOMPARE(review.entries().size(), 1);
    }
};

VEXLOR_TEST_MAIN(TestLockoutReview)

} // namespace
} // namespace tst_lockoutreview

#include "tst_lockoutreview.moc"
