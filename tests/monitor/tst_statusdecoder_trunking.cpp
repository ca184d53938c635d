#include "DecoderHelpers.h"
#include "MonitorRig.h"
#include "TestSuite.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

namespace tst_statusdecoder_trunking {
namespace {

using namespace vexlor::monitor;
using namespace vexlor::monitor::testing;

// Talkgroup, mode, bank, flag and information lines, and lines that are no status at all.
class TestStatusDecoderTrunking : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void call_data()
    {
        QTest::addColumn<QString>("bankLine");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("idName");
        QTest::addColumn<QString>("idType");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("compactName");
        QTest::addColumn<bool>("compactShown");
        QTest::addColumn<QString>("scanMode");
        QTest::addColumn<QString>("name");
        const QString d = QStringLiteral("TB D E2-800    ");
        const QString unknown = QStringLiteral("------------");
        QTest::newRow("found") << d << "ID S 002032" << "002032" << "Dispatch" << "POL" << "POL" << "Dispatch"
                               << true << "T" << "Metro";
        QTest::newRow("first match wins") << d << "ID S 004112" << "004112" << "First" << "AMB" << "AMB"
                                          << "First" << true << "T" << "Metro";
        QTest::newRow("empty name shows ID") << d << "ID S 003000" << "003000" << "" << "MUN" << "MUN"
                                             << "003000" << true << "T" << "Metro";
        QTest::newRow("not found") << d << "ID S 999999" << "999999" << unknown << "---" << "FDP" << unknown
                                   << false << "T*" << "Metro";
        QTest::newRow("other bank's ID") << d << "ID S 005555" << "005555" << unknown << "---" << "FDP"
                                         << unknown << false << "T*" << "Metro";
        QTest::newRow("no trunk bank") << "" << "ID S 002032" << "002032" << unknown << "---" << "FDP"
                                       << unknown << false << "T*" << "Fire North";
        // Slots never set hold no ID, not even the empty one.
        QTest::newRow("no ID field") << d << "ID S " << "" << unknown << "---" << "FDP" << unknown << false
                                     << "T*" << "Metro";
    }
    void call()
    {
        QFETCH(QString, bankLine);
        QFETCH(QString, line);
        QFETCH(QString, id);
        QFETCH(QString, idName);
        QFETCH(QString, idType);
        QFETCH(QString, scanMode);
        QFETCH(QString, name);
        MonitorRig rig;
        rig.decode({"MD12", "W110 F08515000", kChannel1, bankLine, line});
        const auto& d = rig.display.s;
        QCOMPARE(d.IDbox, id);
        QCOMPARE(d.IDNameLbl, idName);
        QCOMPARE(d.IDTypeLbl, idType);
        QTEST(d.TypeLbl, "type");
        QCOMPARE(d.NameLbl, name);
        QTEST(rig.compact.s.IDNameLbl, "compactName");
        QTEST(rig.compact.s.IDNameLblVisible, "compactShown");
        QVERIFY(d.IDListen);
        QCOMPARE(rig.logLines(), QStringList {logLine("851.5000", "   ", name, id, idType, idName)});

        rig.clock.advanceMs(2000);
        rig.decode({"ID E " + id});
        QVERIFY(!rig.display.s.IDListen);
        QVERIFY(!rig.compact.s.IDNameLblVisible);
        QCOMPARE(rig.measured(scanMode, bankLine.isEmpty() ? "0" : "4", id), 2.0);
    }

