#include "link/Wire.h"
#include "simulator/ReceiverModel.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_receivermodel {
namespace {

using vexlor::simulator::ReceiverModel;

namespace {

QStringList toStrings(const QList<QByteArray>& lines)
{
    QStringList out;
    for (const QByteArray& l : lines)
        out << QString::fromLatin1(l);
    return out;
}

// A fresh factory receiver that hears nothing, driven through a command list.
QStringList run(ReceiverModel& m, const QStringList& commands)
{
    QStringList last;
    for (const QString& c : commands)
        last = toStrings(m.handle(c.toLatin1()));
    return last;
}

} // namespace

class TestReceiverModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replies_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("reply");
        const QStringList none;
        const auto row = [](const char* name, const QStringList& setup, const char* cmd, const QStringList& reply) {
            QTest::newRow(name) << setup << QString::fromLatin1(cmd) << reply;
        };

        // Queries of the poll and the status refresh.
        row("WI on channel 1", none, "WI", {"W110 F01541300"});
        row("MD scan at start", none, "MD", {"MD00"});
        row("MA current channel", none, "MA", {"C001 F01541300 TF DN LF AF RF N000"});
        row("DL of channel 1", none, "DL", {"DLN"});
        row("LO of channel 1", none, "LO", {"LOF"});
        row("SB", none, "SB", {"SB ABCDE"});
        row("IS", none, "IS", {"IS AB"});
        row("SQ closed", none, "SQ", {"SQF"});
        row("LL", none, "LL", {"LL01440000"});
        row("LU", none, "LU", {"LU01480000"});
        row("MU normal", none, "MU", {"MUA"});
        row("LT", none, "LT", {"LTF"});
        row("AL", none, "AL", {"ALN"});
        row("PR", none, "PR", {"PRF"});
        row("DS", none, "DS", {"DSF"});
        row("AT", none, "AT", {"ATF"});
        row("SI", none, "SI", {"SI BC245XLT"});
        row("VR", none, "VR", {"VR 1.02"});
        row("PC bank A", none, "PC A", {"PC A001"});
        row("PC bank J", none, "PC J", {"PC J271"});
        row("SS slot 1 locked", none, "SS01", {"SS 01458000"});
        row("SS slot 50 empty", none, "SS50", {"SS 00000000"});
        row("PM reads a channel", none, "PM031", {"C031 F04532500 TF DF LF AF RF N000"});
        row("PM reads a trunk channel", none, "PM091", {"C091 F08510125 TN DF LF AF RF N000"});
        row("PM reads a locked channel", none, "PM010", {"C010 F01546800 TF DF LN AF RF N000"});
        row("PM reads an empty channel", none, "PM300", {"C300 F00000000 TF DF LF AF RF N000"});

        // Link control.
        row("QUF", none, "QUF", {"OK"});
        row("QUN", none, "QUN", {"OK"});
        row("IDF", none, "IDF", {"OK"});
        row("IDN", none, "IDN", {"OK"});
        row("AFF", none, "AFF", {"OK"});
        row("MUN mutes", none, "MUN", {"MUN"});
        row("MUF discriminator", none, "MUF", {"MUF"});
        row("MUA after MUN", {"MUN"}, "MUA", {"MUA"});
        row("MU after MUN", {"MUN"}, "MU", {"MUN"});

        // Settings answer the status line they change.
        row("PRN", none, "PRN", {"PRN"});
        row("PR after PRN", {"PRN"}, "PR", {"PRN"});
        row("DSN", none, "DSN", {"DSN"});
        row("ATN then AT", {"ATN"}, "AT", {"ATN"});
        row("LTN", none, "LTN", {"LTN"});
        row("ALF then AL", {"ALF"}, "AL", {"ALF"});
        row("DLF on channel 1", none, "DLF", {"DLF"});
        row("DL follows the channel", {"MA002"}, "DL", {"DLF"});
        row("LO of a locked channel", {"MA010"}, "LO", {"LON"});
        row("LON then PM shows it", {"MA005", "LON"}, "PM005", {"C005 F01554750 TF DF LN AF RF N000"});
        row("SB sets banks", none, "SB ACJ", {"SB ACJ"});
        row("SB query after set", {"SB ACJ"}, "SB", {"SB ACJ"});
        row("SB letters in any order", none, "SB JA", {"SB AJ"});
        row("SB nothing refused", none, "SB ", {"NG"});
        row("SB nothing keeps banks", {"SB "}, "SB", {"SB ABCDE"});
        row("IS sets lists", none, "IS J", {"IS J"});
        row("LL sets limit", none, "LL01380000", {"LL01380000"});
        row("LU sets limit", none, "LU00500000", {"LU00500000"});
        row("LL out of band", none, "LL01000000", {"NG"});
        row("LL then LL query", {"LL01380000"}, "LL", {"LL01380000"});

