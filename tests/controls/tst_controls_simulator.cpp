#include "app/Application.h"
#include "app/ui/MainWindow.h"
#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "FakeShell.h"
#include "platform/qt/QtPrintService.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/SystemClock.h"
#include "simulator/SimulatorHost.h"
#include "TestSuite.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace tst_controls_simulator {
namespace {

using namespace vexlor;

// The whole program on the simulated receiver: the mode shown changes only
// once the receiver's answer to a control has come back and been decoded.
class TestControlsSimulator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modeFollowsTheReceiver()
    {
        QTemporaryDir dir;
        const QString oldDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        simulator::SimulatorOptions options;
        options.activity = false;
        simulator::SimulatorHost host(options);
        QVERIFY2(host.start(), qPrintable(host.errorString()));

        platform::QtSerialPort port;
        platform::SystemClock clock;
        fakes::FakeDialogs dialogs;
        fakes::FakeShell shell;
        fakes::FakeClipboard clipboard;
        platform::QtPrintService printers;
        app::CommandLine line;
        line.port = host.portName();
        {
            app::Application a({port, dialogs, shell, clock, clipboard, [] { return QStringList(); }, printers}, line);
            a.exitProgram = [] {};
            QVERIFY(a.startUp());
            auto* mode = a.window().control<QLabel>(QStringLiteral("ModeLbl"));
            QTRY_VERIFY_WITH_TIMEOUT(!mode->text().isEmpty(), 5000);

            const QString manual = QStringLiteral("Manual Mode");
            const QString scan = QStringLiteral("Scan Mode");
            for (int step = 0; step < 3; ++step) {
                const QString before = mode->text();
                const bool toManual = before != manual;
                a.window().keyButton(toManual ? 1 : 0)->click();
                // Not from the click itself: the display waits for the answer.
                QCOMPARE(mode->text(), before);
                QTRY_COMPARE_WITH_TIMEOUT(mode->text(), toManual ? manual : scan, 5000);
            }
            // The Mode menu too.
            const bool inManual = mode->text() == manual;
            a.window().action(inManual ? QStringLiteral("Scan") : QStringLiteral("Manual"))->trigger();
            QTRY_COMPARE_WITH_TIMEOUT(mode->text(), inManual ? scan : manual, 5000);
            a.shutDown(false);
        }
        QDir::setCurrent(oldDir);
    }
};

VEXLOR_TEST_MAIN(TestControlsSimulator)

} // namespace
} // namespace tst_controls_simulator

#include "tst_controls_simulator.moc"
