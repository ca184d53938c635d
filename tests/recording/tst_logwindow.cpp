#include "FakeClock.h"
#include "FakeShell.h"
#include "recording/ui/Log.h"
#include "TestSuite.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace tst_logwindow {
namespace {

using vexlor::fakes::FakeClock;
using vexlor::fakes::FakeShell;
using vexlor::recording::Log;
using vexlor::recording::LogFlags;
using vexlor::recording::LogSetup;

namespace {
const char* const kCheckNames[9] = {"LogEnableChk", "DateChk", "TimeChk", "FrequencyChk", "FreqTypeChk",
                                    "FreqNameChk", "IDChk", "IDTypeChk", "IDNameChk"};
}

class TestLogWindow : public QObject {
    Q_OBJECT
    LogFlags m_flags;
    QString m_name;
    int m_saves = 0;
    FakeClock m_clock;
    FakeShell m_shell;
    std::unique_ptr<LogSetup> m_setup;
    std::unique_ptr<Log> m_log;

    template <typename T>
    T* child(const QString& name)
    {
        T* w = m_log->findChild<T*>(name);
        if (!w)
            qWarning("missing %s", qPrintable(name));
        return w;
    }

    // Clicks near the left edge: a stretched button only takes clicks on its indicator and text.
    void click(const QString& name)
    {
        auto* b = child<QAbstractButton>(name);
        QVERIFY(b);
        const bool was = b->isChecked();
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
        if (b->isCheckable() && !b->autoExclusive())
            QVERIFY(b->isChecked() != was);
    }

    QString shownChecks()
    {
        QString s;
        for (const char* n : kCheckNames) {
            QCheckBox* c = child<QCheckBox>(QString::fromLatin1(n));
            s += c && c->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        }
        return s;
    }

private Q_SLOTS:
    void init()
    {
        m_flags = LogFlags::fromLogWhat("101000001");
        m_name = "2001-10-22_2359";
        m_saves = 0;
        m_clock.setLocalDateTime(QDateTime(QDate(2001, 10, 23), QTime(9, 0)));
        LogSetup::Config config {[this] { return m_name; }, [this](const QString& n) { m_name = n; },
                                 [this] { ++m_saves; }};
        m_setup = std::make_unique<LogSetup>(m_flags, config, m_clock, m_shell, [] { return QString(); });
        m_log = std::make_unique<Log>(*m_setup);
    }
    void cleanup()
    {
        m_log.reset();
        m_setup.reset();
    }

