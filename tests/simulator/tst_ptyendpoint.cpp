#include "simulator/PtyEndpoint.h"
#include "simulator/SimulatorHost.h"
#include "TestSuite.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <random>

namespace tst_ptyendpoint {
namespace {

using vexlor::simulator::PtyEndpoint;
using vexlor::simulator::SimulatorHost;
using vexlor::simulator::SimulatorOptions;

namespace {

// The program's side of the line: a real QSerialPort on the link.
class Port {
public:
    explicit Port(const QString& name)
    {
        m_port.setPortName(name);
        m_port.setBaudRate(9600);
    }
    bool open() { return m_port.open(QIODevice::ReadWrite); }
    void close() { m_port.close(); }
    QSerialPort& port() { return m_port; }

    void send(const QByteArray& bytes)
    {
        m_port.write(bytes);
        m_port.flush();
    }
    // Waits for n complete lines; what has come so far when time runs out.
    QList<QByteArray> lines(int n, int timeoutMs)
    {
        (void)QTest::qWaitFor([&]() { return pump() >= n; }, timeoutMs);
        QList<QByteArray> out;
        while (!m_lines.isEmpty() && out.size() < n)
            out << m_lines.takeFirst();
        return out;
    }
    QByteArray line(int timeoutMs = 3000) { return lines(1, timeoutMs).value(0); }
    // Reads that brought bytes, since the last call.
    int reads() const { return m_reads; }
    void resetReads() { m_reads = 0; }
    void drain(int ms)
    {
        QTest::qWait(ms);
        pump();
        m_lines.clear();
        m_partial.clear();
    }

private:
    qsizetype pump()
    {
        const QByteArray got = m_port.readAll();
        if (!got.isEmpty())
            ++m_reads;
        m_partial += got;
        for (qsizetype cr; (cr = m_partial.indexOf('\r')) >= 0;) {
            m_lines << m_partial.left(cr);
            m_partial.remove(0, cr + 1);
        }
        return m_lines.size();
    }

    QSerialPort m_port;
    QByteArray m_partial;
    QList<QByteArray> m_lines;
    int m_reads = 0;
};

struct Rig {
    QTemporaryDir dir;
    std::unique_ptr<SimulatorHost> host;
    std::unique_ptr<Port> port;

    explicit Rig(SimulatorOptions o = {}, const QString& trace = {})
    {
        if (!trace.isEmpty())
            o.traceFile = dir.filePath(trace);
        o.seed = 21;
        o.seedGiven = true;
        if (o.scriptFile.isEmpty())
            o.activity = false;
        o.linkPath = dir.filePath(QStringLiteral("ttyVexlor"));
        host = std::make_unique<SimulatorHost>(o);
        if (!host->start())
            qWarning("%s", qPrintable(host->errorString()));
        port = std::make_unique<Port>(host->portName());
    }
};

} // namespace

class TestPtyEndpoint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answersAtTheFixedPositions()
    {
        Rig rig;
        QVERIFY(rig.host->isRunning());
        QVERIFY(QFileInfo(rig.host->portName()).isSymLink());
        QCOMPARE(QFileInfo(rig.host->portName()).symLinkTarget(), rig.host->slaveName());
        QVERIFY(rig.port->open());
        rig.port->send("PM091\rKEY13\rTB\r");
        const QList<QByteArray> r = rig.port->lines(3, 3000);
        QCOMPARE(r.size(), 3);
        QCOMPARE(r[0].mid(1, 3), QByteArray("091"));
        QCOMPARE(r[0].mid(6, 8), QByteArray("08510125"));
        QCOMPARE(r[0].mid(16, 1), QByteArray("N"));
        QCOMPARE(r[1], QByteArray("OK"));
        QCOMPARE(r[2].mid(3, 1), QByteArray("D"));
    }

