#include "TestSuite.h"
#include "utilities/TalkgroupConverter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace tst_talkgroupconverter {
namespace {

using vexlor::utilities::TalkgroupConverter;

namespace {
QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}
} // namespace

class TestTalkgroupConverter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_table = m_dir.filePath(QStringLiteral("tghex2afs.dat"));
        QVERIFY(TalkgroupConverter::ensureAfsFile(m_table));
    }

    void generatedTable()
    {
        const QList<QByteArray> lines = contents(m_table).split('\n');
        // The last line break leaves an empty piece.
        QCOMPARE(lines.size(), 2049);
        QCOMPARE(lines.first(), QByteArray("000 00-000\r"));
        QCOMPARE(lines.at(2047), QByteArray("7FF 15-157\r"));
        QVERIFY(lines.last().isEmpty());
    }

    void existingTableKept()
    {
        const QString path = m_dir.filePath(QStringLiteral("own.dat"));
        QVERIFY(writeFile(path, "11B 99-999\n"));
        QVERIFY(TalkgroupConverter::ensureAfsFile(path));
        QCOMPARE(contents(path), QByteArray("11B 99-999\n"));
    }

    void unwritablePlace()
    {
        QVERIFY(!TalkgroupConverter::ensureAfsFile(m_dir.filePath(QStringLiteral("no/such/dir/t.dat"))));
    }

    // Against the generated table.
    void convert_data()
    {
        QTest::addColumn<bool>("dec");
        QTest::addColumn<QString>("decIn");
        QTest::addColumn<QString>("hexIn");
        QTest::addColumn<QString>("decBox");
        QTest::addColumn<QString>("hexBox");
        QTest::addColumn<QString>("AfsBox");
        QTest::addColumn<QString>("note");
        const QString range = QStringLiteral(" is out of range: a talkgroup is a whole number from 0 to 2147483647.");
        QTest::newRow("dec, stale hex replaced") << true << "283" << "7ff" << "283" << "11B" << "02-033" << "";
        QTest::newRow("dec, one digit padded") << true << "7" << "" << "7" << "007" << "00-007" << "";
        QTest::newRow("dec, zeros and junk dropped") << true << "0042abc" << "" << "42" << "02A" << "00-052" << "";
        QTest::newRow("dec, fraction refused") << true << "12.9" << "7" << "12.9" << "" << ""
                                               << "12.9 is not a whole number: a talkgroup has no fraction.";
        QTest::newRow("dec, negative refused") << true << "-5" << "1B" << "-5" << "" << "" << "-5" + range;
        QTest::newRow("dec, too large refused") << true << "99999999999" << "" << "99999999999" << "" << ""
                                                << "99999999999" + range;
        QTest::newRow("hex, upper case, decimal emptied") << false << "999" << "1b" << "" << "01B" << "00-033" << "";
        QTest::newRow("hex, four digits not shortened") << false << "" << "011B" << "" << "011B" << "" << "";
    }
    void convert()
    {
        QFETCH(bool, dec);
        QFETCH(QString, decIn);
        QFETCH(QString, hexIn);
        TalkgroupConverter c(m_table);
        QVERIFY(c.hexChk());
        c.decBox_Change(decIn);
        c.hexBox_Change(hexIn);
        if (dec)
            c.decChk_Click();
        c.Convert();
        QTEST(c.decBox(), "decBox");
        QTEST(c.hexBox(), "hexBox");
        QTEST(c.AfsBox(), "AfsBox");
        QTEST(c.Note(), "note");
        // Opened again, it starts afresh in "Hex".
        c.open();
        QVERIFY(c.hexChk());
        QCOMPARE(c.decBox() + c.hexBox() + c.AfsBox() + c.Note(), QString());
    }

    void lookup_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("AfsBox");
        QTest::newRow("last matching line wins") << QByteArray("11B 11-111\n11B 22-222\n0FF 33-333\n") << "22-222";
        QTest::newRow("last line unterminated") << QByteArray("000 00-000\n11B 02-033") << "02-033";
        QTest::newRow("CR LF, short line") << QByteArray("11B 02\r\n") << "02";
        QTest::newRow("key only in the first three columns") << QByteArray("011B 02-033\n11 02-033\n") << "";
    }
    void lookup()
    {
        QFETCH(QByteArray, table);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(writeFile(path, table));
        TalkgroupConverter c(path);
        c.hexBox_Change(QStringLiteral("11b"));
        c.Convert();
        QTEST(c.AfsBox(), "AfsBox");
    }

    // None of these may hang, crash or fill memory.
    void unreadableTable_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.dat"));
        QTest::newRow("directory") << m_dir.path();
        QTest::newRow("pipe without writer") << m_dir.filePath(QStringLiteral("fifo"));
        QTest::newRow("endless device") << QStringLiteral("/dev/zero");
    }
    void unreadableTable()
    {
        QFETCH(QString, path);
        if (path.endsWith(QLatin1String("fifo")))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (!QFile::exists(path) && path.startsWith(QLatin1String("/dev/")))
            QSKIP("no such device here");
        TalkgroupConverter c(path);
        c.hexBox_Change(QStringLiteral("11B"));
        c.Convert();
        QCOMPARE(c.hexBox(), QStringLiteral("11B"));
        QCOMPARE(c.AfsBox(), QString());
    }

    void lineBreak_data()
    {
        QTest::addColumn<bool>("dec");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("AfsBox");
        QTest::newRow("Enter in decBox converts") << true << "283\n" << "283" << "02-033";
        QTest::newRow("CR LF in hexBox converts") << false << "11b\r\n" << "11B" << "02-033";
        QTest::newRow("no line break, no conversion") << true << "283" << "283" << "";
    }
    void lineBreak()
    {
        QFETCH(bool, dec);
        QFETCH(QString, typed);
        TalkgroupConverter c(m_table);
        if (dec) {
            c.decChk_Click();
            c.decBox_Change(typed);
            QTEST(c.decBox(), "box");
        } else {
            c.hexBox_Change(typed);
            QTEST(c.hexBox(), "box");
        }
        QTEST(c.AfsBox(), "AfsBox");
    }

private:
    QTemporaryDir m_dir;
    QString m_table;
};

VEXLOR_TEST_GUILESS_MAIN(TestTalkgroupConverter)

} // namespace
} // namespace tst_talkgroupconverter

#include "tst_talkgroupconverter.moc"