        // Navigation.
        row("MA goes to a channel", none, "MA031", {"C031 F04532500 TF DF LF AF RF N000"});
        row("MA is manual mode", {"MA031"}, "MD", {"MD01"});
        row("MA then WI", {"MA031"}, "WI", {"W110 F04532500"});
        row("MA in a search mode", {"KEY09"}, "MA", {"NG"});
        row("RF outside manual", none, "RF01465200", {"NG"});
        row("RF in manual", {"MA001"}, "RF01465200", {"OK"});
        row("RF is direct listening", {"MA001", "RF01465200"}, "MD", {"MD21"});
        row("RF then WI", {"MA001", "RF01465200"}, "WI", {"W110 F01465200"});
        row("RF out of band", {"MA001"}, "RF00100000", {"NG"});

        // Memory programming.
        row("PM programs in manual", {"MA001"}, "PM200 01462000", {"OK"});
        row("PM programmed reads back", {"MA001", "PM200 01462000"}, "PM200", {"C200 F01462000 TF DF LF AF RF N000"});
        row("PM resets delay", {"MA001", "PM001 01541300"}, "DL", {"DLF"});
        row("PM then DLN", {"MA001", "PM200 01462000", "DLN"}, "PM200", {"C200 F01462000 TF DN LF AF RF N000"});
        row("PM of zero clears", {"MA001", "PM001 00000000"}, "PM001", {"C001 F00000000 TF DF LF AF RF N000"});
        row("PM programs only in manual", none, "PM200 01462000", {"NG"});
        row("PM ends a limit search", {"MA001", "KEY07"}, "PM200 01462000", {"OK"});
        row("PM out of band", {"MA001"}, "PM200 01000000", {"NG"});
        row("TR sets a type", none, "TR A 2", {"OK"});
        row("TG stores an ID", none, "TG A A3 012345", {"OK"});
        row("TG with blank padding", none, "TG A B0 1234  ", {"OK"});

        // Trunking.
        row("TB outside trunking", none, "TB", {"NG"});
        row("IC outside trunking", none, "IC", {"NG"});
        row("IC channel outside trunking", none, "IC A1", {"NG"});
        row("KEY13 picks the trunked bank", none, "KEY13", {"OK"});
        row("KEY13 is scan ID", {"KEY13"}, "MD", {"MD11"});
        row("TB in trunking", {"KEY13"}, "TB", {"TB D E2-800    "});
        row("IC in trunking", {"KEY13"}, "IC", {"IC A1 002032"});
        row("IC goes to slot 5", {"KEY13"}, "IC A5", {"IC A5 004144"});
        row("IC slot 10 is 0", {"KEY13"}, "IC B0", {"IC B0 000000"});
        row("IC is manual ID", {"KEY13", "IC A2"}, "MD", {"MD12"});
        row("IC shows a stored ID", {"TG D C0 777777", "KEY13"}, "IC C0", {"IC C0 777777"});
        row("EDACS bank scans (E)", {"TR B 6", "MA031"}, "KEY13", {"OK"});
        row("EDACS scan ID mode", {"TR B 6", "MA031", "KEY13"}, "MD", {"MD17"});
        row("KEY13 without a trunked bank", {"TR D 0"}, "KEY13", {"NG"});
        row("KEY13 held on a conventional channel", {"MA001"}, "KEY13", {"NG"});
        row("KEY13 from a trunk channel", {"MA091", "KEY13"}, "TB", {"TB D E2-800    "});
        row("ILD of a free ID", {"KEY13"}, "ILD 002032", {"OFF"});
        row("ILD of a locked ID", {"KEY13"}, "ILD 030032", {"OK"});
        row("ILD clears the lock-out", {"KEY13", "ILD 030032"}, "ILD 030032", {"OFF"});
        row("ILR locks out", {"KEY13", "ILR 002032"}, "ILD 002032", {"OK"});
        row("ILD with no trunk bank", none, "ILD 002032", {"NG"});
        row("ILD of 000000", {"KEY13"}, "ILD 000000", {"NG"});

