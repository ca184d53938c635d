#include "app/StatsBinder.h"
#include "app/ui/MainWindow.h"
#include "memory/MemoryTables.h"
#include "AppFixture.h"
#include "recording/ui/Stats.h"
#include "TestSuite.h"

#include <QAbstractButton>
#include <QAction>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

namespace tst_statsbinder {
namespace {

using namespace vexlor;

// Options > Statistics in the whole program, through the real window.
class TestStatsBinder : public QObject, protected testing::AppFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(enterScratchDir()); }
    void cleanup() { leaveScratchDir(); }

    void headerPresses_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QString>("header");
        QTest::newRow("left") << 4 << int(Qt::LeftButton) << false << "Hits (1D)";
        QTest::newRow("shift left") << 4 << int(Qt::LeftButton) << true << "Hits (1U)";
        QTest::newRow("right adds a key") << 5 << int(Qt::RightButton) << false << "Time (2D)";
    }
    void headerPresses()
    {
        QFETCH(int, column);
        QFETCH(int, button);
        QFETCH(bool, shift);
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        auto& meas = m_app->meas();
        for (const char* id : {"146.2000", "147.0000", "146.2000"}) {
            meas.Tic();
            meas.CarrierOn(QStringLiteral("C"), QStringLiteral("1"), QString::fromLatin1(id));
            m_clock.advanceMs(1500);
            meas.Toc();
        }

        QAction* a = m_app->window().action(QStringLiteral("Statistics"));
        QVERIFY(a && a->isEnabled());
        a->trigger();
        recording::Stats* w = m_app->statsBinder().window();
        QVERIFY(w && w->isVisible() && !w->isModal());
        QCOMPARE(w->objectName(), QStringLiteral("Stats"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Statistics"));
        for (const char* name : {"WaitLbl", "Label4_0", "Label4_1", "Label4_2", "Label4_3"})
            QVERIFY2(w->findChild<QLabel*>(QLatin1String(name)), name);
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Label4_1"))->text(), QStringLiteral("RIGHT Click - Sort Secondary"));
        QVERIFY(w->findChild<QAbstractButton*>(QStringLiteral("ExportCmd")));
        QVERIFY(w->findChild<QChartView*>(QStringLiteral("ChartView")));
        auto* run = w->findChild<QAbstractButton*>(QStringLiteral("Run"));
        QCOMPARE(run->text(), QStringLiteral("Pause 5 second updates"));
        run->click();
        QCOMPARE(run->text(), QStringLiteral("Pause"));

        auto* list = w->findChild<QTableView*>(QStringLiteral("FreqList"));
        QVERIFY(list);
        QCOMPARE(list->model()->rowCount(), 2);
        QHeaderView* header = list->horizontalHeader();
        if (button == Qt::RightButton) // a second key needs a first
            QTest::mousePress(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(4) + 5, header->height() / 2));
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mousePress(header->viewport(), Qt::MouseButton(button), shift ? Qt::ShiftModifier : Qt::NoModifier, at);
        QTEST(list->model()->headerData(column, Qt::Horizontal).toString(), "header");
        QCOMPARE(list->model()->index(0, 4).data().toString(), shift ? QStringLiteral("1") : QStringLiteral("2"));

        // The menu again while open keeps the sort.
        a->trigger();
        QTEST(list->model()->headerData(column, Qt::Horizontal).toString(), "header");

        w->findChild<QAbstractButton*>(QStringLiteral("OKCmd"))->click();
        QVERIFY(!w->isVisible());
        QVERIFY(!m_app->statsBinder().view().StatsTimer().isActive());
        // Reused, with a fresh sort.
        a->trigger();
        QCOMPARE(m_app->statsBinder().window(), w);
        QCOMPARE(list->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Hits"));
        QCOMPARE(run->text(), QStringLiteral("Pause 5 second updates"));
    }

    // Channels and talkgroups show the names the operator gave them, as they are at each refresh.
    void namesFromTheMemories()
    {
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        using MT = memory::MemoryTables;
        m_app->tables().Channels.set(1, MT::kChName, QStringLiteral("Harbour Ops"));
        m_app->tables().IDs.set(2, 5, MT::kIdId, QStringLiteral("001234"));
        m_app->tables().IDs.set(2, 5, MT::kIdName, QStringLiteral("Fire Dispatch"));
        auto& meas = m_app->meas();
        for (const auto& [mode, place, id] : {std::tuple {"C", "1", "146.2000"}, {"T", "2", "001234"}, {"T*", "2", "009999"}}) {
            meas.Tic();
            meas.CarrierOn(QLatin1String(mode), QLatin1String(place), QString::fromLatin1(id));
            m_clock.advanceMs(1500);
            meas.Toc();
        }
        recording::StatsView& view = m_app->statsBinder().view();
        view.open();
        const auto names = [&view] {
            QStringList out;
            for (int r = 0; r < view.table().rowCount(); ++r)
                out << view.table().cell(r, recording::StatsTable::Name);
            return out;
        };
        QCOMPARE(names(), (QStringList {"Harbour Ops", "Fire Dispatch", ""}));
        QCOMPARE(view.chartBars().first().label, QStringLiteral("Harbour Ops (146.2000)"));
        m_app->tables().Channels.set(1, MT::kChName, QStringLiteral("Marina"));
        m_clock.advanceMs(6000);
        view.StatsTimer_Timer();
        QCOMPARE(names().first(), QStringLiteral("Marina"));
        view.close();
    }

    // A refresh keeps the operator's place; a press on a cell sorts by its column.
    void refreshKeepsThePlace()
    {
        m_app = makeApp();
        m_app->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        QVERIFY(m_app->startUp());
        auto& meas = m_app->meas();
        const auto hear = [&](int n) {
            meas.Tic();
            meas.CarrierOn(QStringLiteral("C"), QString::number(n), QStringLiteral("%1.0000").arg(150 + n));
            m_clock.advanceMs(1000);
            meas.Toc();
        };
        for (int n = 1; n <= 80; ++n)
            hear(n);
        m_app->window().action(QStringLiteral("Statistics"))->trigger();
        recording::Stats* w = m_app->statsBinder().window();
        auto* list = w->findChild<QTableView*>(QStringLiteral("FreqList"));
        QCOMPARE(list->model()->rowCount(), 80);
        list->selectRow(50);
        list->scrollTo(list->model()->index(50, 0), QAbstractItemView::PositionAtTop);
        const int scroll = list->verticalScrollBar()->value();
        QVERIFY(scroll > 0);
        const QString chosen = list->model()->index(50, 3).data().toString();
        hear(81);
        m_clock.advanceMs(6000);
        QTRY_COMPARE(list->model()->rowCount(), 81);
        QCOMPARE(list->verticalScrollBar()->value(), scroll);
        const QModelIndexList selected = list->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(list->model()->index(selected.first().row(), 3).data().toString(), chosen);

        const QRect cell = list->visualRect(list->model()->index(52, 4));
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(list->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Hits (1D)"));
    }
};

VEXLOR_TEST_MAIN(TestStatsBinder)

} // namespace
} // namespace tst_statsbinder

#include "tst_statsbinder.moc"
