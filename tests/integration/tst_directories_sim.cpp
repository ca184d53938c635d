#include "SimRig.h"
#include "TestSuite.h"

namespace tst_directories_sim {
namespace {

using namespace vexlor;
using testing::MT;
using testing::Rig;
using testing::simChannel;
using memory::MemoryTables;
using Button = platform::Dialogs::Button;
namespace wire = link::wire;

class TestDirectoriesSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsABank_data()
    {
        QTest::addColumn<int>("bank");
        QTest::addColumn<int>("baud");
        QTest::newRow("bank 1") << 1 << 0;
        QTest::newRow("bank 4, trunked") << 4 << 0;
        QTest::newRow("bank 10") << 10 << 0;
        // Replies slower than the queries, into the receiver's 64-byte buffer.
        QTest::newRow("bank 2 at 9600 baud") << 2 << 9600;
        QTest::newRow("bank 3 at 2400 baud") << 3 << 2400;
    }
    void readsABank()
    {
        QFETCH(int, bank);
        Rig rig;
        QFETCH(int, baud);
        rig.baud = baud;
        QVERIFY(rig.start());
        QVERIFY(rig.readBank(bank));
        QCOMPARE(rig.dialogs.messages.size(), 0);
        QCOMPARE(rig.host->lostBytes(), 0);
        for (int c = 30 * bank - 29; c <= 30 * bank; ++c)
            QCOMPARE(rig.shown(c), simChannel(rig.memory().channel(c)));
        // "QUN" went out straight, so the simulator may still be on its way to it.
        QVERIFY(testing::waitFor([&] { return rig.host->model().statusOutput(); }, 3000));
        QVERIFY(rig.mainTimer.isActive());
    }

    void uploadsAndReadsBack_data()
    {
        QTest::addColumn<int>("bank");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QStringList>("entries"); // "n mhz [D] [L] [T]" as uploaded
        QTest::addColumn<QStringList>("readBack"); // where it differs
        QTest::newRow("normal channels")
            << 6 << "0 - Conventional Only" << QStringList {"1 154.325 D", "2 460.5 L", "30 856.2375"}
            << QStringList {};
        QTest::newRow("trunk channels, type 0")
            << 9 << "0 - Conventional Only" << QStringList {"1 155.01 D T", "2 154.1 L T"}
            << QStringList {"1 155.0100 D", "2 154.1000 L"}; // a conventional bank keeps them normal
        QTest::newRow("trunk channels, type 2")
            << 7 << "2 - E2-800 Motorola" << QStringList {"1 851.0125 T", "2 852.5125 D T", "3 853.9625 L T", "4 154.1 D"}
            << QStringList {};
    }
    void uploadsAndReadsBack()
    {
        QFETCH(int, bank);
        QFETCH(QString, selector);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, readBack);
        Rig rig;
        QVERIFY(rig.start());
        rig.freq->BankCmb_Click(bank);
        for (const QString& e : entries)
            rig.setChannel(30 * (bank - 1) + e.section(' ', 0, 0).toInt(), e.section(' ', 1));
        rig.freq->IDTypeBankBox_Click(selector);
        rig.dialogs.answers.push_back(Button::Yes);
        rig.freq->DataSendToScannerCmd_Click();
        QCOMPARE(rig.memory().bank(bank).trunkType, int(wire::leadingInt(selector)));
        QVERIFY(rig.host->model().statusOutput());

        rig.tables.Channels.clear();
        QVERIFY(rig.readBank(bank));
        QStringList want = entries;
        for (const QString& r : readBack) {
            for (QString& w : want) {
                if (w.section(' ', 0, 0) == r.section(' ', 0, 0))
                    w = r;
            }
        }
        for (const QString& w : want) {
            const int c = 30 * (bank - 1) + w.section(' ', 0, 0).toInt();
            QStringList parts = w.section(' ', 1).split(' ');
            parts[0] = wire::formatMHz(parts[0].toDouble());
            QCOMPARE(rig.shown(c), parts.join(' '));
        }
    }