    void mode_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("queries");
        QTest::addColumn<bool>("leaves");
        QTest::newRow("00") << "MD00" << "Scan Mode" << false << true;
        QTest::newRow("5 as one digit") << "MD5" << "Svc Search Hld" << false << true;
        QTest::newRow("no digits reads 0") << "MDxx" << "Scan Mode" << false << true;
        QTest::newRow("06") << "MD06" << "Trunk Program (M)" << true << false;
        QTest::newRow("12 again") << "MD12" << "Manual ID (M)" << true << false;
        QTest::newRow("14 keeps caption") << "MD14" << "Manual ID (M)" << true << false;
        QTest::newRow("19") << "MD19" << "ID L/O Review (E)" << true << false;
        QTest::newRow("20 keeps caption") << "MD20" << "Manual ID (M)" << false << true;
        QTest::newRow("21") << "MD21" << "Direct Listening" << false << true;
        QTest::newRow("99") << "MD99" << "Manual ID (M)" << false << true;
    }
    void mode()
    {
        QFETCH(QString, line);
        QFETCH(bool, queries);
        QFETCH(bool, leaves);
        MonitorRig rig;
        rig.decode({"MD12", "TB D E2-800    ", "SB AC", "IS ABC", "IC A2 002032", "ID S 002032"});
        rig.takeWritten();
        rig.decode({line});
        const auto& d = rig.display.s;
        QTEST(d.ModeLbl, "caption");
        QCOMPARE(rig.compact.s.ModeLbl, d.ModeLbl);
        QCOMPARE(rig.takeWritten(), queries ? QStringList({"IS", "IC", "TB"}) : QStringList());
        QCOMPARE(pattern(d.BankLbl, 1), QStringLiteral("1010000000"));
        QCOMPARE(d.IDchLbl, QStringLiteral("1-2"));
        const QStringList readouts {d.FreqBankLbl, d.SystemLbl, d.TypeLbl, d.IDbox, d.IDNameLbl, d.IDTypeLbl};
        if (leaves) {
            QCOMPARE(readouts, QStringList(6, QString()));
            QCOMPARE(pattern(d.IDlbl, 1), QStringLiteral("0000000000"));
            QVERIFY(!d.IDListen);
        } else {
            QCOMPARE(readouts, (QStringList {"4", "E2-800    ", "POL", "002032", "Dispatch", "POL"}));
            QCOMPARE(pattern(d.IDlbl, 1), QStringLiteral("1110000000"));
            QVERIFY(d.IDListen);
        }
    }

