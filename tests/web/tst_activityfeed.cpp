#include "FakeClock.h"
#include "recording/MeasureIntfc.h"
#include "TestSuite.h"
#include "web/ActivityFeed.h"

#include <QTest>

namespace tst_activityfeed {
namespace {

using namespace vexlor;

class TestActivityFeed : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each counted carrier becomes a hit, newest first, the last hundred kept.
    void hitsFromTheMeasurement()
    {
        fakes::FakeClock clock;
        clock.setLocalDateTime(QDateTime(QDate(2026, 12, 11), QTime(21, 5, 0)));
        recording::MeasureIntfc meas(clock);
        web::ActivityFeed feed;
        QObject::connect(&meas, &recording::MeasureIntfc::hitCounted, [&feed](const recording::SampleEvent& hit) {
            feed.add(hit, hit.ScanMode == QLatin1String("T") ? QStringLiteral("Fire Tac") : QStringLiteral("Harbour"),
                     QStringLiteral("851.2375"));
        });
        const auto hear = [&](const char* mode, const char* place, const QString& id, int ms) {
            meas.Tic();
            meas.CarrierOn(QLatin1String(mode), QLatin1String(place), id);
            clock.advanceMs(ms);
            meas.Toc();
        };
        hear("C", "12", QStringLiteral("154.4300"), 2340);
        hear("T", "2", QStringLiteral("001234"), 1500);
        hear("C", "12", QStringLiteral("154.4300"), 200); // too short to count
        QJsonArray hits = feed.newestFirst();
        QCOMPARE(hits.size(), 2);
        QCOMPARE(hits[0].toObject(), (QJsonObject {{"time", "2026-12-11T21:05:02"}, {"type", "T"}, {"place", "2"},
                                                   {"frequency", "851.2375"}, {"id", "001234"}, {"name", "Fire Tac"},
                                                   {"seconds", 1.5}}));
        QCOMPARE(hits[1].toObject().value("frequency").toString(), QStringLiteral("154.4300"));
        QCOMPARE(hits[1].toObject().value("seconds").toDouble(), 2.3);
        for (int i = 0; i < web::ActivityFeed::kMax; ++i)
            hear("C", "1", QString::number(i), 600);
        hits = feed.newestFirst();
        QCOMPARE(hits.size(), web::ActivityFeed::kMax);
        QCOMPARE(hits.first().toObject().value("frequency").toString(), QStringLiteral("99"));
        QCOMPARE(hits.last().toObject().value("frequency").toString(), QStringLiteral("0"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestActivityFeed)

} // namespace
} // namespace tst_activityfeed

#include "tst_activityfeed.moc"
