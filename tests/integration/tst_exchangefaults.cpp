#include "controls/IdLockoutReview.h"
#include "memory/TaggedText.h"
#include "monitor/MainDisplay.h"
#include "SimRig.h"
#include "simulator/PtyEndpoint.h"
#include "TestSuite.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>

#include <functional>
#include <map>

namespace tst_exchangefaults {
namespace {

using namespace vexlor;
using testing::MT;
using testing::Rig;
using testing::simChannel;
using memory::MemoryTables;
using simulator::ModeMachine;
using Button = platform::Dialogs::Button;
namespace wire = link::wire;

namespace {

struct FaultRig;

// One long exchange of a window logic: set up on a healthy line, then run.
struct Exchange {
    std::function<void(FaultRig&)> prepare;
    std::function<void(FaultRig&)> run;
};
const std::map<QString, Exchange>& exchanges();

struct FaultRig : Rig {
    monitor::MainDisplay display;
    std::unique_ptr<controls::IdLockoutReview> review;

    simulator::PtyEndpoint& endpoint() { return host->endpoint(); }
    simulator::ReceiverModel& model() { return host->model(); }

    // What bank.dat and idbank.dat hold, read afresh.
    std::unique_ptr<MemoryTables> stored()
    {
        auto t = std::make_unique<MemoryTables>();
        memory::LocalStores fresh(dir.filePath("bank.dat"), dir.filePath("idbank.dat"));
        fresh.LoadStores(*t);
        return t;
    }

    // Channels 31..35 as a tagged text file, for the import to upload.
    QString importFile()
    {
        auto source = std::make_unique<MemoryTables>();
        const QStringList entries {"151.625", "154.28 D", "155.7 L", "460.025", "462.95 D L"};
        for (int i = 0; i < entries.size(); ++i)
            testing::setChannelOf(*source, 31 + i, entries[i]);
        const QString path = dir.filePath("import.txt");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(memory::tagged::exportText(*source)) <= 0)
            return QString();
        return path;
    }

    // Slot s of the bank as the receiver holds it.
    bool idMatches(int bank, int s)
    {
        const int id = memory().id(bank, MT::listOfSlot(s), MT::positionOfSlot(s));
        const QString shown = id == simulator::MemoryState::kClearedId ? QStringLiteral("======") : wire::digits(id, 6);
        const bool lockedOut = id <= 0 || memory().isIdLockedOut(bank, id);
        return tables.IDs.text(bank, s, MT::kIdId) == shown
            && (tables.IDs.text(bank, s, MT::kIdLO) == QLatin1String("=")) == lockedOut;
    }

    // Channels and ID slots that differ from `before`; each must be what the receiver holds.
    int changedRows(const MemoryTables& before, QStringList& wrong)
    {
        int changed = 0;
        for (int c = 1; c <= MT::kChannels; ++c) {
            bool same = true;
            for (int col = 0; col < memory::ChannelTable::kColumns; ++col)
                same = same && tables.Channels.at(c, col) == before.Channels.at(c, col);
            if (same)
                continue;
            ++changed;
            if (shown(c) != simChannel(memory().channel(c)))
                wrong << QStringLiteral("channel %1").arg(c);
        }
        for (int b = 1; b <= MT::kBanks; ++b) {
            for (int s = 1; s <= MT::kSlots; ++s) {
                bool same = true;
                for (int col = 0; col < memory::IDTable::kColumns; ++col)
                    same = same && tables.IDs.at(b, s, col) == before.IDs.at(b, s, col);
                if (same)
                    continue;
                ++changed;
                if (!idMatches(b, s))
                    wrong << QStringLiteral("bank %1 slot %2").arg(b).arg(s);
            }
        }
        return changed;
    }

    // Out of every hold an exchange puts it in: status output, talkgroups,
    // sound, programming.
    bool receiverReleased()
    {
        const simulator::ReceiverModel& m = model();
        return m.statusOutput() && m.talkgroupOutput() && m.flags().audio == 'A'
            && !ModeMachine::isProgrammingMode(m.mode().mode());
    }

    bool linkReleased() { return !link->isBusy() && !link->QuietedScanner() && mainTimer.isActive(); }

