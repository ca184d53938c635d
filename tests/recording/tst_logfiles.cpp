#include "FakeClock.h"
#include "recording/ActivityLog.h"
#include "recording/LogFlags.h"
#include "TestSuite.h"

#include <QTemporaryDir>
#include <QTest>

namespace tst_logfiles {
namespace {

using vexlor::recording::ActivityLog;
using vexlor::recording::LogFlags;
using vexlor::fakes::FakeClock;

class TestLogFiles : public QObject {
    Q_OBJECT
    LogFlags m_flags;
    FakeClock m_clock;

    QByteArray readLog(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    void logWhat_data()
    {
        QTest::addColumn<QString>("logWhat");
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("written");
        QTest::newRow("all on") << "111111111" << "111111111" << "111111111";
        QTest::newRow("only enable") << "1" << "100000000" << "100000000";
        QTest::newRow("empty") << "" << "000000000" << "000000000";
        QTest::newRow("non-digit reads 0") << "1x1 11111" << "101011111" << "101011111";
        QTest::newRow("longer text cut") << "0101010101111" << "010101010" << "010101010";
    }
    void logWhat()
    {
        QFETCH(QString, logWhat);
        QFETCH(QString, values);
        QFETCH(QString, written);
        const LogFlags f = LogFlags::fromLogWhat(logWhat);
        QString got;
        for (int v : f.values())
            got += QString::number(v);
        QCOMPARE(got, values);
        QCOMPARE(f.toLogWhat(), written);
    }

    void automaticName_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<bool>("automatic");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blanks") << "   " << true;
        QTest::newRow("AUTOMATIC") << "AUTOMATIC" << true;
        QTest::newRow("lower case is a name") << "automatic" << false;
        QTest::newRow("a name") << "night" << false;
    }
    void automaticName()
    {
        QFETCH(QString, configured);
        QFETCH(bool, automatic);
        QCOMPARE(ActivityLog::isAutomaticName(configured), automatic);
        QCOMPARE(ActivityLog::automaticName(QDateTime(QDate(2001, 10, 23), QTime(14, 5, 59))),
                 QStringLiteral("2001-10-23_1405"));
        QCOMPARE(ActivityLog::automaticName(QDateTime(QDate(2026, 1, 2), QTime(3, 4))),
                 QStringLiteral("2026-01-02_0304"));
    }

    // Two starts with the same name must keep the first run's lines.
    void reopenKeepsEarlierLines()
    {
        QTemporaryDir dir;
        const QString base = dir.filePath(QStringLiteral("night"));
        {
            ActivityLog log(m_flags, m_clock);
            QVERIFY(log.open(base));
            QVERIFY(log.writeLine(QStringLiteral("first")));
            log.close();
        }
        ActivityLog log(m_flags, m_clock);
        QVERIFY(log.open(base));
        QVERIFY(log.writeLine(QStringLiteral("second")));
        QFile f(base + QStringLiteral(".log"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("first\r\nsecond\r\n"));
    }

    void closedLogWritesNothing()
    {
        ActivityLog log(m_flags, m_clock);
        QVERIFY(!log.writeLine(QStringLiteral("x")));
        QTemporaryDir dir;
        QVERIFY(!log.open(dir.filePath(QStringLiteral("missing/sub/name"))));
        QVERIFY(!log.isOpen());
    }

    void line_data()
    {
        QTest::addColumn<QString>("logWhat");
        QTest::addColumn<QString>("line");
        const QString pad28(28, QLatin1Char(' '));
        QTest::newRow("everything")
            << "111111111"
            << "2001Oct23  14:05:09  146.2000  POL  County Sheriff" + pad28 + "001234  FDP  Fire North" + QString(32, QLatin1Char(' '));
        QTest::newRow("only names: two 42-character fields")
            << "100001001" << "County Sheriff" + pad28 + "Fire North" + QString(32, QLatin1Char(' '));
        QTest::newRow("no data: empty line") << "100000000" << "";
        QTest::newRow("date and frequency") << "110100000" << "2001Oct23  146.2000  ";
        QTest::newRow("ID only") << "100000100" << "001234  ";
    }
    void line()
    {
        QFETCH(QString, logWhat);
        QFETCH(QString, line);
        m_flags = LogFlags::fromLogWhat(logWhat);
        ActivityLog log(m_flags, m_clock);
        const QString got = log.buildLine(m_clock.localDateTime(), QStringLiteral("146.2000"), QStringLiteral("POL"),
                                          QStringLiteral("County Sheriff"), QStringLiteral("001234"),
                                          QStringLiteral("FDP"), QStringLiteral("Fire North"));
        QCOMPARE(got, line);
    }

    void longNameWrittenWhole()
    {
        m_flags = LogFlags::fromLogWhat(QStringLiteral("100001001"));
        ActivityLog log(m_flags, m_clock);
        const QString longName(50, QLatin1Char('N'));
        QCOMPARE(log.buildLine(m_clock.localDateTime(), {}, {}, longName, {}, {}, QStringLiteral("x")),
                 longName + QStringLiteral("x") + QString(41, QLatin1Char(' ')));
    }

    void dateField_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("october") << QDate(2001, 10, 23) << "2001Oct23";
        QTest::newRow("single-digit day") << QDate(2026, 1, 5) << "2026Jan05";
        QTest::newRow("december") << QDate(2026, 12, 31) << "2026Dec31";
    }
    void dateField()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(ActivityLog::dateField(date), text);
    }

