#include "FakeSerialPort.h"
#include "platform/SerialTrace.h"
#include "platform/TracingSerialPort.h"
#include "TestSuite.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace tst_serialtrace {
namespace {

using namespace vexlor;
using Direction = platform::SerialTrace::Direction;

class TestSerialTrace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void format_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("command") << int(Direction::Out) << QByteArray("MA001\r") << QByteArray("       42 out MA001\\r\n");
        QTest::newRow("line ends and backslash") << int(Direction::In) << QByteArray("a\\b\r\n")
                                                 << QByteArray("       42 in  a\\\\b\\r\\n\n");
        QTest::newRow("unprintable") << int(Direction::In) << QByteArray("\x00\x7f\xff\t", 4)
                                     << QByteArray("       42 in  \\x00\\x7f\\xff\\x09\n");
    }
    void format()
    {
        QFETCH(int, direction);
        QFETCH(QByteArray, bytes);
        QTEST(platform::SerialTrace::formatLine(42, Direction(direction), bytes), "line");
    }

    // Across a close and a reopen, written within a second without being asked.
    void tracesThePort()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.txt"));
        platform::SerialTrace trace(path);
        QVERIFY(trace.open());
        fakes::FakeSerialPort real;
        platform::TracingSerialPort port(real, trace);
        QSignalSpy arrived(&port, &platform::SerialPort::readyRead);
        QVERIFY(port.open());
        port.write("SQ\r");
        real.feed("SQ F\r");
        QCOMPARE(arrived.size(), 1);
        QCOMPARE(port.readAll(), QByteArray("SQ F\r"));
        port.close();
        QVERIFY(port.open());
        port.write("MD\r");
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QTRY_VERIFY_WITH_TIMEOUT(f.size() > 0, 1500);
        QList<QByteArray> kinds;
        for (const QByteArray& l : f.readAll().split('\n'))
            kinds << l.mid(10);
        QCOMPARE(kinds.size(), 7);
        QVERIFY(kinds[0].startsWith("--- open "));
        QCOMPARE(kinds.mid(1, 5), (QList<QByteArray> {"out SQ\\r", "in  SQ F\\r", "--- close", kinds[0], "out MD\\r"}));
    }

    // A full disk stops the trace once, and nothing piles up after it.
    void fullDisk()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full");
        platform::SerialTrace trace(QStringLiteral("/dev/full"));
        QVERIFY(trace.open());
        QSignalSpy failed(&trace, &platform::SerialTrace::writeFailed);
        const QByteArray chunk(1000, 'x');
        for (int i = 0; i < 200; ++i)
            trace.record(Direction::In, chunk);
        QCOMPARE(failed.size(), 1);
        QVERIFY(trace.failed());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestSerialTrace)

} // namespace
} // namespace tst_serialtrace

#include "tst_serialtrace.moc"
