#include "simulator/ActivityScript.h"
#include "simulator/ReceiverModel.h"
#include "TestSuite.h"

#include <QTest>

#include <algorithm>

namespace tst_activity {
namespace {

using vexlor::simulator::ActivityScript;
using vexlor::simulator::ReceiverModel;

namespace {

QList<QByteArray> listen(ReceiverModel& m, qint64 totalMs, qint64 stepMs = 50)
{
    QList<QByteArray> out;
    for (qint64 t = 0; t < totalMs; t += stepMs)
        out += m.advance(stepMs);
    return out;
}

struct Heard {
    QList<int> channels;
    QList<int> frequencies;
    QList<int> ids;
    int receptions = 0;
    QString fault; // the first line out of order
};

// Checks the order a reception must have and collects what was heard.
Heard parse(const QList<QByteArray>& lines)
{
    Heard h;
    enum { Quiet, Open, Call } state = Quiet;
    int callId = -1;
    bool sawW = false;
    for (const QByteArray& l : lines) {
        const auto bad = [&]() {
            if (h.fault.isEmpty())
                h.fault = QString::fromLatin1(l);
        };
        if (l == "+") {
            state == Quiet ? void(state = Open) : bad();
            sawW = false;
            ++h.receptions;
        } else if (l == "-") {
            state == Open && sawW ? void(state = Quiet) : bad();
        } else if (l.startsWith('C')) {
            state == Open && !sawW && l.size() == 34 ? void(h.channels << l.mid(1, 3).toInt()) : bad();
        } else if (l.startsWith('W')) {
            state == Open && l.size() == 14 ? void(h.frequencies << l.mid(6, 8).toInt()) : bad();
            sawW = true;
        } else if (l.startsWith("ID S ")) {
            callId = l.mid(5).toInt();
            state == Quiet ? void(state = Call) : bad();
            h.ids << callId;
            ++h.receptions;
        } else if (l.startsWith("ID E ")) {
            state == Call && l.mid(5).toInt() == callId ? void(state = Quiet) : bad();
        } else {
            bad();
        }
    }
    return h;
}

QList<int> range(int from, int to, const QList<int>& except = {})
{
    QList<int> out;
    for (int i = from; i <= to; ++i)
        if (!except.contains(i))
            out << i;
    return out;
}

} // namespace

class TestActivity : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void receptions_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QList<int>>("channels"); // the channels that may be heard; empty: none
        QTest::addColumn<int>("lo");              // range of the frequencies heard (100 Hz)
        QTest::addColumn<int>("hi");
        QTest::addColumn<QList<int>>("ids");      // the talkgroups that may be heard; empty: none
        const QList<int> scanned = range(1, 12, {10}) + range(31, 40, {38}) + range(61, 68) + range(121, 126);
        QTest::newRow("scan: active, open, conventional channels")
            << QStringList{} << scanned << 1180000 << 4675625 << QList<int>{};
        QTest::newRow("scan of bank 2 only") << QStringList{"SB B"} << range(31, 40, {38}) << 4518000 << 4675625
                                             << QList<int>{};
        QTest::newRow("scan skips a locked-out channel")
            << QStringList{"SB E", "MA121", "LON", "KEY00"} << range(122, 126) << 1453100 << 4460000 << QList<int>{};
        QTest::newRow("manual holds one channel") << QStringList{"MA033"} << QList<int>{33} << 4601250 << 4601250
                                                  << QList<int>{};
        QTest::newRow("limit search stays inside the limits")
            << QStringList{"KEY09"} << QList<int>{} << 1440000 << 1480000 << QList<int>{};
        QTest::newRow("search with other limits")
            << QStringList{"LL04600000", "LU04650000", "KEY09"} << QList<int>{} << 4600000 << 4650000 << QList<int>{};
        QTest::newRow("service search") << QStringList{"KEY10"} << QList<int>{} << 1180000 << 4589875 << QList<int>{};
        QTest::newRow("direct listening") << QStringList{"MA001", "RF01465200"} << QList<int>{} << 1465200 << 1465200
                                          << QList<int>{};
        QTest::newRow("scan ID: listed, not locked out")
            << QStringList{"KEY13"} << QList<int>{} << 0 << 0
            << QList<int>{2032, 2064, 2096, 4112, 4144, 10016, 10048, 16400, 20016, 20048, 20080, 30064};
        QTest::newRow("scan ID of list B only")
            << QStringList{"KEY13", "IS B"} << QList<int>{} << 0 << 0 << QList<int>{20016, 20048, 20080, 30064};
        QTest::newRow("manual ID holds one talkgroup")
            << QStringList{"KEY13", "IC A3"} << QList<int>{} << 0 << 0 << QList<int>{2096};
    }
    void receptions()
    {
        QFETCH(QStringList, setup);
        QFETCH(QList<int>, channels);
        QFETCH(int, lo);
        QFETCH(int, hi);
        QFETCH(QList<int>, ids);
        ReceiverModel m(11);
        for (const QString& c : setup)
            m.handle(c.toLatin1());
        const Heard h = parse(listen(m, 15 * 60 * 1000));
        QCOMPARE(h.fault, QString());
        QVERIFY2(h.receptions >= 20, qPrintable(QString::number(h.receptions)));
        for (int c : h.channels)
            QVERIFY2(channels.contains(c), qPrintable(QString::number(c)));
        if (channels.isEmpty())
            QVERIFY(h.channels.isEmpty());
        for (int f : h.frequencies) {
            QVERIFY2(f >= lo && f <= hi, qPrintable(QString::number(f)));
            QVERIFY2(!m.memory().isSearchLockedOut(f) || !channels.isEmpty(), qPrintable(QString::number(f)));
        }
        for (int id : h.ids)
            QVERIFY2(ids.contains(id), qPrintable(QString::number(id)));
        if (ids.isEmpty())
            QVERIFY(h.ids.isEmpty());
        // More than one thing is heard where more than one may be.
        if (channels.size() > 3)
            QVERIFY(QSet<int>(h.channels.begin(), h.channels.end()).size() > 3);
    }

