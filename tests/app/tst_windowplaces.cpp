#include "app/WindowPlaces.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_windowplaces {
namespace {

using vexlor::app::WindowPlaces;

const QRect kScreen(0, 0, 1280, 1000);
const QRect kMain(100, 100, 600, 400);

class TestWindowPlaces : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void place_data()
    {
        QTest::addColumn<QRect>("remembered"); // null: none
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("placed");
        const QList<QRect> one {kScreen};
        QTest::newRow("remembered, on the screen") << QRect(700, 200, 400, 300) << QSize() << kMain << one << QRect(700, 200, 400, 300);
        QTest::newRow("remembered, partly below the screen")
            << QRect(700, 800, 400, 500) << QSize() << kMain << one << QRect(700, 500, 400, 500);
        QTest::newRow("remembered on a screen now gone: beside the main window, its size kept")
            << QRect(3000, 100, 400, 300) << QSize() << kMain << one << QRect(708, 100, 400, 300);
        QTest::newRow("first time: right of the main window") << QRect() << QSize(400, 300) << kMain << one << QRect(708, 100, 400, 300);
        QTest::newRow("no room on the right: left of it")
            << QRect() << QSize(400, 300) << QRect(800, 100, 400, 400) << one << QRect(392, 100, 400, 300);
        QTest::newRow("taller than the screen: shrunk onto it")
            << QRect() << QSize(500, 1200) << kMain << one << QRect(132, 30, 500, 970);
        QTest::newRow("remembered on a second screen")
            << QRect(1500, 100, 400, 300) << QSize() << kMain << QList<QRect> {kScreen, QRect(1280, 0, 1920, 1080)}
            << QRect(1500, 100, 400, 300);
    }
    void place()
    {
        QFETCH(QRect, remembered);
        QFETCH(QSize, size);
        QFETCH(QRect, main);
        QFETCH(QList<QRect>, screens);
        const auto from = remembered.isNull() ? std::nullopt : std::optional<QRect>(remembered);
        QTEST(WindowPlaces::place(from, size, main, screens, 30), "placed");
    }

    void configurationText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("round trip, by name") << "Stats:1,2,3,4;Banks:-10,20,600,500" << "Banks:-10,20,600,500;Stats:1,2,3,4";
        QTest::newRow("damaged entries skipped")
            << "x;Banks:1,2,3;Keypad:a,b,c,d;Stats:1,2,-3,4;Big:1,2,3,999999999;Log:5,6,7,8;" << "Log:5,6,7,8";
    }
    void configurationText()
    {
        QFETCH(QString, text);
        WindowPlaces places;
        places.load(text);
        QTEST(places.text(), "kept");
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestWindowPlaces)

} // namespace
} // namespace tst_windowplaces

#include "tst_windowplaces.moc"