        // Keys and modes.
        row("KEY00", none, "KEY00", {"OK"});
        row("KEY01 manual", {"KEY01"}, "MD", {"MD01"});
        row("KEY01 steps in manual", {"KEY01", "KEY01"}, "MA", {"C002 F01542500 TF DF LF AF RF N000"});
        row("KEY09 search", {"KEY09"}, "MD", {"MD02"});
        row("KEY07 limit search", {"KEY07"}, "MD", {"MD02"});
        row("KEY08 holds the search", {"KEY09", "KEY08"}, "MD", {"MD03"});
        row("KEY08 resumes the search", {"KEY09", "KEY08", "KEY08"}, "MD", {"MD02"});
        row("KEY10 service search", {"KEY10"}, "MD", {"MD04"});
        row("KEY08 holds service search", {"KEY10", "KEY08"}, "MD", {"MD05"});
        row("KEY08 in scan holds", {"KEY08"}, "MD", {"MD01"});
        row("KEY01 in scan ID", {"KEY13", "KEY01"}, "MD", {"MD12"});
        row("KEY09 in trunking", {"KEY13", "KEY09"}, "MD", {"MD09"});
        row("KEY08 in ID search", {"KEY13", "KEY09", "KEY08"}, "MD", {"MD10"});
        row("KEY00 leaves trunking", {"KEY13", "KEY00"}, "MD", {"MD00"});
        row("KEY00 held on an ID resumes the ID scan", {"TR B 6", "MA031", "KEY13", "IC A2", "KEY00"}, "MD", {"MD17"});
        row("KEY13H trunk programming", {"KEY13H"}, "MD", {"MD08"});
        row("trunk programming of bank 4", {"KEY13H", "KEY02 4"}, "KEY04", {"OK"});
        row("trunk programming (M)", {"KEY13H", "KEY02 4", "KEY04"}, "MD", {"MD06"});
        row("trunk programming (E)", {"TR J 6", "KEY13H", "KEY02 0", "KEY04"}, "MD", {"MD07"});
        row("trunk programming needs a type", {"KEY13H", "KEY02 1"}, "KEY04", {"NG"});
        row("digit in scan drops a bank", {"KEY02 2"}, "SB", {"SB ACDE"});
        row("last bank stays", {"SB C"}, "KEY02 3", {"NG"});
        row("digits and MAN pick a channel", {"KEY01", "KEY02 3", "KEY02 1"}, "KEY01", {"OK"});
        row("digits and MAN reach it", {"KEY01", "KEY02 3", "KEY02 1", "KEY01"}, "MA", {"C031 F04532500 TF DF LF AF RF N000"});
        row("frequency entry", {"KEY01", "KEY02 1", "KEY02 4", "KEY02 6", "KEY03", "KEY02 5", "KEY04"}, "WI", {"W110 F01465000"});
        row("KEY12 toggles delay", {"KEY01", "KEY12"}, "DL", {"DLF"});
        row("KEY06 locks out", {"KEY01", "KEY06"}, "LO", {"LON"});
        row("KEY06 in search hold", {"KEY09", "KEY08", "KEY06"}, "SS03", {"SS 01541300"});
        row("KEY05 priority", {"KEY05"}, "PR", {"PRN"});
        row("KEY11 data skip", {"KEY11"}, "DS", {"DSN"});
        row("KEY14 light", {"KEY14"}, "LT", {"LTN"});
        row("KEY04H leaves remote", none, "KEY04H", {"OK"});