    // The compact caption follows mode changes only.
    void caption_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("caption");
        QTest::newRow("first mode") << "" << "MD00" << "Scan Mode";
        QTest::newRow("same mode") << "MD01" << "MD01" << "kept";
        QTest::newRow("same value, leading blank") << "MD01" << "MD 1" << "kept";
        QTest::newRow("new mode") << "MD01" << "MD00" << "Scan Mode";
        QTest::newRow("to 14") << "MD01" << "MD14" << "Manual Mode";
    }
    void caption()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        MonitorRig rig;
        rig.decode({first});
        rig.compact.s.caption = QStringLiteral("kept");
        rig.decode({second});
        QTEST(rig.compact.s.caption, "caption");
        QCOMPARE(rig.compact.s.ModeLbl, rig.display.s.ModeLbl);
    }

    void trunkBank_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("bank");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("reported"); // the last report: bank and system
        QTest::newRow("A") << "TB A E2-900    " << "County" << "1" << "E2-900    " << "1 E2-900    ";
        QTest::newRow("J") << "TB J EDACS     " << "Tenth" << "10" << "EDACS     " << "10 EDACS     ";
        QTest::newRow("unnamed bank") << "TB B           " << "" << "2" << "          " << "2           ";
        QTest::newRow("no system field") << "TB C" << "" << "3" << "" << "3 ";
        QTest::newRow("K keeps bank labels") << "TB K E1        " << "Metro" << "4" << "E1        " << "4 E2-800    ";
    }
    void trunkBank()
    {
        QFETCH(QString, line);
        MonitorRig rig;
        QStringList reports;
        QObject::connect(&rig.decoder, &StatusDecoder::trunkSystemReported,
                         [&](int bank, const QString& system) { reports << QString::number(bank) + ' ' + system; });
        rig.decode({kChannel1, "TB D E2-800    ", line});
        QTEST(rig.display.s.NameLbl, "name");
        QTEST(rig.display.s.FreqBankLbl, "bank");
        QTEST(rig.display.s.SystemLbl, "system");
        QTEST(reports.last(), "reported");
    }

    void idChannel_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("E0 is 5-10, last match wins") << "IC E0 004112" << "5-10" << "004112" << "Second" << "FDP";
        QTest::newRow("0xFE becomes =") << QStringLiteral("IC C3 12\u00fe456") << "3-3" << "12=456" << "Eq"
                                        << "SEC";
        QTest::newRow("J0") << "IC J0 003000" << "10-10" << "003000" << "" << "MUN";
        QTest::newRow("not found keeps names") << "IC B5 777777" << "2-5" << "777777" << "Dispatch" << "POL";
        QTest::newRow("K keeps slot label") << "IC K2 004112" << "1-1" << "004112" << "Second" << "FDP";
        QTest::newRow("bare") << "IC" << "1-1" << "" << "Dispatch" << "POL";
    }
    void idChannel()
    {
        QFETCH(QString, line);
        MonitorRig rig;
        rig.decode({"TB D E2-800    ", "IC A1 002032", line});
        const auto& d = rig.display.s;
        QTEST(d.IDchLbl, "slot");
        QTEST(d.IDlbl0, "id");
        QTEST(d.TrunkingNameLbl, "name");
        QTEST(d.TrunkingTypeLbl, "type");
    }

    void searchLockout_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("text");
        QTest::newRow("zeros") << QStringList {"SS 00000000"} << QStringList() << "";
        QTest::newRow("no field") << QStringList {"SS"} << QStringList() << "";
        QTest::newRow("one") << QStringList {"SS 01462000"} << QStringList {"01462000"} << "146.2000\r\n";
        QTest::newRow("two") << QStringList {"SS 01462000", "SS 00000000", "SS 04500125"}
                             << QStringList {"01462000", "04500125"} << "146.2000\r\n450.0125\r\n";
    }
    void searchLockout()
    {
        QFETCH(QStringList, lines);
        MonitorRig rig;
        rig.decode(lines);
        QTEST(rig.lockouts.FreqList1, "list");
        QTEST(rig.lockouts.test, "text");
    }
    // A device sending distinct "SS" lines without end: the newest are kept.
    void searchLockoutBounded()
    {
        MonitorRig rig;
        const int extra = 5;
        QStringList lines;
        for (int i = 1; i <= FreqLockoutList::kMaxEntries + extra; ++i)
            lines << QStringLiteral("SS %1").arg(i, 8, 10, QLatin1Char('0'));
        rig.decode(lines);
        const QStringList& list = rig.lockouts.FreqList1;
        QCOMPARE(list.size(), FreqLockoutList::kMaxEntries);
        QCOMPARE(list.first(), QStringLiteral("%1").arg(extra + 1, 8, 10, QLatin1Char('0')));
        QCOMPARE(list.last(), lines.last().mid(3));
        QCOMPARE(rig.lockouts.test.count(QLatin1String("\r\n")), FreqLockoutList::kMaxEntries);
        QVERIFY(rig.lockouts.test.startsWith(QLatin1String("000.0006\r\n")));
    }

    void flags_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("lamps"); // DATA ATT PRI DLY L/O
        QTest::newRow("DS") << QStringList {"DSN"} << "10000";
        QTest::newRow("AT") << QStringList {"ATN"} << "01000";
        QTest::newRow("PR") << QStringList {"PRN"} << "00100";
        QTest::newRow("DL") << QStringList {"DLN"} << "00010";
        QTest::newRow("LO") << QStringList {"LON"} << "00001";
        QTest::newRow("one off again") << QStringList {"DSN", "ATN", "PRN", "DLN", "LON", "PRF"} << "11011";
        QTest::newRow("other letter is off") << QStringList {"LON", "LOX"} << "00000";
        QTest::newRow("lower case is off") << QStringList {"DSn"} << "00000";
        QTest::newRow("no field is off") << QStringList {"ATN", "AT"} << "00000";
    }
    void flags()
    {
        QFETCH(QStringList, lines);
        MonitorRig rig;
        rig.decode(lines);
        QTEST(pattern(rig.display.s.buttonlbl, 0), "lamps");
    }

    void delayQuery_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("asks");
        QTest::newRow("01") << "MD01" << true;
        QTest::newRow("03") << "MD03" << true;
        QTest::newRow("10") << "MD10" << true;
        QTest::newRow("16") << "MD16" << true;
        QTest::newRow("00") << "MD00" << false;
        QTest::newRow("12") << "MD12" << false;
        QTest::newRow("no mode yet") << "" << false;
    }
    void delayQuery()
    {
        QFETCH(QString, mode);
        QFETCH(bool, asks);
        MonitorRig rig;
        rig.decode({mode});
        rig.takeWritten();
        rig.decode({"DLN"});
        QCOMPARE(rig.takeWritten(), asks ? QStringList {"LO"} : QStringList());
        QVERIFY(rig.display.s.buttonlbl[3]);
    }

    void backlight_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("state"); // On Auto Off pictures, then Permanent Off Automatic items
        QTest::newRow("LT on") << QStringList {"LTN"} << "100100";
        QTest::newRow("LT off") << QStringList {"LTF"} << "001010";
        QTest::newRow("AL on") << QStringList {"ALN"} << "010001";
        QTest::newRow("AL off after LT on") << QStringList {"LTN", "ALF"} << "001100";
        QTest::newRow("AL off after AL on") << QStringList {"ALN", "ALF"} << "001001";
        QTest::newRow("LT on after AL on") << QStringList {"ALN", "LTN"} << "100100";
    }
    void backlight()
    {
        QFETCH(QStringList, lines);
        MonitorRig rig;
        rig.decode(lines);
        const auto& d = rig.display.s;
        const std::array<bool, 6> state {d.LightOn, d.LightAuto, d.LightOff, d.LightPermanent, d.LightOffMnu,
                                         d.LightAutomaticMnu};
        QTEST(pattern(state, 0), "state");
    }

    void audio_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("mute");
        QTest::addColumn<bool>("monitor");
        QTest::newRow("N") << QStringList {"MUN"} << true << false;
        QTest::newRow("F") << QStringList {"MUN", "MUF"} << false << true;
        QTest::newRow("other") << QStringList {"MUF", "MUA"} << false << false;
        QTest::newRow("no field") << QStringList {"MUN", "MU"} << false << false;
    }
    void audio()
    {
        QFETCH(QStringList, lines);
        MonitorRig rig;
        rig.decode(lines);
        QTEST(rig.display.s.Mute, "mute");
        QTEST(rig.display.s.MonitorMode, "monitor");
    }

    void limits_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("LL asks for LU") << "LL01440000" << "144.0000" << "" << QStringList {"LU"};
        QTest::newRow("LU") << "LU01480000" << "" << "148.0000" << QStringList();
        QTest::newRow("LL without digits") << "LLxx" << "000.0000" << "" << QStringList {"LU"};
    }
    void limits()
    {
        QFETCH(QString, line);
        MonitorRig rig;
        rig.decode({line});
        QTEST(rig.display.s.LLbox, "lower");
        QTEST(rig.display.s.LUbox, "upper");
        QTEST(rig.takeWritten(), "written");
    }

    void activeSets_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("lamps");
        QTest::newRow("SB A C J") << "SB ACJ" << "1010000001";
        QTest::newRow("SB none") << "SB " << "0000000000";
        QTest::newRow("SB reversed") << "SB JIHGFEDCBA" << "1111111111";
        QTest::newRow("SB without blank") << "SBA" << "1000000000";
        QTest::newRow("SB K and lower case") << "SB Kab" << "0000000000";
        QTest::newRow("IS A B") << "IS AB" << "1100000000";
        QTest::newRow("IS J") << "IS J" << "0000000001";
    }
    void activeSets()
    {
        QFETCH(QString, line);
        QFETCH(QString, lamps);
        MonitorRig rig;
        rig.decode({"SB ABCDEFGHIJ", "IS ABCDEFGHIJ", line});
        const bool banks = line.startsWith(QLatin1String("SB"));
        const auto& d = rig.display.s;
        QCOMPARE(pattern(banks ? d.BankLbl : d.IDlbl, 1), lamps);
        QCOMPARE(pattern(banks ? d.IDlbl : d.BankLbl, 1), QStringLiteral("1111111111"));
        const auto& active = banks ? rig.decoder.ActiveBanks : rig.decoder.ActiveIDLists;
        for (int i = 1; i <= 10; ++i) {
            const QString letter = lamps[i - 1] == QLatin1Char('1') ? QString(QChar(64 + i)) : QString();
            QCOMPARE(active[size_t(i)], letter);
        }
    }

    void infoLines()
    {
        MonitorRig rig;
        rig.decode({"VR 2.10 ", "SI XR-9 1.02", "SI second"});
        QCOMPARE(rig.decoder.LastSIReply, QStringLiteral("SI second"));
        QCOMPARE(rig.decoder.LastVRReply, QStringLiteral("VR 2.10 "));
    }

    void ignored_data()
    {
        QTest::addColumn<QString>("line");
        int row = 0;
        for (const char* line : {"", "X", "c001", " C001", "id s 002032", "ID X 002032", "ID", "I", "XY 12",
                                 "MX01", "\xfe\xfe"})
            QTest::addRow("%d", row++) << QString::fromLatin1(line);
    }
    void ignored()
    {
        QFETCH(QString, line);
        MonitorRig rig;
        rig.decode({"MD12", "TB D E2-800    ", kChannel1});
        rig.takeWritten();
        const MainDisplayState before = rig.display.s;
        const CompactDisplayState compactBefore = rig.compact.s;
        rig.decode({line});
        QCOMPARE(rig.display.s, before);
        QCOMPARE(rig.compact.s, compactBefore);
        QCOMPARE(rig.takeWritten(), QStringList());
        QCOMPARE(rig.decoder.CurrentChannel, 1);
        QCOMPARE(rig.decoder.ModeCode, 12);
        QVERIFY(rig.logLines().isEmpty());
        QVERIFY(rig.lockouts.FreqList1.isEmpty());
        QCOMPARE(rig.meas.MeasureState(), int(vexlor::recording::MeasureIntfc::Idle));
    }

    // Random lines, some behind a real prefix so they reach the handlers.
    void randomLines()
    {
        static const QStringList prefixes {"", "C", "+", "-", "W", "ID S ", "ID E ", "MD", "PC", "TB", "IC",
                                           "SS", "DL", "LO", "PR", "DS", "AT", "LT", "AL", "MU", "LL", "LU",
                                           "SB", "IS", "SI", "VR"};
        static const QStringList allowedWrites {"IS", "IC", "TB", "LO", "LU"};
        static const QRegularExpression freqText(QStringLiteral("^(\\d{3,4}\\.\\d{4})?$"));
        static const QRegularExpression slotText(QStringLiteral("^(\\d+-\\d+)?$"));
        QRandomGenerator rng(20011023);
        MonitorRig rig;
        rig.display.s.CenterTuningOnOff = true;
        rig.compact.s.CompactViewMode = 1;
        for (int batch = 0; batch < 500; ++batch) {
            QStringList lines;
            for (int i = 0; i < 8; ++i) {
                QByteArray tail(int(rng.bounded(24)), '\0');
                for (char& c : tail)
                    c = char(rng.bounded(rng.bounded(2) ? 256 : 128));
                lines << prefixes[rng.bounded(int(prefixes.size()))] + QString::fromLatin1(tail);
            }
            rig.decode(lines);
            rig.clock.advanceMs(rng.bounded(3000));
            const auto& d = rig.display.s;
            QVERIFY2(freqText.match(d.FrequencyBox).hasMatch(), qPrintable(d.FrequencyBox));
            QVERIFY2(freqText.match(d.LLbox).hasMatch(), qPrintable(d.LLbox));
            QVERIFY2(freqText.match(d.LUbox).hasMatch(), qPrintable(d.LUbox));
            QVERIFY2(slotText.match(d.IDchLbl).hasMatch(), qPrintable(d.IDchLbl));
            QVERIFY(d.TunLine >= 750 && d.TunLine <= 3250);
            const int bank = d.FreqBankLbl.toInt();
            QVERIFY(d.FreqBankLbl.isEmpty() || (bank >= 1 && bank <= 10));
            for (const QString& w : rig.takeWritten())
                QVERIFY2(allowedWrites.contains(w), qPrintable(w));
        }
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestStatusDecoderTrunking)

} // namespace
} // namespace tst_statusdecoder_trunking

#include "tst_statusdecoder_trunking.moc"
