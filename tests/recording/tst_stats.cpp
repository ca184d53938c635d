#include "FakeClock.h"
#include "FakeDialogs.h"
#include "recording/MeasureIntfc.h"
#include "recording/StatsChart.h"
#include "recording/StatsView.h"
#include "TestSuite.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace tst_stats {
namespace {

using namespace vexlor;
using recording::SampleEvent;
using recording::StatsTable;
using recording::StatsView;

namespace {

SampleEvent record(const QString& mode, const QString& place, const QString& id, int hits, double seconds)
{
    SampleEvent e;
    e.ScanMode = mode;
    e.Index = place;
    e.Identity = id;
    e.Hits = hits;
    e.ElapsedTime = seconds;
    return e;
}

// Rows A to D, by their identities.
const QList<SampleEvent> kRecords = {
    record("C", "1", "A", 3, 999.9),
    record("C", "2", "B", 1, 1234.5),
    record("T", "3", "C", 5, 20),
    record("T", "12", "D", 3, 50),
};

QStringList column(const StatsTable& t, int c)
{
    QStringList out;
    for (int r = 0; r < t.rowCount(); ++r)
        out << t.cell(r, c);
    return out;
}

QStringList markedHeaders(const StatsTable& t)
{
    QStringList out;
    for (int c = 0; c < t.columnCount(); ++c)
        if (t.header(c) != StatsTable::title(c))
            out << t.header(c);
    return out;
}

// A carrier of `ms` on one channel.
void hear(recording::MeasureIntfc& m, fakes::FakeClock& clock, const QString& id, int ms)
{
    m.Tic();
    m.CarrierOn(QStringLiteral("C"), QStringLiteral("1"), id);
    clock.advanceMs(ms);
    m.Toc();
}

} // namespace

class TestStats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Presses: "L" left, "R" another button, "S" prefix for Shift, then the column.
    void sorting_data()
    {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QString>("order");
        QTest::newRow("hits, most first") << QStringList{"L4"} << QStringList{"Hits (1D)"} << "CADB";
        QTest::newRow("shift: fewest first") << QStringList{"L4", "SL4"} << QStringList{"Hits (1U)"} << "BADC";
        QTest::newRow("right adds a second key")
            << QStringList{"SL4", "R5"} << QStringList{"Hits (1U)", "Time (2D)"} << "BADC";
        QTest::newRow("right on a key sets its direction")
            << QStringList{"L4", "R5", "SR4"} << QStringList{"Hits (1U)", "Time (2D)"} << "BADC";
        QTest::newRow("1,234.5 above 999.9") << QStringList{"L5"} << QStringList{"Time (1D)"} << "BADC";
        QTest::newRow("places compare as numbers") << QStringList{"SL2"} << QStringList{"Loc (1U)"} << "ABCD";
        QTest::newRow("a sixth key is refused")
            << QStringList{"L1", "R2", "R3", "R4", "R5", "R6"}
            << QStringList{"Type (1D)", "Loc (2D)", "Freq/ID (3D)", "Hits (4D)", "Time (5D)"} << "DCBA";
        QTest::newRow("row number only as primary") << QStringList{"L4", "R0"} << QStringList{"Hits (1D)"} << "CADB";
        QTest::newRow("row number as primary") << QStringList{"L0"} << QStringList{" (1D)"} << "DCBA";
    }
    void sorting()
    {
        QFETCH(QStringList, presses);
        StatsTable t;
        for (QString p : presses) {
            const bool shift = p.startsWith(QLatin1Char('S'));
            if (shift)
                p.remove(0, 1);
            const int c = p.mid(1).toInt();
            if (p.startsWith(QLatin1Char('L')))
                t.sortPrimary(c, shift);
            else
                t.sortSecondary(c, shift);
        }
        t.refresh(kRecords);
        QTEST(markedHeaders(t), "headers");
        QTEST(column(t, StatsTable::FreqId).join(QString()), "order");
    }

    // Rows are kept between refreshes; a record that changed must show its new values.
    void refreshFollowsChanges()
    {
        StatsTable t;
        t.refresh(kRecords);
        QList<SampleEvent> later = kRecords;
        later[1].Hits = 4;
        later[1].ElapsedTime = 1240;
        later.append(record("T", "4", "E", 1, 2));
        t.refresh(later);
        QCOMPARE(column(t, StatsTable::Hits), QStringList({"3", "4", "5", "3", "1"}));
        QCOMPARE(t.cell(1, StatsTable::Time), QStringLiteral("1,240.0"));
        t.refresh(kRecords.mid(0, 1));
        QCOMPARE(t.rowCount(), 1);
    }

