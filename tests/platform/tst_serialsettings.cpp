#include "platform/SerialSettings.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_serialsettings {
namespace {

using vexlor::platform::SerialSettings;
using vexlor::platform::devicePathForPort;

class TestSerialSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("baud");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("default") << "9600,n,8,1" << true << 9600 << "9600,n,8,1";
        QTest::newRow("19200") << "19200,n,8,1" << true << 19200 << "19200,n,8,1";
        QTest::newRow("upper parity, blanks") << " 4800, E ,7,2" << true << 4800 << "4800,e,7,2";
        QTest::newRow("three parts") << "9600,n,8" << false << 0 << "";
        QTest::newRow("bad parity") << "9600,x,8,1" << false << 0 << "";
        QTest::newRow("bad speed") << "fast,n,8,1" << false << 0 << "";
        QTest::newRow("zero speed") << "0,n,8,1" << false << 0 << "";
        QTest::newRow("nine data bits") << "9600,n,9,1" << false << 0 << "";
        QTest::newRow("three stop bits") << "9600,n,8,3" << false << 0 << "";
        QTest::newRow("empty") << "" << false << 0 << "";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        const auto s = SerialSettings::parse(text);
        QCOMPARE(s.has_value(), ok);
        if (ok) {
            QFETCH(int, baud);
            QFETCH(QString, normalised);
            QCOMPARE(s->baud, baud);
            QCOMPARE(s->toString(), normalised);
        }
    }

    void devicePath_data()
    {
        QTest::addColumn<QString>("comPort");
        QTest::addColumn<QString>("path");
        QTest::newRow("1") << "1" << "/dev/ttyS0";
        QTest::newRow("12") << "12" << "/dev/ttyS11";
        QTest::newRow("blank number") << " 3 " << "/dev/ttyS2";
        QTest::newRow("usb path") << "/dev/ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("zero is no number") << "0" << "0";
    }
    void devicePath()
    {
        QFETCH(QString, comPort);
        QFETCH(QString, path);
        QCOMPARE(devicePathForPort(comPort), path);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestSerialSettings)

} // namespace
} // namespace tst_serialsettings

#include "tst_serialsettings.moc"
