#include "link/Commands.h"
#include "link/Replies.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_commands {
namespace {

namespace cmd = vexlor::link::cmd;
namespace reply = vexlor::link::reply;

namespace {
cmd::Selection on(std::initializer_list<int> numbers)
{
    cmd::Selection s {};
    for (int n : numbers)
        s[size_t(n - 1)] = true;
    return s;
}
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void builders_data()
    {
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pm read") << cmd::pmRead(1) << "PM001";
        QTest::newRow("pm program") << cmd::pmProgram(1, 146.2) << "PM001 01462000";
        QTest::newRow("pm program rounds") << cmd::pmProgram(45, 146.51999) << "PM045 01465200";
        QTest::newRow("pm program 146.52") << cmd::pmProgram(45, 146.52) << "PM045 01465200";
        QTest::newRow("pm program pads MHz") << cmd::pmProgram(271, 29.7) << "PM271 00297000";
        QTest::newRow("memory channel") << cmd::memoryChannel(1) << "MA001";
        QTest::newRow("trunk type") << cmd::trunkType(1, 1) << "TR A 1";
        QTest::newRow("trunk type bank 10") << cmd::trunkType(10, 6) << "TR J 6";
        QTest::newRow("talkgroup") << cmd::storeTalkgroup(1, 2, 10, "012345") << "TG A B0 012345";
        QTest::newRow("talkgroup slot 1") << cmd::storeTalkgroup(10, 10, 1, "1234") << "TG J J1 1234  ";
        QTest::newRow("talkgroup long id cut") << cmd::storeTalkgroup(2, 1, 5, "12345678") << "TG B A5 123456";
        QTest::newRow("talkgroup empty id") << cmd::storeTalkgroup(2, 1, 5, "") << "TG B A5       ";
        QTest::newRow("ild pads") << cmd::idLockoutRelease("4816") << "ILD 4816  ";
        QTest::newRow("ilr cuts") << cmd::idLockout("0123456") << "ILR 012345";
        QTest::newRow("tune") << cmd::tune(154.43) << "RF01544300";
        QTest::newRow("id channel slot 10") << cmd::idChannel(1, 10) << "IC A0";
        QTest::newRow("id channel J3") << cmd::idChannel(10, 3) << "IC J3";
        QTest::newRow("key") << cmd::key(4) << "KEY04";
        QTest::newRow("key held") << cmd::keyHeld(4) << "KEY04H";
        QTest::newRow("key digit 0") << cmd::keyDigit(0) << "KEY02 0";
        QTest::newRow("key digit bank 10") << cmd::keyDigit(10) << "KEY02 0";
        QTest::newRow("delay on") << cmd::delay(true) << "DLN";
        QTest::newRow("lockout on") << cmd::lockout(true) << "LON";
        QTest::newRow("priority") << cmd::priority(true) << "PRN";
        QTest::newRow("data skip") << cmd::dataSkip(false) << "DSF";
        QTest::newRow("attenuator") << cmd::attenuator(true) << "ATN";
        QTest::newRow("backlight") << cmd::backlight(false) << "LTF";
        QTest::newRow("auto backlight") << cmd::autoBacklight(true) << "ALN";
        QTest::newRow("banks A C") << cmd::setBanks(on({1, 3})) << "SB AC";
        QTest::newRow("banks all") << cmd::setBanks(on({1, 2, 3, 4, 5, 6, 7, 8, 9, 10})) << "SB ABCDEFGHIJ";
        QTest::newRow("banks only 10") << cmd::setBanks(on({10})) << "SB J";
        QTest::newRow("banks none") << cmd::setBanks(on({})) << "SB ";
        QTest::newRow("id lists") << cmd::setIdLists(on({2, 10})) << "IS BJ";
        QTest::newRow("lower limit") << cmd::lowerLimit(144.0) << "LL01440000";
        QTest::newRow("upper limit") << cmd::upperLimit(147.99999) << "LU01480000";
        QTest::newRow("priority channel") << cmd::priorityChannel(1) << "PC A";
        QTest::newRow("lockout search") << cmd::lockoutSearch(1) << "SS01";
        QTest::newRow("empty command") << QString(cmd::kEmpty) << "";
    }
    void builders()
    {
        QFETCH(QString, built);
        QFETCH(QString, expected);
        QCOMPARE(built, expected);
    }

    void groups()
    {
        const auto join = [](auto list) {
            QStringList out;
            for (QLatin1String s : list)
                out << s;
            return out.join(QLatin1Char(' '));
        };
        QCOMPARE(join(cmd::kQuietCommands), QStringLiteral("MUN QUF IDF"));
        QCOMPARE(join(cmd::kReleaseCommands), QStringLiteral("MUA QUN IDN"));
        QCOMPARE(join(cmd::kPollQueries), QStringLiteral("WI MD DL SB MA LO"));
    }

    void replies_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refusal");
        QTest::addColumn<bool>("error");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("off");
        QTest::newRow("NG") << "NG" << true << false << false << false;
        QTest::newRow("NG with text") << "NG PM" << true << false << false << false;
        QTest::newRow("ERR") << "ERR" << false << true << false << false;
        QTest::newRow("time-out") << QString(reply::kTimeout) << false << true << false << false;
        QTest::newRow("OK") << "OK" << false << false << true << false;
        QTest::newRow("OFF") << "OFF" << false << false << false << true;
        QTest::newRow("status line") << "MD00" << false << false << false << false;
        QTest::newRow("NG inside") << "C001 NG" << false << false << false << false;
        QTest::newRow("lower case") << "ng" << false << false << false << false;
        QTest::newRow("empty") << "" << false << false << false << false;
        QTest::newRow("N alone") << "N" << false << false << false << false;
    }
    void replies()
    {
        QFETCH(QString, text);
        QFETCH(bool, refusal);
        QFETCH(bool, error);
        QFETCH(bool, ok);
        QFETCH(bool, off);
        QCOMPARE(reply::isRefusal(text), refusal);
        QCOMPARE(reply::isError(text), error);
        QCOMPARE(reply::isFailure(text), refusal || error);
        QCOMPARE(reply::isOk(text), ok);
        QCOMPARE(reply::isOff(text), off);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestCommands)

} // namespace
} // namespace tst_commands

#include "tst_commands.moc"
