#include "memory/TrunkSystemOffers.h"
#include "ScriptedReceiver.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_trunksystemoffers {
namespace {

using namespace vexlor;
using memory::TrunkSystemOffers;
using Button = platform::Dialogs::Button;

class TestTrunkSystemOffers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void offers_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("reports"); // bank 3 shown twice after each
        QTest::addColumn<QList<Button>>("answers");
        QTest::addColumn<QString>("kept");
        QTest::newRow("conventional, taken") << "" << QStringList {"E2-800    "} << QList<Button> {Button::Yes} << "E2-800";
        QTest::newRow("declined: asked once") << "" << QStringList {"E2-800"} << QList<Button> {Button::No} << "";
        QTest::newRow("declined, then another system")
            << "" << QStringList {"E2-800", "EDACS"} << QList<Button> {Button::No, Button::Yes} << "EDACS";
        QTest::newRow("the stored type in other case") << "E2-800" << QStringList {"e2-800"} << QList<Button> {} << "E2-800";
        QTest::newRow("a conventional report") << "E1" << QStringList {"CONV      "} << QList<Button> {} << "E1";
        QTest::newRow("a type the selector lacks") << "P25" << QStringList {"E1"} << QList<Button> {Button::Yes} << "E1";
    }
    void offers()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, reports);
        QFETCH(QList<Button>, answers);
        testing::ScriptedReceiver rig;
        rig.tables.BankTrunkTypes.set(3, stored);
        TrunkSystemOffers offers(rig.tables, *rig.stores, rig.dialogs);
        int notices = 0;
        const auto listening = rig.tables.Notices.subscribe([&](const memory::MemoryChange& c) { notices += c.coversBankData(3); });
        rig.dialogs.answers.assign(answers.begin(), answers.end());
        for (const QString& system : reports) {
            offers.reported(3, system);
            offers.reported(4, system); // another bank's report asks nothing here
            offers.offer(3);
            offers.offer(3);
        }
        QVERIFY(rig.dialogs.answers.empty());
        QCOMPARE(rig.dialogs.messages.size(), answers.size());
        QTEST(rig.tables.bankTrunkType(3), "kept");
        const bool taken = answers.contains(Button::Yes);
        QCOMPARE(notices, taken ? 1 : 0);
        if (taken)
            QTEST(rig.reloaded().bankTrunkType(3), "kept");
        QVERIFY(offers.pending(3).isEmpty());
    }

    void questionNamesBoth()
    {
        testing::ScriptedReceiver rig;
        TrunkSystemOffers offers(rig.tables, *rig.stores, rig.dialogs);
        offers.reported(3, u"E2-800");
        rig.dialogs.answers = {Button::No};
        offers.offer(3);
        QCOMPARE(rig.dialogs.messages.first().text,
                 QStringLiteral("The scanner reports bank 3 as E2-800, but it is stored as 0 - Conventional Only."));
        QVERIFY(rig.dialogs.messages.first().informative.startsWith(QStringLiteral("Take 2 - E2-800 Motorola")));
    }

    // A store that cannot be written keeps the tables as the file is.
    void failedStoreKeepsTheType()
    {
        testing::ScriptedReceiver rig;
        memory::LocalStores readOnly(rig.dir.filePath(QStringLiteral("bank.dat")), rig.dir.filePath(QStringLiteral("idbank.dat")));
        readOnly.setReadOnly(true);
        QVERIFY(readOnly.LoadStores(rig.tables));
        TrunkSystemOffers offers(rig.tables, readOnly, rig.dialogs);
        offers.reported(5, u"EDACS");
        rig.dialogs.answers = {Button::Yes};
        QVERIFY(!offers.offer(5));
        QCOMPARE(rig.tables.bankTrunkType(5), QString());
        QCOMPARE(rig.dialogs.messages.last().text, QStringLiteral("The trunk type of bank 5 could not be stored."));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestTrunkSystemOffers)

} // namespace
} // namespace tst_trunksystemoffers

#include "tst_trunksystemoffers.moc"
