#include "link/Wire.h"
#include "simulator/ReceiverModel.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_memoryprogramming {
namespace {

using vexlor::simulator::ReceiverModel;
namespace wire = vexlor::link::wire;

// The program's bank transfers, command for command, against the model:
// what is uploaded must read back the same way the program reads it.
namespace {

struct Channel {
    int channel = 0;
    QString mhz;
    bool delay = false;
    bool lockout = false;
    bool trunk = false;
};

// "N MHZ [D] [L] [T]": channel N of the bank (1..30).
QList<Channel> channels(int bank, const QStringList& entries)
{
    QList<Channel> out;
    for (const QString& s : entries) {
        const QStringList w = s.split(QLatin1Char(' '));
        Channel c;
        c.channel = 30 * (bank - 1) + w[0].toInt();
        c.mhz = w[1];
        c.delay = w.contains(QLatin1String("D"));
        c.lockout = w.contains(QLatin1String("L"));
        c.trunk = w.contains(QLatin1String("T"));
        out << c;
    }
    return out;
}

class Link {
public:
    explicit Link(ReceiverModel& m) : m_model(m) {}

    QString send(const QString& command)
    {
        const QList<QByteArray> r = m_model.handle(command.toLatin1());
        const QString last = r.isEmpty() ? QString() : QString::fromLatin1(r.last());
        if (last.startsWith(QLatin1String("NG")) || last.startsWith(QLatin1String("ERR")))
            refused << command + QStringLiteral(" -> ") + last;
        return last;
    }
    void quiet() { send("MUN"), send("QUF"), send("IDF"); }
    void release() { send("MUA"), send("QUN"), send("IDN"); }

    QStringList refused;

private:
    ReceiverModel& m_model;
};

QString firstChannel(int bank) { return wire::digits(30 * (bank - 1) + 1, 3); }

void uploadBank(Link& link, int bank, int type, const QList<Channel>& list)
{
    const QString letter = wire::bankLetter(bank);
    bool prepared = false;
    for (const Channel& c : list) {
        if (!c.trunk)
            continue;
        if (!prepared) {
            link.quiet();
            link.send("MA001");
            link.send(QStringLiteral("TR %1 %2").arg(letter).arg(type));
            if (type > 0) {
                link.send("KEY13H");
                link.send(QStringLiteral("KEY02 %1").arg(bank % 10));
                link.send("KEY04");
            }
            prepared = true;
        }
        link.send(QStringLiteral("PM%1 %2").arg(wire::digits(c.channel, 3), wire::wireFrequency(c.mhz.toDouble())));
        if (c.delay)
            link.send("KEY12");
        if (c.lockout)
            link.send("KEY06");
        link.send("KEY07");
    }
    for (const Channel& c : list) {
        if (c.trunk)
            continue;
        if (!prepared) {
            link.send("KEY00");
            link.send("MA001");
            prepared = true;
        }
        link.send(QStringLiteral("PM%1 %2").arg(wire::digits(c.channel, 3), wire::wireFrequency(c.mhz.toDouble())));
        link.send(c.delay ? "DLN" : "DLF");
        link.send(c.lockout ? "LON" : "LOF");
    }
    if (prepared) {
        link.send("KEY00");
        link.release();
    }
}

// The read: "QUF", five "PM" queries at a time, "QUN"; every "C" line decoded.
QHash<int, Channel> readBank(ReceiverModel& m, int bank)
{
    QList<QByteArray> buffer = m.handle("QUF");
    for (int c = 30 * (bank - 1) + 1; c <= 30 * bank; ++c)
        buffer += m.handle("PM" + wire::digits(c, 3).toLatin1());
    m.handle("QUN");
    QHash<int, Channel> out;
    for (const QByteArray& raw : buffer) {
        const QString line = QString::fromLatin1(raw);
        if (!line.startsWith(QLatin1Char('C')))
            continue;
        Channel c;
        c.channel = wire::leadingInt(QStringView(line).mid(1, 3));
        c.mhz = wire::frequencyFromWire(QStringView(line).mid(6, 8));
        c.trunk = line.mid(16, 1) == QLatin1String("N");
        c.delay = line.mid(19, 1) == QLatin1String("N");
        c.lockout = line.mid(22, 1) == QLatin1String("N");
        out.insert(c.channel, c);
    }
    return out;
}

struct Slot {
    QString label; // "M-n"
    QString id;
    bool locked = false;
};

void uploadIds(Link& link, int bank, int list, const QStringList& ids)
{
    link.quiet();
    link.send("MA001");
    link.send("AFF");
    for (int n = 1; n <= ids.size(); ++n) {
        if (ids[n - 1].isEmpty())
            continue;
        link.send(QStringLiteral("TG %1 %2%3 %4")
                      .arg(wire::bankLetter(bank))
                      .arg(wire::bankLetter(list))
                      .arg(wire::slotDigit(n))
                      .arg(ids[n - 1].leftJustified(6, QLatin1Char(' '), true)));
    }
    link.send("MA" + firstChannel(bank));
    link.send("KEY13");
    link.release();
}

// The bank selection and the list read of the ID directory.
QList<Slot> readIds(Link& link, int bank, int list)
{
    link.quiet();
    link.send(QStringLiteral("SB %1").arg(wire::bankLetter(bank)));
    link.send("MA" + firstChannel(bank));
    link.send("KEY13");
    link.release();

    QList<Slot> out;
    link.quiet();
    link.send("KEY07");
    for (int d = 0; d <= 9; ++d) {
        const QString r = link.send(QStringLiteral("IC %1%2").arg(wire::bankLetter(list)).arg(d));
        if (!r.startsWith(QLatin1String("IC")))
            break;
        Slot s;
        s.label = QStringLiteral("%1-%2").arg(wire::bankNumber(r[3])).arg(wire::slotPosition(r[4]));
        s.id = r.mid(6, 6);
        if (s.id == QLatin1String("000000")) {
            s.locked = true;
        } else if (link.send("ILD " + s.id).startsWith(QLatin1String("OK"))) {
            link.send("ILR " + s.id);
            s.locked = true;
        }
        out << s;
    }
    link.send("KEY00");
    link.release();
    return out;
}

} // namespace

class TestMemoryProgramming : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void frequencyBank_data()
    {
        QTest::addColumn<int>("bank");
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("expected"); // as read back; empty: as uploaded
        QTest::newRow("normal channels, bank 6")
            << 6 << 0 << QStringList{"1 154.3250 D", "2 460.5000 L", "3 151.6250 D L", "30 856.2375"} << QStringList{};
        QTest::newRow("trunked bank 7")
            << 7 << 2 << QStringList{"1 851.0125 T", "2 852.5125 T D", "3 853.9625 T L", "4 854.1125 T D L"}
            << QStringList{};
        QTest::newRow("trunked and normal channels mixed")
            << 8 << 3 << QStringList{"1 935.0125 T", "2 154.1000 D", "5 936.5000 T L", "6 460.2250"} << QStringList{};
        QTest::newRow("bank 10, EDACS")
            << 10 << 6 << QStringList{"1 866.0375 T", "2 867.0375 T", "30 868.0375 T D"} << QStringList{};
        QTest::newRow("conventional type keeps trunk channels normal")
            << 9 << 0 << QStringList{"1 155.0100 T D"} << QStringList{"1 155.0100 D"};
        QTest::newRow("a channel at zero is cleared")
            << 1 << 0 << QStringList{"1 000.0000 D"} << QStringList{"1 000.0000 D"};
    }
    void frequencyBank()
    {
        QFETCH(int, bank);
        QFETCH(int, type);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, expected);
        ReceiverModel m(3);
        m.activity().setEnabled(false);
        Link link(m);
        const QList<Channel> sent = channels(bank, entries);
        uploadBank(link, bank, type, sent);
        QCOMPARE(link.refused, QStringList());

