#include "simulator/LineAssembler.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_lineassembler {
namespace {

using vexlor::simulator::LineAssembler;

class TestLineAssembler : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commands_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QStringList>("commands"); // "!" marks an overlong line
        QTest::addColumn<int>("pending");
        const QByteArray limit(LineAssembler::kMaxLine, 'A');
        QTest::newRow("one command") << QList<QByteArray>{"MD\r"} << QStringList{"MD"} << 0;
        QTest::newRow("several at once") << QList<QByteArray>{"WI\rMD\rDL\r"} << QStringList{"WI", "MD", "DL"} << 0;
        QTest::newRow("split across reads") << QList<QByteArray>{"P", "M0", "01\r"} << QStringList{"PM001"} << 0;
        QTest::newRow("LF ignored") << QList<QByteArray>{"MD\r\n\nSB\n\r"} << QStringList{"MD", "SB"} << 0;
        QTest::newRow("empty lines kept") << QList<QByteArray>{"\r\r"} << QStringList{"", ""} << 0;
        QTest::newRow("unfinished waits") << QList<QByteArray>{"MD\rSB"} << QStringList{"MD"} << 2;
        QTest::newRow("exactly the limit") << QList<QByteArray>{limit + "\r"} << QStringList{QString::fromLatin1(limit)}
                                           << 0;
        QTest::newRow("one past the limit") << QList<QByteArray>{limit + "B\rMD\r"} << QStringList{"!", "MD"} << 0;
        QTest::newRow("5000 bytes, then a command")
            << QList<QByteArray>{QByteArray(2500, 'x'), QByteArray(2500, 'y'), "\rWI\r"} << QStringList{"!", "WI"} << 0;
        QTest::newRow("overlong reported before its end")
            << QList<QByteArray>{QByteArray(300, 'x')} << QStringList{"!"} << 0;
        QTest::newRow("binary bytes pass as they are")
            << QList<QByteArray>{QByteArray("\x00\xfe\x7f", 3) + "\r"} << QStringList{QString::fromLatin1("\x00\xfe\x7f", 3)}
            << 0;
    }
    void commands()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QStringList, commands);
        QFETCH(int, pending);
        LineAssembler a;
        QStringList got;
        for (const QByteArray& c : chunks)
            for (const LineAssembler::Command& cmd : a.feed(c))
                got << (cmd.overlong ? QStringLiteral("!") : QString::fromLatin1(cmd.text));
        QCOMPARE(got, commands);
        QCOMPARE(int(a.pending()), pending);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestLineAssembler)

} // namespace
} // namespace tst_lineassembler

#include "tst_lineassembler.moc"