    const Exchange& prepare(const QString& name)
    {
        const Exchange& e = exchanges().at(name);
        e.prepare(*this);
        return e;
    }
};

const std::map<QString, Exchange>& exchanges()
{
    static const std::map<QString, Exchange> all {
        {"frequency read", {[](FaultRig& r) { r.freq->Option1_Click(); }, [](FaultRig& r) { r.freq->BankCmb_Click(1); }}},
        {"frequency upload",
         {[](FaultRig& r) {
              r.freq->BankCmb_Click(7);
              r.setChannel(181, "851.0125 T");
              r.setChannel(182, "852.5125 D T");
              r.setChannel(183, "154.1 D");
              r.freq->IDTypeBankBox_Click("2 - E2-800 Motorola");
              r.dialogs.answers.push_back(Button::Yes);
          },
          [](FaultRig& r) { r.freq->DataSendToScannerCmd_Click(); }}},
        {"ID directory opening",
         {[](FaultRig&) {},
          [](FaultRig& r) {
              r.ids->open();
              r.ids->IDT().stop();
              r.ids->IDT_Timer();
          }}},
        {"ID bank selection", {[](FaultRig& r) { r.openIds(4, false); }, [](FaultRig& r) { r.ids->BankCmb_Click(5); }}},
        {"ID list read", {[](FaultRig& r) { r.openIds(4, true); }, [](FaultRig& r) { r.ids->IDBankCmb_Click(1); }}},
        {"ID upload",
         {[](FaultRig& r) {
              r.openIds(4, false);
              r.ids->IDBankCmb_Click(3);
              r.ids->IDList_Click(1, 1);
              r.ids->IDbox_Change("12345");
              r.ids->CommitID();
              r.dialogs.answers.push_back(Button::Yes);
          },
          [](FaultRig& r) { r.ids->SendToScanner_Click(); }}},
        {"import upload",
         {[](FaultRig& r) {
              r.dialogs.fileAnswers.push_back(r.importFile());
              r.dialogs.answers.push_back(Button::Yes);
          },
          [](FaultRig& r) { r.transfer->ImportTaggedTextFile(); }}},
        {"backup", {[](FaultRig&) {}, [](FaultRig& r) { r.transfer->BackupScanner(); }}},
        {"ID lock-out review",
         {[](FaultRig& r) {
              r.tables.IDs.set(4, 1, MT::kIdId, "002032");
              r.tables.IDs.set(4, 1, MT::kIdLO, "=");
              r.display.s.FreqBankLbl = "4";
              r.display.publish();
              r.review = std::make_unique<controls::IdLockoutReview>(*r.link, r.display, r.tables, *r.stores, r.dialogs);
              r.review->IDLockOutMnu_Click();
          },
          [](FaultRig& r) { r.review->IDList_DblClick(0); }}},
    };
    return all;
}

} // namespace

// Long exchanges whose line fails under them.
class TestExchangeFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineDropsMidExchange_data()
    {
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<QByteArray>("dropAt"); // the line drops as this command is carried out
        QTest::addColumn<int>("nth");           // ... for the nth time
        QTest::addColumn<int>("changed");       // table rows the exchange changed before the drop
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("backOnBank"); // the trunk bank the receiver returns to, or 0
        QTest::newRow("bank upload") << "frequency upload" << QByteArray("PM") << 2 << 0 << "Upload stopped: 1 of 3" << 0;
        // Slots 10, 1 and 2 are read before the fourth list query.
        QTest::newRow("ID list read") << "ID list read" << QByteArray("IC") << 4 << 3 << "Is this bank TRUNKED?" << 0;
        // The first two channels' marks are cleared; the third's stays.
        QTest::newRow("import upload") << "import upload" << QByteArray("PM") << 3 << 2 << "Upload stopped: 2 of 5" << 0;
        // Its one ID may have arrived, but is not counted.
        QTest::newRow("ID upload") << "ID upload" << QByteArray("TG") << 1 << 0 << "Upload stopped: 0 of 1" << 4;
    }
    void lineDropsMidExchange()
    {
        QFETCH(QString, exchange);
        QFETCH(QByteArray, dropAt);
        QFETCH(int, nth);
        QFETCH(int, changed);
        QFETCH(QString, message);
        QFETCH(int, backOnBank);
        FaultRig rig;
        QVERIFY(rig.start());
        const Exchange& e = rig.prepare(exchange);

        // What the exchange starts from, taken as its first command arrives.
        std::unique_ptr<MemoryTables> tablesBefore, storedBefore;
        int seen = 0;
        QElapsedTimer sinceDrop;
        // Every transaction tried on the dead line reports it once.
        QSignalSpy triedDead(rig.link.get(), &link::ScannerLink::offlineShown);
        connect(&rig.endpoint(), &simulator::PtyEndpoint::commandCarriedOut, this, [&](const QByteArray& command) {
            if (!tablesBefore) {
                tablesBefore = std::make_unique<MemoryTables>(rig.tables);
                storedBefore = rig.stored();
            }
            if (command.startsWith(dropAt) && ++seen == nth) {
                rig.endpoint().dropLine();
                sinceDrop.start();
                triedDead.clear();
            }
        });
        e.run(rig);
        QVERIFY(sinceDrop.isValid());
        QVERIFY2(sinceDrop.elapsed() < 1000, qPrintable(QString::number(sinceDrop.elapsed())));
        // A few: the one in flight, the way out, the release. Trying on would spin.
        QVERIFY2(triedDead.size() <= 10, qPrintable(QString::number(triedDead.size())));
        QVERIFY(rig.linkReleased());
        QVERIFY(!rig.dialogs.messages.isEmpty());
        QVERIFY2(rig.dialogs.messages.last().text.startsWith(message), qPrintable(rig.dialogs.messages.last().text));

        QStringList wrong;
        QCOMPARE(rig.changedRows(*tablesBefore, wrong), changed);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
        QVERIFY(*rig.stored() == *storedBefore);

        rig.endpoint().restoreLine();
        QVERIFY(testing::waitFor([&] { return rig.receiverReleased(); }, 2000));
        QVERIFY(rig.linkReleased());
        if (backOnBank) {
            const ModeMachine& m = rig.model().mode();
            QVERIFY2(ModeMachine::isIdMode(m.mode()) && m.trunkBank() == backOnBank,
                     qPrintable(QStringLiteral("mode %1 bank %2").arg(m.mode()).arg(m.trunkBank())));
        }
    }

