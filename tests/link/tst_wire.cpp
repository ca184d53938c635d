#include "link/FrequencyPlan.h"
#include "link/Wire.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_wire {
namespace {

using namespace vexlor::link::wire;

class TestWire : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What the receiver takes, at the edges of its bands and steps.
    void frequencyPlan_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<bool>("taken");
        QTest::newRow("never filled") << qint64(0) << true;
        QTest::newRow("29 MHz") << qint64(290000) << true;
        QTest::newRow("28.995") << qint64(289950) << false;
        QTest::newRow("174 MHz") << qint64(1740000) << true;
        QTest::newRow("174.005") << qint64(1740050) << false;
        QTest::newRow("cellular 830 MHz") << qint64(8300000) << false;
        QTest::newRow("956 MHz") << qint64(9560000) << true;
        QTest::newRow("600 MHz") << qint64(6000000) << false;
        QTest::newRow("5 kHz step") << qint64(1544350) << true;
        QTest::newRow("12.5 kHz step") << qint64(8510125) << true;
        QTest::newRow("6.25 kHz, rounded up") << qint64(4600063) << true;
        QTest::newRow("6.25 kHz, rounded down") << qint64(4600062) << true;
        QTest::newRow("off the steps") << qint64(1544301) << false;
    }
    void frequencyPlan()
    {
        QFETCH(qint64, units);
        QTEST(vexlor::link::plan::refusal(units).isEmpty(), "taken");
    }

    void leading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("digits") << "300" << 300.0;
        QTest::newRow("word after") << "5 word" << 5.0;
        QTest::newRow("leading blank") << " 5" << 5.0;
        QTest::newRow("decimal") << "146.52" << 146.52;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("trailing junk") << "12a" << 12.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("dot alone") << "." << 0.0;
    }
    void leading()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leadingNumber(text), value);
    }

    void frequencies_data()
    {
        QTest::addColumn<double>("mhz");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("shown");
        QTest::newRow("146.52") << 146.52 << "01465200" << "146.5200";
        QTest::newRow("146.51999 rounds") << 146.51999 << "01465200" << "146.5200";
        QTest::newRow("146.2") << 146.2 << "01462000" << "146.2000";
        QTest::newRow("25 MHz pads") << 25.0 << "00250000" << "025.0000";
        QTest::newRow("zero") << 0.0 << "00000000" << "000.0000";
        QTest::newRow("954.9875") << 954.9875 << "09549875" << "954.9875";
    }
    void frequencies()
    {
        QFETCH(double, mhz);
        QFETCH(QString, wire);
        QFETCH(QString, shown);
        QCOMPARE(wireFrequency(mhz), wire);
        QCOMPARE(formatMHz(mhz), shown);
        QCOMPARE(frequencyFromWire(wire), shown);
        QCOMPARE(wireFromFormatted(shown), wire);
    }

    void letters()
    {
        QCOMPARE(bankLetter(1), QLatin1Char('A'));
        QCOMPARE(bankLetter(10), QLatin1Char('J'));
        QCOMPARE(bankNumber(QLatin1Char('J')), 10);
        QCOMPARE(bankNumber(QLatin1Char('K')), 0);
        QCOMPARE(bankNumber(QLatin1Char('@')), 0);
        QCOMPARE(slotDigit(10), QLatin1Char('0'));
        QCOMPARE(slotDigit(3), QLatin1Char('3'));
        QCOMPARE(slotPosition(QLatin1Char('0')), 10);
        QCOMPARE(slotPosition(QLatin1Char('x')), 0);
        QCOMPARE(wireFromFormatted(QString()), QStringLiteral("00000000"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestWire)

} // namespace
} // namespace tst_wire

#include "tst_wire.moc"
