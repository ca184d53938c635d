#include "app/config/IniFile.h"
#include "FakeClock.h"
#include "FakeShell.h"
#include "recording/LogSetup.h"
#include "TestSuite.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace tst_logsetup {
namespace {

using vexlor::app::IniFile;
using vexlor::fakes::FakeClock;
using vexlor::fakes::FakeShell;
using vexlor::recording::LogFlags;
using vexlor::recording::LogSetup;

namespace {

LogSetup::Checks checksFrom(const QString& bits)
{
    LogSetup::Checks c {};
    for (std::size_t i = 0; i < c.size(); ++i)
        c[i] = bits.at(qsizetype(i)) == QLatin1Char('1');
    return c;
}

QString bitsOf(const LogSetup::Checks& c)
{
    QString s;
    for (bool b : c)
        s += b ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

} // namespace

class TestLogSetup : public QObject {
    Q_OBJECT
    LogFlags m_flags;
    QString m_name;
    FakeClock m_clock;
    FakeShell m_shell;
    QString m_openPath;
    // What the configuration held each time it was written.
    QStringList m_savedNames;
    QStringList m_savedLogWhat;
    std::unique_ptr<LogSetup> m_setup;

private Q_SLOTS:
    void init()
    {
        m_flags = LogFlags();
        m_name.clear();
        m_clock.setLocalDateTime(QDateTime(QDate(2001, 10, 23), QTime(14, 5, 9)));
        m_shell.files.clear();
        m_openPath.clear();
        m_savedNames.clear();
        m_savedLogWhat.clear();
        LogSetup::Config config {
            [this] { return m_name; },
            [this](const QString& n) { m_name = n; },
            [this] {
                m_savedNames << m_name;
                m_savedLogWhat << m_flags.toLogWhat();
            },
        };
        m_setup = std::make_unique<LogSetup>(m_flags, config, m_clock, m_shell, [this] { return m_openPath; });
    }

    void logOnOFF_data()
    {
        QTest::addColumn<QString>("logWhat");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("saved");
        QTest::newRow("off to on") << "011111111" << true << "111111111";
        QTest::newRow("on to off") << "100000001" << false << "000000001";
        QTest::newRow("a stray digit counts as off") << "7" << true << "100000000";
    }
    void logOnOFF()
    {
        QFETCH(QString, logWhat);
        QFETCH(bool, checked);
        QFETCH(QString, saved);
        m_flags = LogFlags::fromLogWhat(logWhat);
        QCOMPARE(m_setup->LogOnOFF(), checked);
        QCOMPARE(m_setup->logEnabled(), checked);
        QCOMPARE(m_savedLogWhat, QStringList {saved});
        QCOMPARE(m_shell.files, QStringList());

        // Toggling back saves again and restores the other eight switches untouched.
        QCOMPARE(m_setup->LogOnOFF(), !checked);
        QCOMPARE(m_savedLogWhat.size(), 2);
        QCOMPARE(m_savedLogWhat.last().mid(1), saved.mid(1));
        QCOMPARE(m_savedLogWhat.last().at(0), checked ? QLatin1Char('0') : QLatin1Char('1'));
    }

    void loadName_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("configured");
        QTest::addColumn<bool>("specific");
        QTest::addColumn<QString>("box");
        const QDate oct23(2001, 10, 23);
        QTest::newRow("AUTOMATIC") << oct23 << "AUTOMATIC" << false << "";
        QTest::newRow("generated today") << oct23 << "2001-10-23_1405" << false << "";
        QTest::newRow("generated yesterday") << oct23 << "2001-10-22_2359" << true << "2001-10-22_2359";
        QTest::newRow("last year's, across new year") << QDate(2002, 1, 1) << "2001-12-31_2359" << true
                                                       << "2001-12-31_2359";
        QTest::newRow("today's prefix, any tail") << oct23 << "2001-10-23_night" << false << "";
        QTest::newRow("date without the underscore") << oct23 << "2001-10-23" << true << "2001-10-23";
        QTest::newRow("arbitrary name") << oct23 << "night watch" << true << "night watch";
        QTest::newRow("lower case is a name") << oct23 << "automatic" << true << "automatic";
        // Start-up treats these as automatic; the window must not claim otherwise.
        QTest::newRow("empty") << oct23 << "" << false << "";
        QTest::newRow("blanks") << oct23 << "   " << false << "";
    }
    void loadName()
    {
        QFETCH(QDate, today);
        QFETCH(QString, configured);
        QFETCH(bool, specific);
        QFETCH(QString, box);
        m_clock.setLocalDateTime(QDateTime(today, QTime(0, 0, 1)));
        m_name = configured;
        const LogSetup::State s = m_setup->load(LogSetup::Checks {});
        QCOMPARE(s.specificName, specific);
        QCOMPARE(s.fileName, box);
        QCOMPARE(m_name, configured);
        QVERIFY(m_savedLogWhat.isEmpty());
    }

