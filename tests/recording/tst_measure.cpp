#include "FakeClock.h"
#include "recording/MeasureIntfc.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_measure {
namespace {

using vexlor::fakes::FakeClock;
using vexlor::recording::MeasureIntfc;

// Steps: "tic", "toc", "off", "on MODE PLACE IDENT", "wait MS", "on-unset MODE PLACE".
class TestMeasure : public QObject {
    Q_OBJECT

    static void run(MeasureIntfc& m, FakeClock& clock, const QStringList& steps)
    {
        for (const QString& step : steps) {
            const QStringList w = step.split(QLatin1Char(' '));
            if (w[0] == QLatin1String("tic"))
                m.Tic();
            else if (w[0] == QLatin1String("toc"))
                m.Toc();
            else if (w[0] == QLatin1String("off"))
                m.CarrierOff();
            else if (w[0] == QLatin1String("wait"))
                clock.advanceMs(w[1].toInt());
            else if (w[0] == QLatin1String("on"))
                m.CarrierOn(w[1], w[2], w.size() > 3 ? w[3] : QString());
            else if (w[0] == QLatin1String("on-unset"))
                m.CarrierOn(w[1], w[2], std::nullopt);
        }
    }

private Q_SLOTS:
    void sequences_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("records"); // "key hits seconds"
        QTest::newRow("0.4 s adds nothing") << QStringList{"tic", "on C 5 146.2000", "wait 400", "toc"} << QStringList{};
        QTest::newRow("0.5 s adds one hit")
            << QStringList{"tic", "on C 5 146.2000", "wait 500", "toc"} << QStringList{"C:5:146.2000 1 0.5"};
        QTest::newRow("conventional runs from the squelch")
            << QStringList{"tic", "wait 300", "on C 1 146.2000", "wait 1700", "toc"}
            << QStringList{"C:1:146.2000 1 2"};
        QTest::newRow("talkgroup runs from its announcement")
            << QStringList{"tic", "wait 300", "on T 3 001234", "wait 1700", "toc"} << QStringList{"T:3:001234 1 1.7"};
        QTest::newRow("second identity replaces the first")
            << QStringList{"tic", "on C 1 146.2000", "wait 2000", "on C 2 147.0000", "wait 1000", "toc"}
            << QStringList{"C:2:147.0000 1 1"};
        QTest::newRow("same identity again changes nothing")
            << QStringList{"tic", "on C 1 146.2000", "wait 1000", "on C 1 146.2000", "wait 1000", "toc"}
            << QStringList{"C:1:146.2000 1 2"};
        QTest::newRow("off without identity records nothing") << QStringList{"tic", "wait 3000", "off"} << QStringList{};
        QTest::newRow("unset identity is ignored")
            << QStringList{"tic", "on-unset C 1", "wait 3000", "toc"} << QStringList{};
        QTest::newRow("empty identity counts")
            << QStringList{"tic", "on X 0", "wait 1000", "toc"} << QStringList{"X:0: 1 1"};
        QTest::newRow("hits add up")
            << QStringList{"tic", "on C 1 146.2000", "wait 1000", "toc", "tic", "on C 1 146.2000", "wait 2500", "toc"}
            << QStringList{"C:1:146.2000 2 3.5"};
        QTest::newRow("carrier off then on in idle starts at the call")
            << QStringList{"wait 5000", "on T* 3 000777", "wait 1000", "off"} << QStringList{"T*:3:000777 1 1"};
        QTest::newRow("tic while measuring restarts the clock, keeps identity")
            << QStringList{"tic", "on C 1 146.2000", "wait 5000", "tic", "wait 1000", "toc"} << QStringList{};
    }
    void sequences()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, records);
        FakeClock clock;
        MeasureIntfc m(clock);
        run(m, clock, steps);
        QStringList got;
        for (const auto& e : m.Measurements())
            got << QStringLiteral("%1 %2 %3").arg(e.key()).arg(e.Hits).arg(e.ElapsedTime);
        QCOMPARE(got, records);
        QCOMPARE(m.MeasureState(), int(MeasureIntfc::Idle));
    }

    void acrossMidnight()
    {
        FakeClock clock;
        clock.setLocalDateTime(QDateTime(QDate(2001, 10, 23), QTime(23, 59, 59)));
        MeasureIntfc m(clock);
        m.Tic();
        m.CarrierOn(QStringLiteral("C"), QStringLiteral("7"), QStringLiteral("155.0000"));
        clock.advanceMs(2000);
        m.Toc();
        // A second carrier after midnight joins the same record, stamped with the new day.
        clock.advanceMs(1000);
        m.Tic();
        m.CarrierOn(QStringLiteral("C"), QStringLiteral("7"), QStringLiteral("155.0000"));
        clock.advanceMs(1000);
        m.Toc();
        QCOMPARE(m.Measurements().size(), 1);
        const auto& e = m.Measurements().first();
        QCOMPARE(e.Hits, 2);
        QCOMPARE(e.ElapsedTime, 3.0);
        QCOMPARE(e.FirstHit, QDateTime(QDate(2001, 10, 23), QTime(23, 59, 59)));
        QCOMPARE(e.LastHit, QDateTime(QDate(2001, 10, 24), QTime(0, 0, 2)));
    }

    // The wall clock is stepped (daylight saving, a time correction) while a carrier is up.
    void wallClockStep_data()
    {
        QTest::addColumn<int>("stepMinutes");
        QTest::newRow("back one hour") << -60;
        QTest::newRow("forward past midnight") << 10 * 60;
    }
    void wallClockStep()
    {
        QFETCH(int, stepMinutes);
        FakeClock clock;
        const QDateTime start(QDate(2001, 10, 23), QTime(14, 5, 9));
        clock.setLocalDateTime(start);
        MeasureIntfc m(clock);
        m.Tic();
        m.CarrierOn(QStringLiteral("C"), QStringLiteral("7"), QStringLiteral("155.0000"));
        clock.advanceMs(1500);
        clock.setLocalDateTime(clock.localDateTime().addSecs(stepMinutes * 60));
        clock.advanceMs(1500);
        m.Toc();
        QCOMPARE(m.Measurements().size(), 1);
        QCOMPARE(m.Measurements().first().ElapsedTime, 3.0);
    }

    void hitStamps()
    {
        FakeClock clock;
        MeasureIntfc m(clock);
        const QDateTime first = clock.localDateTime();
        run(m, clock, {"tic", "on T 3 001234", "wait 2000", "toc", "wait 60000", "tic", "wait 500", "on T 3 001234",
                       "wait 1000", "toc"});
        QCOMPARE(m.Measurements().size(), 1);
        const auto& e = m.Measurements().first();
        QCOMPARE(e.FirstHit, first);
        QCOMPARE(e.LastHit, first.addMSecs(62500)); // a talkgroup's carrier starts at its announcement
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestMeasure)

} // namespace
} // namespace tst_measure

#include "tst_measure.moc"