        const QHash<int, Channel> got = readBank(m, bank);
        QCOMPARE(got.size(), 30);
        const QList<Channel> want = expected.isEmpty() ? sent : channels(bank, expected);
        for (const Channel& w : want) {
            const Channel g = got.value(w.channel);
            QCOMPARE(g.mhz, wire::formatMHz(w.mhz.toDouble()));
            QCOMPARE(g.delay, w.delay);
            QCOMPARE(g.lockout, w.lockout);
            QCOMPARE(g.trunk, w.trunk);
        }
        QCOMPARE(m.memory().bank(bank).trunkType, type);
        QCOMPARE(m.mode().mode(), 0); // the upload leaves the receiver scanning
        QVERIFY(m.statusOutput());
    }

    void idList_data()
    {
        QTest::addColumn<int>("bank");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("list");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QStringList>("locked");
        QTest::newRow("bank 4, list 3") << 4 << 2 << 3
                                        << QStringList{"012345", "002032", "", "65520", "", "", "", "", "", "000016"}
                                        << QStringList{"002032"};
        QTest::newRow("bank 10 EDACS, list 10")
            << 10 << 6 << 10 << QStringList{"000001", "002047", "000300"} << QStringList{"000001", "000300"};
        QTest::newRow("an empty list reads as zeros") << 7 << 1 << 1 << QStringList{} << QStringList{};
    }
    void idList()
    {
        QFETCH(int, bank);
        QFETCH(int, type);
        QFETCH(int, list);
        QFETCH(QStringList, ids);
        QFETCH(QStringList, locked);
        ReceiverModel m(4);
        m.activity().setEnabled(false);
        Link link(m);
        // A trunked bank needs its type and a frequency before its IDs mean anything.
        link.send("MA001");
        link.send(QStringLiteral("TR %1 %2").arg(wire::bankLetter(bank)).arg(type));
        uploadIds(link, bank, list, ids);
        for (const QString& id : locked)
            link.send("ILR " + id);
        QCOMPARE(link.refused, QStringList());

        const QList<Slot> got = readIds(link, bank, list);
        QCOMPARE(link.refused, QStringList());
        QCOMPARE(got.size(), 10);
        for (int d = 0; d <= 9; ++d) {
            const int n = d == 0 ? 10 : d;
            const Slot& s = got[d];
            const QString want = n <= ids.size() && !ids[n - 1].isEmpty() ? ids[n - 1].rightJustified(6, QLatin1Char('0'))
                                                                          : QStringLiteral("000000");
            QCOMPARE(s.label, QStringLiteral("%1-%2").arg(list).arg(n));
            QCOMPARE(s.id, want);
            QCOMPARE(s.locked, want == QLatin1String("000000") || locked.contains(want));
        }
        // Probing with ILD and ILR leaves every lock-out as it was.
        for (const QString& id : locked)
            QVERIFY(m.memory().isIdLockedOut(bank, id.toInt()));
        // The read's scan key resumes the bank's ID scan, ready for the next list.
        QCOMPARE(m.mode().mode(), type == 6 ? 17 : 11);
    }

    void idsOfAConventionalBankAreRefused()
    {
        ReceiverModel m(4);
        m.activity().setEnabled(false);
        Link link(m);
        const QList<Slot> got = readIds(link, 1, 1);
        QVERIFY(got.isEmpty());
        QVERIFY(link.refused.contains(QStringLiteral("KEY13 -> NG")));
        QVERIFY(link.refused.contains(QStringLiteral("IC A0 -> NG")));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestMemoryProgramming)

} // namespace
} // namespace tst_memoryprogramming

#include "tst_memoryprogramming.moc"