    void receiverAnswersOnlyErr_data()
    {
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<QString>("message");
        for (const auto& [name, text] : std::map<QString, QString> {
                 {"frequency read", "Read failed: the scanner sent none of the bank's channels."},
                 {"frequency upload", "Upload failed: the scanner refused every channel."},
                 {"ID directory opening", "Unable To Query Scanner For Active Banks"},
                 {"ID bank selection", "Is this bank TRUNKED?"},
                 {"ID list read", "Is this bank TRUNKED?"},
                 {"ID upload", "Upload failed: the scanner refused every ID."},
                 {"import upload", "Upload failed: the scanner refused every item."},
                 {"backup", "Backup Failed: The scanner refused the query for channel"},
                 {"ID lock-out review", "The scanner did not clear the lock-out of ID 002032."},
             })
            QTest::newRow(qPrintable(name)) << name << text;
    }
    void receiverAnswersOnlyErr()
    {
        QFETCH(QString, exchange);
        QFETCH(QString, message);
        FaultRig rig;
        QVERIFY(rig.start());
        const Exchange& e = rig.prepare(exchange);
        simulator::FaultOptions faults;
        faults.errFraction = 1;
        rig.endpoint().setFaults(faults);
        rig.link->setSerialPortTimeout(1);

        QElapsedTimer t;
        t.start();
        e.run(rig);
        QVERIFY(testing::waitFor([&] { return !rig.link->isBusy() && !rig.freq->isBusy(); }, 5000));
        QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(!rig.dialogs.messages.isEmpty());
        QVERIFY2(rig.dialogs.messages.last().text.startsWith(message), qPrintable(rig.dialogs.messages.last().text));
        QVERIFY(rig.linkReleased());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestExchangeFaults)

} // namespace
} // namespace tst_exchangefaults

#include "tst_exchangefaults.moc"