        // Malformed commands.
        row("unknown", none, "BOGUS", {"ERR"});
        row("lower case", none, "wi", {"ERR"});
        row("trailing blank", none, "WI ", {"ERR"});
        row("control byte", none, QByteArray("W\x01").constData(), {"ERR"});
        row("empty line", none, "", {});
        row("MA000", none, "MA000", {"ERR"});
        row("MA301", none, "MA301", {"ERR"});
        row("MA short", none, "MA1", {"ERR"});
        row("PM bad frequency", {"MA001"}, "PM001 1462000", {"ERR"});
        row("PM no blank", {"MA001"}, "PM00101462000", {"ERR"});
        row("LL short", none, "LL0138", {"ERR"});
        row("LOX", none, "LOX", {"ERR"});
        row("DLNN", none, "DLNN", {"ERR"});
        row("SB bad letter", none, "SB AK", {"ERR"});
        row("SB no blank", none, "SBA", {"ERR"});
        row("PC K", none, "PC K", {"ERR"});
        row("PC alone", none, "PC", {"ERR"});
        row("SS00", none, "SS00", {"ERR"});
        row("SS51", none, "SS51", {"ERR"});
        row("SS1", none, "SS1", {"ERR"});
        row("TBX", none, "TBX", {"ERR"});
        row("IC K1", {"KEY13"}, "IC K1", {"ERR"});
        row("IC AX", {"KEY13"}, "IC AX", {"ERR"});
        row("TR type 7", none, "TR A 7", {"ERR"});
        row("TR no blank", none, "TR A2", {"ERR"});
        row("TG bad ID", none, "TG A A3 12a", {"ERR"});
        row("TG bad bank", none, "TG K A3 012345", {"ERR"});
        row("TG bad slot", none, "TG A AX 012345", {"ERR"});
        row("TG long ID", none, "TG A A3 1234567", {"ERR"});
        row("ILD letters", {"KEY13"}, "ILD abc", {"ERR"});
        row("KEY15", none, "KEY15", {"ERR"});
        row("KEY02 without digit", none, "KEY02", {"ERR"});
        row("KEY02 letter", none, "KEY02 x", {"ERR"});
        row("KEY0", none, "KEY0", {"ERR"});
        row("KEY01X", none, "KEY01X", {"ERR"});
    }
    void replies()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, command);
        QFETCH(QStringList, reply);
        ReceiverModel m(1);
        m.activity().setEnabled(false);
        run(m, setup);
        QCOMPARE(toStrings(m.handle(command.toLatin1())), reply);
    }

    // The fields the program reads, at their 1-based positions.
    void positions_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("fields"); // "from-to=value"
        QTest::newRow("C line") << QStringList{"MA001", "PM123 04625625", "DLN", "LON"} << "PM123"
                                << QStringList{"1-1=C", "2-4=123", "7-14=04625625", "17-17=F", "20-20=N", "23-23=N"};
        QTest::newRow("C line of a trunk channel") << QStringList{} << "PM092"
                                                   << QStringList{"2-4=092", "7-14=08512625", "17-17=N"};
        QTest::newRow("W line") << QStringList{"MA002"} << "WI" << QStringList{"1-1=W", "2-4=110", "7-14=01542500"};
        QTest::newRow("MD line") << QStringList{"KEY13", "IC C3"} << "MD" << QStringList{"1-2=MD", "3-4=12"};
        QTest::newRow("PC line") << QStringList{} << "PC D" << QStringList{"1-2=PC", "4-4=D", "5-7=091"};
        QTest::newRow("TB line") << QStringList{"KEY13"} << "TB" << QStringList{"4-4=D", "6-15=E2-800    "};
        QTest::newRow("IC line") << QStringList{"KEY13"} << "IC E0"
                                 << QStringList{"1-2=IC", "4-4=E", "5-5=0", "7-12=000000"};
        QTest::newRow("SS line") << QStringList{} << "SS02" << QStringList{"1-2=SS", "4-11=01473000"};
        QTest::newRow("LL line") << QStringList{} << "LL" << QStringList{"3-10=01440000"};
        QTest::newRow("flag line") << QStringList{} << "DL" << QStringList{"1-2=DL", "3-3=N"};
        QTest::newRow("SB letters from 3") << QStringList{"SB BD"} << "SB" << QStringList{"3-5= BD"};
    }
    void positions()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, command);
        QFETCH(QStringList, fields);
        ReceiverModel m(1);
        m.activity().setEnabled(false);
        run(m, setup);
        const QStringList reply = toStrings(m.handle(command.toLatin1()));
        QCOMPARE(reply.size(), 1);
        for (const QString& f : fields) {
            const int dash = int(f.indexOf(QLatin1Char('-')));
            const int eq = int(f.indexOf(QLatin1Char('=')));
            const int from = f.left(dash).toInt();
            const int to = f.mid(dash + 1, eq - dash - 1).toInt();
            QCOMPARE(reply[0].mid(from - 1, to - from + 1), f.mid(eq + 1));
        }
    }

    // The program shows what it reads with its own helpers; they must agree.
    void decodedByTheWireHelpers()
    {
        namespace wire = vexlor::link::wire;
        ReceiverModel m(1);
        m.activity().setEnabled(false);
        const QString c = toStrings(m.handle("PM061")).value(0);
        QCOMPARE(wire::frequencyFromWire(QStringView(c).mid(6, 8)), QStringLiteral("156.8000"));
        QCOMPARE(wire::leadingInt(QStringView(c).mid(1, 3)), 61);
        m.handle("KEY13");
        const QString ic = toStrings(m.handle("IC J0")).value(0);
        QCOMPARE(wire::bankNumber(ic[3]), 10);
        QCOMPARE(wire::slotPosition(ic[4]), 10);
    }

    void leavingRemoteModeSilencesUntilAKey()
    {
        ReceiverModel m(5);
        QCOMPARE(m.handle("KEY04H"), QList<QByteArray>{"OK"});
        QVERIFY(!m.remote());
        QVERIFY(m.advance(120000).isEmpty());
        QCOMPARE(m.handle("MD"), QList<QByteArray>{"MD00"});
        QVERIFY(m.advance(120000).isEmpty());
        m.handle("KEY00");
        QVERIFY(m.remote());
        QVERIFY(!m.advance(120000).isEmpty());
        m.handle("KEY04H");
        m.handle("QUN");
        QVERIFY(m.remote());
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestReceiverModel)

} // namespace
} // namespace tst_receivermodel

#include "tst_receivermodel.moc"