    void csv_data()
    {
        QTest::addColumn<QList<SampleEvent>>("records");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray header = ",Type,Loc,Freq/ID,Hits,Time,First,Last,Name,Recorded\r\n";
        QTest::newRow("empty: the header alone") << QList<SampleEvent>{} << header;
        SampleEvent quoted = record("T", "3", "say \"hi\", \"you\"", 2, 1234.5);
        quoted.FirstHit = QDateTime(QDate(2001, 10, 23), QTime(14, 5, 9));
        quoted.LastHit = QDateTime(QDate(2001, 10, 24), QTime(0, 0, 1));
        QTest::newRow("quotes and separators")
            << QList<SampleEvent>{record("C", "1", "146.2000", 7, 3), quoted}
            << header + "2,T,3,\"say \"\"hi\"\", \"\"you\"\"\",2,\"1,234.5\",2001-10-23 14:05:09,2001-10-24 00:00:01,,0.0\r\n"
                        "1,C,1,146.2000,7,3.0,,,\"Fire, Main\",0.0\r\n";
    }
    void csv()
    {
        QFETCH(QList<SampleEvent>, records);
        StatsTable t;
        // Sorted by hits, fewest first: the export follows the grid's order.
        t.sortPrimary(StatsTable::Hits, true);
        t.setNames([](const SampleEvent& e) { return e.ScanMode == QLatin1String("C") ? QStringLiteral("Fire, Main") : QString(); });
        t.refresh(records);
        QCOMPARE(t.rowCount(), records.size());
        QTEST(t.toCsv(), "bytes");
    }

    void exportFile_data()
    {
        QTest::addColumn<QString>("answer"); // relative to a scratch folder
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("complaint");
        QTest::newRow("written") << "out.csv" << "out.csv" << false;
        QTest::newRow("suffix added") << "out" << "out.csv" << false;
        QTest::newRow("missing folder") << "none/out.csv" << "" << true;
    }
    void exportFile()
    {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QTemporaryDir dir;
        fakes::FakeClock clock;
        fakes::FakeDialogs dialogs;
        recording::MeasureIntfc meas(clock);
        hear(meas, clock, QStringLiteral("146.2000"), 1000);
        StatsView view(meas, clock, dialogs);
        view.open();
        dialogs.fileAnswers.push_back(dir.filePath(answer));
        view.ExportCmd_Click();
        QCOMPARE(dialogs.fileRequests.size(), 1);
        QCOMPARE(dialogs.fileRequests[0].filter, QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*"));
        QVERIFY(dialogs.fileRequests[0].newName);
        if (!written.isEmpty()) {
            QFile f(dir.filePath(written));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), view.table().toCsv());
        }
        QTEST(!dialogs.messages.isEmpty(), "complaint");
    }

    void pauseStopsRefresh()
    {
        fakes::FakeClock clock;
        fakes::FakeDialogs dialogs;
        recording::MeasureIntfc meas(clock);
        StatsView view(meas, clock, dialogs);
        QCOMPARE(view.run().text, QStringLiteral("Pause 5 second updates"));
        view.open();
        QCOMPARE(view.table().rowCount(), 0);
        hear(meas, clock, QStringLiteral("146.2000"), 1000);
        clock.advanceMs(4000);
        view.StatsTimer_Timer(); // five seconds, not more
        QCOMPARE(view.table().rowCount(), 0);
        clock.advanceMs(1);
        QTRY_COMPARE(view.table().rowCount(), 1);

        view.Run_Click();
        QVERIFY(!view.StatsTimer().isActive());
        QCOMPARE(view.run().text, QStringLiteral("Pause"));
        QCOMPARE(view.run().background, 0xff0000u);
        hear(meas, clock, QStringLiteral("147.0000"), 1000);
        clock.advanceMs(6000);
        QTest::qWait(3 * StatsView::kTickMs);
        QCOMPARE(view.table().rowCount(), 1);

        view.Run_Click();
        QCOMPARE(view.run().text, QStringLiteral("Run"));
        QCOMPARE(view.run().background, 0x00ff00u);
        QTRY_COMPARE(view.table().rowCount(), 2);

        view.close();
        QVERIFY(!view.StatsTimer().isActive());
    }

    void chart_data()
    {
        QTest::addColumn<int>("measure");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last"); // the fourth
        QTest::newRow("by hits") << int(recording::ChartMeasure::Hits) << "T 3 C" << "C 2 B";
        QTest::newRow("by time") << int(recording::ChartMeasure::Time) << "C 2 B" << "T 3 C";
    }
    void chart()
    {
        QFETCH(int, measure);
        QList<SampleEvent> records = kRecords;
        for (int i = 0; i < 30; ++i)
            records << record("C", QString::number(100 + i), "quiet", 1, 1);
        const auto bars = recording::busiest(records, recording::ChartMeasure(measure));
        QCOMPARE(bars.size(), 20);
        QTEST(bars.first().label, "first");
        QTEST(bars.at(3).label, "last");
        QCOMPARE(bars.at(19).label, QStringLiteral("C 115 quiet")); // ties stay in order
    }

    // A named record is labelled by its name; two alike say where they were heard.
    void chartNames()
    {
        const QList<SampleEvent> records {record("C", "1", "154.0000", 3, 1), record("C", "2", "154.0000", 2, 1),
                                          record("T", "3", "001234", 1, 1)};
        const auto names = [](const SampleEvent& e) { return e.ScanMode == QLatin1String("C") ? QStringLiteral("Tower") : QString(); };
        QStringList labels;
        for (const auto& bar : recording::busiest(records, recording::ChartMeasure::Hits, 20, names))
            labels << bar.label;
        QCOMPARE(labels, (QStringList {"Tower (154.0000)", "Tower (C 2 154.0000)", "T 3 001234"}));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestStats)

} // namespace
} // namespace tst_stats

#include "tst_stats.moc"
