#include "app/ui/Start.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "TestSuite.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace tst_start {
namespace {

using namespace vexlor::app;
using vexlor::fakes::FakeDialogs;
using vexlor::fakes::FakeSerialPort;

class TestStart : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    IniFile m_ini;
    FakeSerialPort m_port;
    FakeDialogs m_dialogs;
    std::unique_ptr<StartSetup> m_setup;
    std::unique_ptr<Start> m_start;

    template <typename T>
    T* child(const char* name)
    {
        T* w = m_start->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qWarning("missing %s", name);
        return w;
    }

    // Runs the modal window and acts once it is up.
    StartOutcome runWith(const std::function<void()>& act)
    {
        QTimer::singleShot(0, m_start.get(), act);
        return m_start->run();
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_ini = IniFile();
        m_ini.setIniFileName(m_dir.filePath("qorvanix.ini"));
        QFile::remove(m_ini.IniFileName());
        m_ini.setUserName(" Ann ");
        m_port.setPortName("4");
        QVERIFY(m_port.setSettings("19200,n,8,1"));
        m_port.close();
        m_dialogs.messages.clear();
        m_setup = std::make_unique<StartSetup>(m_ini, m_port, m_dialogs, StartSetup::Running {[] { return 3.0; }, {}});
        m_start = std::make_unique<Start>(*m_setup, QStringList {"/dev/ttyUSB0"});
    }
    void cleanup()
    {
        m_start.reset();
        m_setup.reset();
    }

    void layout()
    {
        QCOMPARE(m_start->objectName(), QStringLiteral("Start"));
        QVERIFY(m_start->windowTitle().startsWith(QStringLiteral("Vexlor")));
        QVERIFY(m_start->isModal());
        QStringList groups;
        for (QGroupBox* g : m_start->findChildren<QGroupBox*>())
            groups << g->title();
        QCOMPARE(groups, (QStringList {"Your Name or Nick Name", "Your Configuration !", "Message !"}));
        QStringList labels;
        for (QLabel* l : m_start->findChildren<QLabel*>())
            labels << l->text();
        QVERIFY(labels.contains("Comm Port of your scanner ?"));
        QVERIFY(labels.contains("Baud Rate (9600 is default)"));

        auto* port = child<QComboBox>("PortCmb");
        auto* speed = child<QComboBox>("SpeedCmb");
        QVERIFY(port && speed);
        QVERIFY(port->isEditable() && speed->isEditable());
        QCOMPARE(port->count(), 13);
        QCOMPARE(port->itemText(0), QStringLiteral("Com 1"));
        QCOMPARE(port->itemText(11), QStringLiteral("Com 12"));
        QCOMPARE(port->itemText(12), QStringLiteral("/dev/ttyUSB0"));
        QStringList speeds;
        for (int i = 0; i < speed->count(); ++i)
            speeds << speed->itemText(i);
        QCOMPARE(speeds, (QStringList {"  2400 bds", "  4800 bds", "  9600 bds", "19200 bds"}));

        auto* text = child<QPlainTextEdit>("Text1");
        QVERIFY(text && text->isReadOnly());
        QCOMPARE(text->toPlainText().split('\n'),
                 (QStringList {"Put your scanner in \"PC Con\" mode.", "Pwr ON + E, Select \"PC Con\", Press E,",
                               "Select Speed, Pwr OFF.", "Don't forget to put it in REMOTE MODE by",
                               "holding the E key for 2 seconds. The Lock ", "Key will flash."}));
        QCOMPARE(child<QPushButton>("OKlbl")->text(), QStringLiteral("OK"));
        QCOMPARE(child<QPushButton>("CancelCmd")->text(), QStringLiteral("Cancel"));
    }

    // A long configured device path shows whole in the port box, plugged in or not.
    void longPortPathShowsWhole()
    {
        const QString path = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK2LQ7-if00-port0");
        m_port.setPortName(path);
        m_start = std::make_unique<Start>(*m_setup, QStringList {});
        m_start->show();
        auto* port = child<QComboBox>("PortCmb");
        QVERIFY(port->currentText().endsWith(path));
        QVERIFY2(port->lineEdit()->width() >= port->lineEdit()->fontMetrics().horizontalAdvance(port->currentText()),
                 qPrintable(QString::number(port->lineEdit()->width())));
    }

    void loadedTexts()
    {
        QCOMPARE(child<QLineEdit>("UserNameBox")->text(), QStringLiteral("Ann"));
        QCOMPARE(child<QComboBox>("PortCmb")->currentText(), QStringLiteral("Comm 4"));
        QCOMPARE(child<QComboBox>("SpeedCmb")->currentText(), QStringLiteral("19200 bds"));
    }

    void okSavesAndEnds()
    {
        const StartOutcome outcome = runWith([this] {
            child<QLineEdit>("UserNameBox")->setText("Bea");
            auto* port = child<QComboBox>("PortCmb");
            port->setCurrentIndex(port->findText("/dev/ttyUSB0"));
            auto* speed = child<QComboBox>("SpeedCmb");
            speed->setCurrentIndex(speed->findText("  2400 bds"));
            QTest::mouseClick(child<QPushButton>("OKlbl"), Qt::LeftButton);
        });
        QCOMPARE(outcome, StartOutcome::EndNow);
        QCOMPARE(m_ini.UserName(), QStringLiteral("Bea"));
        QCOMPARE(m_ini.ComPort(), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(m_ini.ComSettings(), QStringLiteral("2400,n,8,1"));
        QVERIFY(QFile::exists(m_ini.IniFileName()));
        QCOMPARE(m_dialogs.texts(), QStringList {"The new configuration has been saved.  Please Restart."});
    }

    void okNotSavedStaysOpen()
    {
        m_ini.setIniFileName(m_dir.filePath("missing/qorvanix.ini"));
        bool stillOpen = false;
        const StartOutcome outcome = runWith([this, &stillOpen] {
            QTest::mouseClick(child<QPushButton>("OKlbl"), Qt::LeftButton);
            stillOpen = m_start->isVisible();
            QTest::mouseClick(child<QPushButton>("CancelCmd"), Qt::LeftButton);
        });
        QVERIFY(stillOpen);
        QCOMPARE(outcome, StartOutcome::EndNow); // the port is closed
        QCOMPARE(m_dialogs.messages.size(), 1);
    }

    void cancelAndFrame_data()
    {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<bool>("byFrame");
        QTest::addColumn<StartOutcome>("outcome");
        QTest::newRow("cancel, port closed") << false << false << StartOutcome::EndNow;
        QTest::newRow("cancel, port open") << true << false << StartOutcome::Cancelled;
        QTest::newRow("frame, port closed") << false << true << StartOutcome::ClosedByFrame;
        QTest::newRow("frame, port open") << true << true << StartOutcome::ClosedByFrame;
    }
    void cancelAndFrame()
    {
        QFETCH(bool, portOpen);
        QFETCH(bool, byFrame);
        if (portOpen)
            QVERIFY(m_port.open());
        const StartOutcome outcome = runWith([this, byFrame] {
            if (byFrame)
                m_start->close();
            else
                QTest::mouseClick(child<QPushButton>("CancelCmd"), Qt::LeftButton);
        });
        QTEST(outcome, "outcome");
        QVERIFY(!QFile::exists(m_ini.IniFileName()));
        QVERIFY(m_dialogs.messages.isEmpty());
        QCOMPARE(m_ini.UserName(), QStringLiteral(" Ann "));
    }
};

VEXLOR_TEST_MAIN(TestStart)

} // namespace
} // namespace tst_start

#include "tst_start.moc"
