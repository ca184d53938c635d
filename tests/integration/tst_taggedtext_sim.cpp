#include "memory/TaggedText.h"
#include "memory/TaggedTextFile.h"
#include "SimRig.h"
#include "TestSuite.h"

#include <QDir>
#include <QRegularExpression>

namespace tst_taggedtext_sim {
namespace {

using namespace vexlor;
using testing::MT;
using testing::Rig;
using testing::shownChannel;
using testing::simChannel;
using memory::MemoryTables;
using Button = platform::Dialogs::Button;
namespace wire = link::wire;

class TestTaggedTextSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backupThenRestore()
    {
        Rig rig;
        QVERIFY(rig.start());
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(rig.dir.path());
        simulator::MemoryState m = rig.memory();
        QVERIFY(m.lockOutId(4, 2064));
        rig.host->model().setMemory(m);
        const simulator::MemoryState original = rig.memory();
        rig.tables.BankNames.set(4, QStringLiteral("County"));
        rig.tables.BankTrunkTypes.set(4, QStringLiteral("E2-800"));
        rig.tables.Channels.set(91, MT::kChName, QStringLiteral("Site 1"));
        rig.tables.IDs.set(4, 1, MT::kIdName, QStringLiteral("Patrol"));
        const MemoryTables before = rig.tables;

        rig.transfer->BackupScanner();
        QDir::setCurrent(cwd);
        QVERIFY2(rig.dialogs.messages.last().text.startsWith(QLatin1String("The scanner's memories are backed up to")), qPrintable(rig.dialogs.messages.last().text));
        QCOMPARE(rig.tables, before);
        const QStringList files = QDir(rig.dir.filePath("backups")).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(QRegularExpression("^backup-\\d{8}-\\d{6}\\.txt$").match(files[0]).hasMatch());
        const QString path = rig.dir.filePath("backups/" + files[0]);

        // The file holds the simulator's memories, with the local names.
        auto backup = std::make_unique<MemoryTables>();
        QVERIFY(memory::taggedfile::import(path, *backup).opened);
        for (int c = 1; c <= MT::kChannels; ++c)
            QCOMPARE(shownChannel(*backup, c), simChannel(original.channel(c)));
        QCOMPARE(backup->Channels.text(91, MT::kChName), QStringLiteral("Site 1"));
        for (int s = 1; s <= MT::kSlots; ++s) {
            const int id = original.id(4, MT::listOfSlot(s), MT::positionOfSlot(s));
            const QString shown = id == simulator::MemoryState::kClearedId ? QStringLiteral("======") : wire::digits(id, 6);
            QCOMPARE(backup->IDs.text(4, s, MT::kIdId), shown);
            // The list read shows an empty slot as locked out, as the ID directory does.
            QCOMPARE(backup->IDs.text(4, s, MT::kIdLO) == QLatin1String("="), id <= 0 || original.isIdLockedOut(4, id));
        }
        QCOMPARE(backup->IDs.text(4, 1, MT::kIdName), QStringLiteral("Patrol"));
        QVERIFY(backup->IDs.at(3, 1, MT::kIdId).isEmpty()); // a conventional bank has no IDs

        // Restoring into an emptied receiver gives back every channel and ID.
        rig.host->model().setMemory(simulator::MemoryState {});
        rig.dialogs.fileAnswers.push_back(path);
        rig.dialogs.answers.push_back(Button::Yes);
        rig.transfer->ImportTaggedTextFile();
        QCOMPARE(rig.dialogs.messages.last().text,
                 QStringLiteral("The Tagged Text File is imported\r\nand uploaded to your scanner."));
        for (int c = 1; c <= MT::kChannels; ++c)
            QCOMPARE(simChannel(rig.memory().channel(c)), simChannel(original.channel(c)));
        QCOMPARE(rig.memory().bank(4).trunkType, 2);
        for (int s = 1; s <= MT::kSlots; ++s) {
            const int list = MT::listOfSlot(s), position = MT::positionOfSlot(s);
            // A cleared slot comes back as 000000, which the receiver shows as no ID too.
            QCOMPARE(std::max(0, rig.memory().id(4, list, position)), std::max(0, original.id(4, list, position)));
        }
        QVERIFY(testing::waitFor([&] { return rig.host->model().statusOutput(); }, 3000));
        QVERIFY(rig.mainTimer.isActive());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestTaggedTextSim)

} // namespace
} // namespace tst_taggedtext_sim

#include "tst_taggedtext_sim.moc"