    void latency_data()
    {
        QTest::addColumn<int>("latency");
        QTest::newRow("none") << 0;
        QTest::newRow("400 ms") << 400;
    }
    void latency()
    {
        QFETCH(int, latency);
        SimulatorOptions o;
        o.faults.latencyMs = latency;
        Rig rig(o);
        QVERIFY(rig.port->open());
        rig.port->send("MD\r");
        QCOMPARE(rig.port->line(), QByteArray("MD00")); // the link is up
        QElapsedTimer t;
        t.start();
        rig.port->send("SB\r");
        QCOMPARE(rig.port->line(latency + 3000), QByteArray("SB ABCDE"));
        QVERIFY2(t.elapsed() >= latency, qPrintable(QString::number(t.elapsed())));
        QVERIFY2(t.elapsed() < latency + 1500, qPrintable(QString::number(t.elapsed())));
    }

    void pacing_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        // Ten channel lines are 350 bytes.
        QTest::newRow("unpaced") << 0 << 0 << 700;
        QTest::newRow("2400 baud") << 2400 << 1250 << 4000;
        QTest::newRow("9600 baud") << 9600 << 300 << 1500;
    }
    void pacing()
    {
        QFETCH(int, baud);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        SimulatorOptions o;
        o.faults.baud = baud;
        Rig rig(o);
        QVERIFY(rig.port->open());
        rig.port->send("MD\r");
        QCOMPARE(rig.port->line(), QByteArray("MD00"));
        QByteArray burst;
        for (int c = 1; c <= 10; ++c)
            burst += "PM" + QByteArray::number(c).rightJustified(3, '0') + '\r';
        QElapsedTimer t;
        t.start();
        rig.port->send(burst);
        const QList<QByteArray> r = rig.port->lines(10, 8000);
        QCOMPARE(r.size(), 10);
        QCOMPARE(r[9].left(4), QByteArray("C010"));
        QVERIFY2(t.elapsed() >= minMs && t.elapsed() <= maxMs, qPrintable(QString::number(t.elapsed())));
    }

