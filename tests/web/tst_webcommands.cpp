#include "../controls/ControlsRig.h"
#include "controls/DirectEntry.h"
#include "controls/Keypad.h"
#include "TestSuite.h"
#include "web/WebCommands.h"

#include <QJsonDocument>
#include <QTest>

namespace tst_webcommands {
namespace {

using namespace vexlor;

class TestWebCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What a browser's command sends to the receiver, or why it sends nothing.
    void run_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("error");
        QTest::newRow("a key by its caption") << QByteArray(R"({"type":"key","key":"scan"})") << QStringList {"KEY00"} << QString();
        QTest::newRow("L/O, what is heard") << QByteArray(R"({"type":"key","key":"L/O"})") << QStringList {"KEY06"} << QString();
        QTest::newRow("a digit") << QByteArray(R"({"type":"key","key":"5"})") << QStringList {"KEY02 5"} << QString();
        QTest::newRow("no such key") << QByteArray(R"({"type":"key","key":"BOOM"})") << QStringList {} << "No such key: \"BOOM\".";
        QTest::newRow("a frequency, manual mode first")
            << QByteArray(R"({"type":"frequency","frequency":"154.43"})") << QStringList {"MA001", "RF01544300"} << QString();
        QTest::newRow("a frequency out of band") << QByteArray(R"({"type":"frequency","frequency":700})") << QStringList {}
                                                 << "700.0000 MHz is outside the scanner's bands (29-54, 108-174, 406-512 and 806-956 MHz).";
        QTest::newRow("not a frequency") << QByteArray(R"({"type":"frequency","frequency":"abc"})") << QStringList {}
                                         << "Give a frequency in MHz, such as 154.43.";
        QTest::newRow("a channel") << QByteArray(R"({"type":"channel","channel":12})") << QStringList {"MA012"} << QString();
        QTest::newRow("channel 301") << QByteArray(R"({"type":"channel","channel":301})") << QStringList {} << "A channel is 1 to 300.";
        QTest::newRow("a bank with a fraction") << QByteArray(R"({"type":"bank","bank":2.5})") << QStringList {} << "A bank is 1 to 10.";
        QTest::newRow("something else") << QByteArray(R"({"type":"reboot"})") << QStringList {} << "No such command.";
    }
    void run()
    {
        QFETCH(QByteArray, command);
        controls::testing::ControlsRig rig;
        controls::KeypadSender keys(rig.link);
        controls::DirectEntry entry(rig.link, rig.display, rig.decoder);
        web::WebCommands commands(keys, entry);
        QTEST(commands.run(QJsonDocument::fromJson(command).object()), "error");
        QTEST(rig.takeWritten(), "lines");
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestWebCommands)

} // namespace
} // namespace tst_webcommands

#include "tst_webcommands.moc"