    void loadChecks_data()
    {
        QTest::addColumn<QString>("logWhat");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("shown");
        QTest::newRow("all off, boxes clear") << "000000000" << "000000000" << "000000000";
        QTest::newRow("switches check their boxes") << "101000001" << "000000000" << "101000001";
        QTest::newRow("a 0 switch leaves a checked box checked") << "000000000" << "010000010" << "010000010";
        QTest::newRow("mixed") << "110000000" << "001000001" << "111000001";
        QTest::newRow("only 1 checks") << "2" << "000000000" << "000000000";
    }
    void loadChecks()
    {
        QFETCH(QString, logWhat);
        QFETCH(QString, current);
        QFETCH(QString, shown);
        m_flags = LogFlags::fromLogWhat(logWhat);
        const LogFlags before = m_flags;
        QCOMPARE(bitsOf(m_setup->load(checksFrom(current)).checks), shown);
        QCOMPARE(m_flags, before);
    }

    void ok_data()
    {
        QTest::addColumn<bool>("specific");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("checks");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("logWhat");
        QTest::newRow("specific name") << true << "night" << "110000001" << "night" << "110000001";
        QTest::newRow("automatic ignores the box") << false << "night" << "011111111" << "AUTOMATIC"
                                                   << "011111111";
        QTest::newRow("specific but empty") << true << "" << "100000000" << "" << "100000000";
        QTest::newRow("everything off") << true << "x" << "000000000" << "x" << "000000000";
        QTest::newRow("line break cannot inject a setting")
            << true << "a\r\n[comm port]=7" << "100000000" << "a[comm port]7" << "100000000";
        QTest::newRow("no = nor tab nor wide characters") << true << QString::fromUtf8("r=1\t\u20ac\u00e9") << "100000000"
                                                          << QString::fromUtf8("r1\u00e9") << "100000000";
    }
    void ok()
    {
        QFETCH(bool, specific);
        QFETCH(QString, box);
        QFETCH(QString, checks);
        QFETCH(QString, name);
        QFETCH(QString, logWhat);
        m_name = "before";
        m_flags = LogFlags::fromLogWhat("011011011");
        const bool checked = m_setup->ok({specific, box, checksFrom(checks)});
        QCOMPARE(checked, logWhat.startsWith('1'));
        QCOMPARE(m_name, name);
        QCOMPARE(m_flags.toLogWhat(), logWhat);
        // Saved once, after both the name and the switches were in place.
        QCOMPARE(m_savedNames, QStringList {name});
        QCOMPARE(m_savedLogWhat, QStringList {logWhat});
    }

    // The stored name must come back from the file as it went in.
    void okRoundTripsThroughTheFile_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("reloaded");
        QTest::newRow("plain") << "night" << "night";
        QTest::newRow("with =") << "a=b" << "ab";
        QTest::newRow("with CR") << "a\rb" << "ab";
    }
    void okRoundTripsThroughTheFile()
    {
        QFETCH(QString, box);
        QFETCH(QString, reloaded);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        IniFile ini;
        ini.setIniFileName(dir.filePath("qorvanix.ini"));
        ini.setComPort("4");
        LogSetup::Config config {
            [&] { return ini.LogFileNameVal(); },
            [&](const QString& n) { ini.setLogFileNameVal(n); },
            [&] {
                ini.setLogWhat(m_flags.toLogWhat());
                QVERIFY(ini.SaveINI());
            },
        };
        LogSetup setup(m_flags, config, m_clock, m_shell, [] { return QString(); });
        setup.ok({true, box, checksFrom("101010101")});

        IniFile back;
        back.setIniFileName(ini.IniFileName());
        QVERIFY(back.LoadINI());
        QCOMPARE(back.LogFileNameVal(), reloaded);
        QCOMPARE(back.ComPort(), QStringLiteral("4"));
        QCOMPARE(back.LogWhat(), QStringLiteral("101010101"));
        QCOMPARE(setup.load(LogSetup::Checks {}).fileName, reloaded);
    }

    void openLog_data()
    {
        QTest::addColumn<QString>("openPath");
        QTest::addColumn<bool>("opened");
        QTest::newRow("no log open") << "" << false;
        QTest::newRow("this run's log") << "/var/tmp/logs/2001-10-23_1405.log" << true;
    }
    void openLog()
    {
        QFETCH(QString, openPath);
        QFETCH(bool, opened);
        m_openPath = openPath;
        m_name = "something else";
        QCOMPARE(m_setup->openLog(), opened);
        QCOMPARE(m_shell.files, opened ? QStringList {openPath} : QStringList());
        QVERIFY(m_savedLogWhat.isEmpty());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestLogSetup)

} // namespace
} // namespace tst_logsetup

#include "tst_logsetup.moc"