    // Events every second for ten seconds: a line at most every third second.
    void rateLimit_data()
    {
        QTest::addColumn<QList<int>>("eventMs");
        QTest::addColumn<int>("lines");
        QTest::newRow("1.5 s apart: one line") << QList<int>{0, 1500} << 1;
        QTest::newRow("2 s apart: still one") << QList<int>{0, 2000} << 1;
        QTest::newRow("2.1 s apart: two") << QList<int>{0, 2100} << 2;
        QTest::newRow("every second for ten seconds")
            << QList<int>{0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000} << 4;
    }
    void rateLimit()
    {
        QFETCH(QList<int>, eventMs);
        QFETCH(int, lines);
        QTemporaryDir dir;
        m_flags = LogFlags::fromLogWhat(QStringLiteral("100100000"));
        FakeClock clock;
        ActivityLog log(m_flags, clock);
        QVERIFY(log.open(dir.filePath(QStringLiteral("rate"))));
        int at = 0;
        for (int ms : eventMs) {
            clock.advanceMs(ms - at);
            at = ms;
            log.Logging(QStringLiteral("146.2000"), {}, {}, {}, {}, {});
        }
        QCOMPARE(readLog(dir.filePath(QStringLiteral("rate.log"))).count("\r\n"), lines);
    }

    void disabledWritesNothing()
    {
        QTemporaryDir dir;
        m_flags = LogFlags::fromLogWhat(QStringLiteral("011111111"));
        ActivityLog log(m_flags, m_clock);
        QVERIFY(log.open(dir.filePath(QStringLiteral("off"))));
        log.Logging(QStringLiteral("146.2000"), {}, {}, {}, {}, {});
        QCOMPARE(readLog(dir.filePath(QStringLiteral("off.log"))), QByteArray());
    }

    // The first event of the run is written, even in the first seconds after midnight.
    void firstEventAfterMidnight()
    {
        QTemporaryDir dir;
        m_flags = LogFlags::fromLogWhat(QStringLiteral("100100000"));
        FakeClock clock;
        clock.setLocalDateTime(QDateTime(QDate(2001, 10, 24), QTime(0, 0, 1)));
        ActivityLog log(m_flags, clock);
        QVERIFY(log.open(dir.filePath(QStringLiteral("night"))));
        log.Logging(QStringLiteral("146.2000"), {}, {}, {}, {}, {});
        QCOMPARE(readLog(dir.filePath(QStringLiteral("night.log"))), QByteArray("146.2000  \r\n"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestLogFiles)

} // namespace
} // namespace tst_logfiles

#include "tst_logfiles.moc"