    void window()
    {
        QCOMPARE(m_log->objectName(), QStringLiteral("Log"));
        QCOMPARE(m_log->windowTitle(), QStringLiteral("General Log Setup"));
        QVERIFY(!m_log->isModal());
        auto* box = child<QLineEdit>("FileNameBox");
        QVERIFY(box);
        QVERIFY(child<QGroupBox>("Frame1")->isAncestorOf(box));
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("frame");
        QTest::newRow("LogEnableChk") << "LogEnableChk" << "LOG ENABLE" << "Frame3";
        QTest::newRow("DateChk") << "DateChk" << "Date   (YYYYmmmDD)" << "Frame2";
        QTest::newRow("TimeChk") << "TimeChk" << "Time   (HH:MM:SS)" << "Frame2";
        QTest::newRow("FrequencyChk") << "FrequencyChk" << "Frequency   (000,0000 MHz)" << "Frame2";
        QTest::newRow("FreqTypeChk") << "FreqTypeChk" << "Freq Type   (AMB, FDP, POL)" << "Frame2";
        QTest::newRow("FreqNameChk") << "FreqNameChk" << "Freq Name   (Alpha Tag)" << "Frame2";
        QTest::newRow("IDChk") << "IDChk" << "ID   (04-023 or  405-12)" << "Frame2";
        QTest::newRow("IDTypeChk") << "IDTypeChk" << "ID Type   (AMB, FDP, POL)" << "Frame2";
        QTest::newRow("IDNameChk") << "IDNameChk" << "ID Name   (Alpha Tag)" << "Frame2";
        QTest::newRow("Option1") << "Option1" << "Specific Name :" << "Frame1";
        QTest::newRow("Option2") << "Option2" << "Automatic Log Name   (date&&time.log)" << "Frame1";
        QTest::newRow("OKCmd") << "OKCmd" << "OK" << "";
        QTest::newRow("CancelCmd") << "CancelCmd" << "Cancel" << "";
    }
    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, frame);
        auto* button = child<QAbstractButton>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        if (!frame.isEmpty()) {
            auto* group = child<QGroupBox>(frame);
            QVERIFY(group);
            QVERIFY(group->isAncestorOf(button));
        }
    }

    void frames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("Frame1") << "Frame1" << "File Name";
        QTest::newRow("Frame2") << "Frame2" << "Data to log";
        QTest::newRow("Frame3") << "Frame3" << "";
    }
    void frames()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        auto* group = child<QGroupBox>(name);
        QVERIFY(group);
        QCOMPARE(group->title(), title);
    }

    void showRendersTheSettings()
    {
        m_log->showSetup();
        QVERIFY(m_log->isVisible());
        QVERIFY(child<QRadioButton>("Option1")->isChecked());
        QVERIFY(!child<QRadioButton>("Option2")->isChecked());
        QCOMPARE(child<QLineEdit>("FileNameBox")->text(), QStringLiteral("2001-10-22_2359"));
        QCOMPARE(shownChecks(), QStringLiteral("101000001"));
        QCOMPARE(m_saves, 0);
    }

    void okApplies()
    {
        QSignalSpy checked(m_log.get(), &Log::logOnOFFChecked);
        m_name = "2001-10-23_0900";
        m_log->showSetup();
        QVERIFY(child<QRadioButton>("Option2")->isChecked());
        QCOMPARE(child<QLineEdit>("FileNameBox")->text(), QString());

        click("LogEnableChk");
        click("TimeChk");
        // Typing a name picks the specific choice; "=" cannot be typed.
        QTest::keyClicks(child<QLineEdit>("FileNameBox"), "ni=ght");
        QVERIFY(child<QRadioButton>("Option1")->isChecked());
        QCOMPARE(child<QLineEdit>("FileNameBox")->text(), QStringLiteral("night"));

        click("OKCmd");
        QVERIFY(!m_log->isVisible());
        QCOMPARE(m_name, QStringLiteral("night"));
        QCOMPARE(m_flags.toLogWhat(), QStringLiteral("000000001"));
        QCOMPARE(m_saves, 1);
        QCOMPARE(checked.size(), 1);
        QCOMPARE(checked.at(0).at(0).toBool(), false);
    }

    void okWithAutomatic()
    {
        QSignalSpy checked(m_log.get(), &Log::logOnOFFChecked);
        m_log->showSetup();
        click("Option2");
        click("OKCmd");
        QCOMPARE(m_name, QStringLiteral("AUTOMATIC"));
        QCOMPARE(m_flags.toLogWhat(), QStringLiteral("101000001"));
        QCOMPARE(checked.size(), 1);
        QCOMPARE(checked.at(0).at(0).toBool(), true);
    }

    void cancelChangesNothing()
    {
        QSignalSpy checked(m_log.get(), &Log::logOnOFFChecked);
        m_log->showSetup();
        click("DateChk");
        click("Option2");
        click("CancelCmd");
        QVERIFY(!m_log->isVisible());
        QCOMPARE(m_name, QStringLiteral("2001-10-22_2359"));
        QCOMPARE(m_flags.toLogWhat(), QStringLiteral("101000001"));
        QCOMPARE(m_saves, 0);
        QCOMPARE(checked.size(), 0);

        // Reopened, the window shows the settings again, not the abandoned edit.
        m_log->showSetup();
        QVERIFY(child<QRadioButton>("Option1")->isChecked());
        QCOMPARE(shownChecks(), QStringLiteral("101000001"));
    }

    // Logging switched off from the menu after OK must not show as on.
    void reopenFollowsTheMenu()
    {
        m_log->showSetup();
        click("OKCmd");
        QCOMPARE(m_setup->LogOnOFF(), false);
        m_log->showSetup();
        QCOMPARE(shownChecks(), QStringLiteral("001000001"));
        click("OKCmd");
        QCOMPARE(m_flags.LogEnableVal, 0);
    }
};

VEXLOR_TEST_MAIN(TestLogWindow)

} // namespace
} // namespace tst_logwindow

#include "tst_logwindow.moc"
