#include "memory/ChannelReplies.h"
#include "memory/MemoryTables.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_channelreplies {
namespace {

using namespace vexlor::memory;
using MT = MemoryTables;

class TestChannelReplies : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<QString>("collected");
        QTest::addColumn<int>("filled");
        QTest::addColumn<QString>("ch5"); // frequency of channel 5 afterwards
        const QString good = QStringLiteral("C005 F01543250 TN DF LN AF RF N000\r");
        QTest::newRow("a reply line") << good << 1 << "154.3250";
        QTest::newRow("among other lines") << "OK\rNG\r" + good + "SB A\r" << 1 << "154.3250";
        QTest::newRow("channel 0 and 301") << QStringLiteral("C000 F01543250 TN DF LN\rC301 F01543250 TN DF LN\r")
                                           << 0 << "";
        QTest::newRow("cut short") << QStringLiteral("C005 F0154\r") << 0 << "";
        QTest::newRow("garbled flags") << QStringLiteral("C005 F01543250 T? DF LN\r") << 0 << "";
        QTest::newRow("NUL bytes") << QStringLiteral("C00\0 F01543250 TN DF LN\r\0\0\0\r")
                                   << 0 << "";
        // Only the first 140 lines are read.
        QTest::newRow("beyond line 140") << QStringLiteral("x\r").repeated(140) + good << 0 << "";
        // A read of bank 1 takes its own channels, each from its first line.
        QTest::newRow("another bank's channel") << QStringLiteral("C061 F01568000 TF DF LF AF RF N000\r") << 0 << "";
        QTest::newRow("twice") << good + "C005 F01550000 TF DF LF\r" << 1 << "154.3250";
        QTest::newRow("line 140") << QStringLiteral("x\r").repeated(139) + good << 1 << "154.3250";
    }
    void decode()
    {
        QFETCH(QString, collected);
        QFETCH(int, filled);
        QFETCH(QString, ch5);
        MemoryTables t;
        t.Channels.set(5, MT::kChName, QStringLiteral("kept"));
        QCOMPARE(channels::decodeReplies(collected, t.Channels, 1, 30), filled);
        QCOMPARE(t.Channels.text(5, MT::kChFrequency), ch5);
        QCOMPARE(t.Channels.text(5, MT::kChName), QStringLiteral("kept"));
        if (filled) {
            QCOMPARE(t.Channels.text(5, MT::kChMode), QStringLiteral("Trunk"));
            QCOMPARE(t.Channels.text(5, MT::kChDLY), QString());
            QCOMPARE(t.Channels.text(5, MT::kChLO), QStringLiteral("="));
        }
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestChannelReplies)

} // namespace
} // namespace tst_channelreplies

#include "tst_channelreplies.moc"