    void idSearchNeverHearsALockedOutTalkgroup()
    {
        ReceiverModel m(12);
        m.handle("KEY13");
        m.handle("KEY09");
        m.handle("ILR 002032");
        const Heard h = parse(listen(m, 20 * 60 * 1000));
        QCOMPARE(h.fault, QString());
        QVERIFY(h.ids.size() >= 20);
        QVERIFY(!h.ids.contains(2032));
        QVERIFY(!h.ids.contains(30032));
        // Unknown talkgroups turn up too: that is what the search is for.
        QVERIFY(std::any_of(h.ids.begin(), h.ids.end(), [](int id) { return id % 16 == 0 && id > 30064; }));
    }

    void theSeedRepeatsARun()
    {
        ReceiverModel a(99), b(99), c(100);
        const QList<QByteArray> la = listen(a, 5 * 60 * 1000);
        QCOMPARE(listen(b, 5 * 60 * 1000), la);
        QVERIFY(listen(c, 5 * 60 * 1000) != la);
        QVERIFY(!la.isEmpty());
    }

    void quieting_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<bool>("conventional");
        QTest::addColumn<bool>("talkgroups");
        QTest::newRow("QUF silences scanning") << QStringList{"QUF"} << false << false;
        QTest::newRow("QUF silences trunking") << QStringList{"KEY13", "QUF"} << false << false;
        QTest::newRow("QUN undoes QUF") << QStringList{"QUF", "QUN"} << true << false;
        QTest::newRow("IDF silences calls") << QStringList{"KEY13", "IDF"} << false << false;
        QTest::newRow("IDN undoes IDF") << QStringList{"KEY13", "IDF", "IDN"} << false << true;
        QTest::newRow("IDF leaves scanning alone") << QStringList{"IDF"} << true << false;
        QTest::newRow("out of remote mode") << QStringList{"KEY04H"} << false << false;
    }
    void quieting()
    {
        QFETCH(QStringList, setup);
        QFETCH(bool, conventional);
        QFETCH(bool, talkgroups);
        ReceiverModel m(13);
        for (const QString& c : setup)
            m.handle(c.toLatin1());
        const Heard h = parse(listen(m, 10 * 60 * 1000));
        QCOMPARE(!h.channels.isEmpty(), conventional);
        QCOMPARE(!h.ids.isEmpty(), talkgroups);
    }

    void aModeChangeEndsTheReception()
    {
        ReceiverModel m(14);
        for (int i = 0; i < 2000 && !m.activity().receiving(); ++i)
            m.advance(50);
        QVERIFY(m.activity().receiving());
        m.handle("KEY09");
        const QList<QByteArray> next = m.advance(0);
        QCOMPARE(next.value(0), QByteArray("-"));
        QVERIFY(!m.activity().receiving());
    }

    void scriptPlaysOnTime()
    {
        QString why;
        const auto script = ActivityScript::parse("# a short day\n"
                                                  "gap 1000\n"
                                                  "channel 5 2000\n"
                                                  "line MD00\n"
                                                  "frequency 146.52 500\n"
                                                  "talkgroup 1234 1500\n",
                                                  &why);
        QVERIFY2(script, qPrintable(why));
        ReceiverModel m(15);
        m.activity().setScript(*script);
        QVERIFY(m.advance(999).isEmpty());
        const QList<QByteArray> start = m.advance(1);
        QCOMPARE(start.size(), 3);
        QCOMPARE(start[0], QByteArray("+"));
        QCOMPARE(start[1], QByteArray("C005 F01554750 TF DF LF AF RF N000"));
        QVERIFY(start[2].startsWith("W") && start[2].endsWith(" F01554750"));
        QVERIFY(!m.advance(1999).contains("-"));
        const QList<QByteArray> rest = m.advance(1);
        QCOMPARE(rest.value(0), QByteArray("-"));
        QCOMPARE(rest.value(1), QByteArray("MD00"));
        QCOMPARE(rest.value(2), QByteArray("+"));
        QVERIFY(rest.value(3).endsWith(" F01465200"));
        QCOMPARE(m.advance(500), QList<QByteArray>({"-", "ID S 001234"}));
        QCOMPARE(m.advance(1500), QList<QByteArray>{"ID E 001234"});
        QVERIFY(m.advance(600000).isEmpty());
    }

    void scriptLoops()
    {
        const auto script = ActivityScript::parse("line HELLO\ngap 100\nloop\n", nullptr);
        QVERIFY(script);
        ReceiverModel m(16);
        m.activity().setScript(*script);
        QCOMPARE(m.advance(1050).count("HELLO"), 11);
    }

    void badScripts_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown step") << QByteArray("gap 10\nsing 5\n") << "line 2: unknown step";
        QTest::newRow("channel 301") << QByteArray("channel 301 100") << "line 1: channel must be 1 to 300";
        QTest::newRow("channel without time") << QByteArray("channel 1") << "line 1: unknown step";
        QTest::newRow("negative gap") << QByteArray("gap -5") << "line 1: bad duration";
        QTest::newRow("bad frequency") << QByteArray("frequency abc 100") << "line 1: bad frequency";
        QTest::newRow("talkgroup 0") << QByteArray("talkgroup 0 100") << "line 1: talkgroup must be 1 to 999999";
        QTest::newRow("empty line step") << QByteArray("line   ") << "line 1: \"line\" needs a text";
        QTest::newRow("loop first") << QByteArray("loop\n") << "line 1: \"loop\" needs a step before it";
        QTest::newRow("step after loop") << QByteArray("gap 5\nloop\ngap 1") << "line 3: nothing may follow \"loop\"";
        QTest::newRow("a loop that takes no time")
            << QByteArray("line A\ngap 0\nloop") << "a looping script needs a step that lasts";
    }
    void badScripts()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QString why;
        QVERIFY(!ActivityScript::parse(text, &why));
        QCOMPARE(why, error);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestActivity)

} // namespace
} // namespace tst_activity

#include "tst_activity.moc"
