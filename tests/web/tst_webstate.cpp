#include "link/ScannerLink.h"
#include "monitor/MainDisplay.h"
#include "TestSuite.h"
#include "web/WebState.h"

#include <QJsonArray>
#include <QTest>

namespace tst_webstate {
namespace {

using namespace vexlor;
namespace state = web::state;

class TestWebState : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fromDisplay()
    {
        monitor::MainDisplayState d;
        d.ModeLbl = QString(link::ScannerLink::kOfflineText);
        d.FrequencyBox = QStringLiteral("154.4300");
        d.IDNameLbl = QStringLiteral("Fire Tac 2");
        d.SQopen = true;
        d.BankLbl[3] = d.BankLbl[10] = true;
        d.IDlbl[1] = true;
        d.buttonlbl[4] = true;
        const QJsonObject s = state::fromDisplay(d);
        QVERIFY(s.value("offline").toBool());
        QCOMPARE(s.value("frequency").toString(), QStringLiteral("154.4300"));
        QCOMPARE(s.value("idName").toString(), QStringLiteral("Fire Tac 2"));
        QVERIFY(s.value("squelchOpen").toBool() && !s.value("idHeard").toBool());
        QCOMPARE(s.value("banks").toArray(), (QJsonArray {3, 10}));
        QCOMPARE(s.value("lists").toArray(), QJsonArray {1});
        QCOMPARE(s.value("lamps").toObject(),
                 (QJsonObject {{"data", false}, {"att", false}, {"pri", false}, {"dly", false}, {"lo", true}}));
    }

    // A message carries what changed and only that.
    void changes_data()
    {
        QTest::addColumn<QJsonObject>("before");
        QTest::addColumn<QJsonObject>("after");
        QTest::addColumn<QByteArray>("message");
        const QJsonObject base {{"frequency", "154.4300"}, {"squelchOpen", false}, {"banks", QJsonArray {1}}};
        QTest::newRow("nothing") << base << base << QByteArray(R"({"data":{},"type":"state"})");
        QJsonObject heard = base;
        heard["frequency"] = "851.2375";
        heard["squelchOpen"] = true;
        QTest::newRow("two readouts") << base << heard
                                      << QByteArray(R"({"data":{"frequency":"851.2375","squelchOpen":true},"type":"state"})");
        QJsonObject banks = base;
        banks["banks"] = QJsonArray {1, 2};
        banks.remove("frequency");
        QTest::newRow("an array, and one gone") << base << banks << QByteArray(R"({"data":{"banks":[1,2],"frequency":null},"type":"state"})");
    }
    void changes()
    {
        QFETCH(QJsonObject, before);
        QFETCH(QJsonObject, after);
        QTEST(state::message("state", state::changed(before, after)), "message");
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestWebState)

} // namespace
} // namespace tst_webstate

#include "tst_webstate.moc"