    void readsAnIdList()
    {
        Rig rig;
        QVERIFY(rig.start());
        simulator::MemoryState m = rig.memory();
        QVERIFY(m.lockOutId(4, 2064));
        rig.host->model().setMemory(m);
        rig.openIds(4, true);
        rig.ids->IDBankCmb_Click(1);
        QVERIFY(rig.dialogs.messages.isEmpty());
        const auto& t = rig.tables.IDs;
        QCOMPARE(t.text(4, 1, MT::kIdId), QStringLiteral("002032"));
        QCOMPARE(t.text(4, 1, MT::kIdLO), QString());
        QCOMPARE(t.text(4, 2, MT::kIdLO), QStringLiteral("="));
        QCOMPARE(t.text(4, 9, MT::kIdId), QStringLiteral("======")); // a cleared slot
        QCOMPARE(t.text(4, 9, MT::kIdLO), QStringLiteral("="));
        QCOMPARE(t.text(4, 10, MT::kIdId), QStringLiteral("000000"));
        QCOMPARE(t.text(4, 10, MT::kIdCh), QStringLiteral("1-10"));
        // The probe put the lock-out back.
        QVERIFY(rig.memory().isIdLockedOut(4, 2064));
        QVERIFY(rig.host->model().statusOutput() && rig.mainTimer.isActive());
        rig.ids->Form_Unload();
        QCOMPARE(rig.memory().activeBanks(), m.activeBanks());
    }

    // Each read ends with the scan key; the next one must still find the bank trunked.
    void readsListsOneAfterAnother()
    {
        Rig rig;
        QVERIFY(rig.start());
        simulator::MemoryState m = rig.memory();
        m.setId(4, 2, 3, 4321);
        m.setId(4, 3, 1, 765);
        rig.host->model().setMemory(m);
        rig.openIds(4, true);
        for (int list = 1; list <= 3; ++list)
            rig.ids->IDBankCmb_Click(list);
        QCOMPARE(rig.dialogs.texts(), QStringList());
        QCOMPARE(rig.tables.IDs.text(4, 1, MT::kIdId), QStringLiteral("002032"));
        QCOMPARE(rig.tables.IDs.text(4, 13, MT::kIdId), QStringLiteral("004321"));
        QCOMPARE(rig.tables.IDs.text(4, 21, MT::kIdId), QStringLiteral("000765"));
    }

    void uploadsAnIdListAndReadsItBack()
    {
        Rig rig;
        QVERIFY(rig.start());
        rig.openIds(4, false);
        rig.ids->IDBankCmb_Click(3);
        const QStringList typed {"12345", "2032", "", "65520"};
        for (int n = 1; n <= typed.size(); ++n) {
            if (typed[n - 1].isEmpty())
                continue;
            rig.ids->IDList_Click(n, 1);
            rig.ids->IDbox_Change(typed[n - 1]);
            rig.ids->CommitID();
        }
        rig.dialogs.answers.push_back(Button::Yes);
        rig.ids->SendToScanner_Click();
        QCOMPARE(rig.memory().id(4, 3, 1), 12345);
        QCOMPARE(rig.memory().id(4, 3, 4), 65520);

        rig.tables.IDs.clear();
        rig.ids->Option1_Click();
        rig.ids->IDBankCmb_Click(3);
        QCOMPARE(rig.tables.IDs.text(4, 21, MT::kIdId), QStringLiteral("012345"));
        QCOMPARE(rig.tables.IDs.text(4, 22, MT::kIdId), QStringLiteral("002032"));
        QCOMPARE(rig.tables.IDs.text(4, 23, MT::kIdId), QStringLiteral("000000"));
        QCOMPARE(rig.tables.IDs.text(4, 24, MT::kIdId), QStringLiteral("065520"));
        QCOMPARE(rig.dialogs.texts().size(), 2); // the confirmation and the closing report
        QCOMPARE(rig.dialogs.messages.last().text, QStringLiteral("Upload finished: 3 IDs sent."));
    }
};

VEXLOR_TEST_MAIN(TestDirectoriesSim)

} // namespace
} // namespace tst_directories_sim

#include "tst_directories_sim.moc"