    // A paced line carries each byte of a command and of its reply in one
    // byte time: the reply is complete no earlier than both together.
    void commandAndReplyTakeTheirLineTime_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("15 + 3 bytes at 1200 baud") << 1200 << QByteArray("TG A B0 012345") << QByteArray("OK");
    }
    void commandAndReplyTakeTheirLineTime()
    {
        QFETCH(int, baud);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        SimulatorOptions o;
        o.faults.baud = baud;
        Rig rig(o);
        QVERIFY(rig.port->open());
        rig.port->send("MD\r");
        QCOMPARE(rig.port->line(), QByteArray("MD00"));
        QTest::qWait(200); // an idle line earns no head start
        const qint64 lineMs = (command.size() + 1 + reply.size() + 1) * 10000 / baud;
        QElapsedTimer t;
        t.start();
        rig.port->send(command + '\r');
        QCOMPARE(rig.port->line(), reply);
        QVERIFY2(t.elapsed() >= lineMs && t.elapsed() < lineMs + 1500, qPrintable(QString::number(t.elapsed())));
    }

    // A paced receiver takes the next command only once its reply has left,
    // even when that reply goes out in pieces.
    void oneCommandAtATime()
    {
        SimulatorOptions o;
        o.faults.baud = 9600;
        o.faults.splitBytes = 5;
        o.faults.splitGapMs = 40;
        Rig rig(o);
        QVERIFY(rig.port->open());
        rig.port->send("PM001\rMD\rSB\r");
        QCOMPARE(rig.port->lines(3, 3000),
                 QList<QByteArray>({"C001 F01541300 TF DN LF AF RF N000", "MD00", "SB ABCDE"}));
        QCOMPARE(rig.host->endpoint().lostBytes(), 0);
    }

    // Thirty queries at once: 180 bytes, while each 36-byte reply keeps the
    // receiver busy for six of them.
    void fullInputBufferLosesBytes_data()
    {
        QTest::addColumn<int>("rxBuffer");
        QTest::addColumn<bool>("loses");
        QTest::newRow("64 bytes") << 64 << true;
        QTest::newRow("256 bytes") << 256 << false;
    }
    void fullInputBufferLosesBytes()
    {
        QFETCH(int, rxBuffer);
        QFETCH(bool, loses);
        SimulatorOptions o;
        o.faults.baud = 9600;
        o.faults.rxBuffer = rxBuffer;
        Rig rig(o, QStringLiteral("trace.txt"));
        QVERIFY(rig.port->open());
        QByteArray burst;
        for (int c = 1; c <= 30; ++c)
            burst += "PM" + QByteArray::number(c).rightJustified(3, '0') + '\r';
        rig.port->send(burst);
        // Nothing more comes once the line has carried every reply there could be.
        QList<QByteArray> replies;
        for (QList<QByteArray> got; !(got = rig.port->lines(1, 600)).isEmpty();)
            replies += got;
        const qint64 lost = rig.host->endpoint().lostBytes();
        QCOMPARE(lost > 0, loses);
        // Replies come in the order asked; a command cut by a loss is garbage.
        int last = 0;
        for (const QByteArray& r : replies) {
            if (r == "ERR")
                continue;
            QVERIFY2(r.startsWith('C') && r.mid(1, 3).toInt() > last, r.constData());
            last = r.mid(1, 3).toInt();
        }
        QCOMPARE(replies.size() == 30 && last == 30, !loses);
        QCOMPARE(replies.contains("ERR"), loses);
        rig.host->stop();
        qint64 traced = 0;
        QFile trace(rig.dir.filePath(QStringLiteral("trace.txt")));
        QVERIFY(trace.open(QIODevice::ReadOnly));
        for (const QByteArray& line : trace.readAll().split('\n')) {
            if (const qsizetype at = line.indexOf("--- "); at >= 0 && line.endsWith(" bytes lost: the input buffer was full"))
                traced += line.mid(at + 4).split(' ').value(0).toLongLong();
        }
        QCOMPARE(traced, lost);
    }

    // A change made over the line is on the disk well before the periodic
    // check, as a crash would find it.
    void changesAreSavedAtOnce()
    {
        QTemporaryDir state;
        SimulatorOptions o;
        o.stateFile = state.filePath(QStringLiteral("state.txt"));
        Rig rig(o);
        QVERIFY(rig.port->open());
        rig.port->send("MA001\rPM250 01462000\r");
        QCOMPARE(rig.port->lines(2, 3000).size(), 2);
        QVERIFY(QTest::qWaitFor(
            [&] {
                QFile f(o.stateFile);
                return f.open(QIODevice::ReadOnly) && f.readAll().contains("channel 250 01462000 F F F\n");
            },
            1000));
    }

    void splitRepliesArriveInPieces()
    {
        SimulatorOptions o;
        o.faults.splitBytes = 5;
        o.faults.splitGapMs = 40;
        Rig rig(o);
        QVERIFY(rig.port->open());
        rig.port->send("PM001\r");
        rig.port->resetReads();
        const QByteArray l = rig.port->line();
        QCOMPARE(l, QByteArray("C001 F01541300 TF DN LF AF RF N000"));
        // 35 bytes in pieces of 5, 40 ms apart: they cannot all come in one read.
        QVERIFY2(rig.port->reads() >= 4, qPrintable(QString::number(rig.port->reads())));
    }

    void theLineDropsAndComesBack()
    {
        SimulatorOptions o;
        o.faults.dropAfterMs = 1500;
        o.faults.dropForMs = 600;
        Rig rig(o);
        QSignalSpy dropped(&rig.host->endpoint(), &PtyEndpoint::lineDropped);
        QSignalSpy restored(&rig.host->endpoint(), &PtyEndpoint::lineRestored);
        QVERIFY(rig.port->open());
        rig.port->send("MD\r");
        QCOMPARE(rig.port->line(), QByteArray("MD00"));

        QSignalSpy errors(&rig.port->port(), &QSerialPort::errorOccurred);
        QVERIFY(dropped.wait(3000));
        QVERIFY(!QFileInfo::exists(rig.host->portName()));
        // The program's side sees the hang-up as a lost device.
        rig.port->send("MD\r");
        const auto lost = [&]() {
            for (const auto& e : errors)
                if (e.at(0).value<QSerialPort::SerialPortError>() == QSerialPort::ResourceError)
                    return true;
            return false;
        };
        QVERIFY(QTest::qWaitFor(lost, 2000));
        rig.port->close();
        QVERIFY(!rig.port->open());

        QVERIFY(restored.wait(3000));
        QVERIFY(QFileInfo(rig.host->portName()).isSymLink());
        QCOMPARE(QFileInfo(rig.host->portName()).symLinkTarget(), rig.host->slaveName());
        QVERIFY(rig.port->open());
        rig.port->send("KEY01\rMD\r");
        QCOMPARE(rig.port->lines(2, 3000), QList<QByteArray>({"OK", "MD01"}));
    }

    void garbageAndLongLinesDoNotStopIt()
    {
        Rig rig;
        QVERIFY(rig.port->open());
        rig.port->send(QByteArray(5000, 'x') + "\rMD\r");
        QCOMPARE(rig.port->lines(2, 3000), QList<QByteArray>({"ERR", "MD00"}));
        std::mt19937 rng(7);
        QByteArray noise;
        for (int i = 0; i < 4000; ++i)
            noise += char(rng() % 256);
        rig.port->send(noise + "\rWI\r");
        rig.port->drain(500);
        rig.port->send("PM031\r");
        QCOMPARE(rig.port->line(), QByteArray("C031 F04532500 TF DF LF AF RF N000"));
    }

    void injectedFaults_data()
    {
        QTest::addColumn<double>("ng");
        QTest::addColumn<double>("err");
        QTest::addColumn<double>("garbage");
        QTest::addColumn<QByteArray>("expected"); // every reply ends with this
        QTest::newRow("all refused") << 1.0 << 0.0 << 0.0 << QByteArray("NG");
        QTest::newRow("all errors") << 0.0 << 1.0 << 0.0 << QByteArray("ERR");
        QTest::newRow("garbage before every line") << 0.0 << 0.0 << 1.0 << QByteArray("MD00");
    }
    void injectedFaults()
    {
        QFETCH(double, ng);
        QFETCH(double, err);
        QFETCH(double, garbage);
        QFETCH(QByteArray, expected);
        SimulatorOptions o;
        o.faults.ngFraction = ng;
        o.faults.errFraction = err;
        o.faults.garbage = garbage;
        Rig rig(o);
        QVERIFY(rig.port->open());
        rig.port->send("MD\rMD\rMD\rMD\r");
        const QList<QByteArray> r = rig.port->lines(4, 3000);
        QCOMPARE(r.size(), 4);
        for (const QByteArray& l : r) {
            QVERIFY2(l.endsWith(expected), l.toHex().constData());
            QCOMPARE(l.size() > expected.size(), garbage > 0);
        }
    }

    void goesSilentForAWhile()
    {
        SimulatorOptions o;
        o.faults.silentAfterMs = 1000;
        o.faults.silentForMs = 1000;
        Rig rig(o);
        QVERIFY(rig.port->open());
        rig.port->send("MD\r");
        QCOMPARE(rig.port->line(), QByteArray("MD00"));
        QTest::qWait(1200 - 0);
        rig.port->send("MD\r");
        QCOMPARE(rig.port->line(500), QByteArray());
        QTest::qWait(1000);
        rig.port->send("SB\r");
        QCOMPARE(rig.port->line(), QByteArray("SB ABCDE"));
    }

    // Receptions while nobody listens must not wait in the tty for the
    // next one to open it.
    void nothingPilesUpWithoutAReader()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("tick.txt"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("line TICK\ngap 50\nloop\n");
        f.close();
        SimulatorOptions o;
        o.scriptFile = script;
        Rig rig(o);
        QTest::qWait(1000);
        QVERIFY(rig.host->endpoint().pendingBytes() < 64);
        QVERIFY(rig.port->open());
        const QList<QByteArray> first = rig.port->lines(100, 150);
        QVERIFY2(first.size() <= 5, qPrintable(QString::number(first.size())));
        QVERIFY(rig.port->lines(5, 2000).size() == 5); // and it goes on for the reader
        rig.port->close();
        QTest::qWait(800);
        QVERIFY(rig.port->open());
        QVERIFY(rig.port->lines(100, 150).size() <= 5);
    }

    void reopensAfterAClose()
    {
        Rig rig;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(rig.port->open());
            rig.port->send("MD\r");
            QCOMPARE(rig.port->line(), QByteArray("MD00"));
            rig.port->close();
        }
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestPtyEndpoint)

} // namespace
} // namespace tst_ptyendpoint

#include "tst_ptyendpoint.moc"
