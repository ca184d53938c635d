#include "link/Wire.h"
#include "memory/FreqDirectory.h"
#include "memory/TrunkSystemOffers.h"
#include "ScriptedReceiver.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_freqdirectory {
namespace {

using namespace vexlor;
using memory::FreqDirectory;
using memory::MemoryTables;
using MT = MemoryTables;
using Button = platform::Dialogs::Button;

namespace {

// A receiver whose channel c holds 100 + c/10 MHz, trunk on odd channels.
QByteArray channelLine(int c)
{
    const QString f = link::wire::wireFrequency(100 + c / 10.0);
    return QStringLiteral("C%1 F%2 T%3 DN LF AF RF N000")
        .arg(link::wire::digits(c, 3), f, c % 2 ? QStringLiteral("N") : QStringLiteral("F"))
        .toLatin1();
}

struct Rig : testing::ScriptedReceiver {
    FreqDirectory dir {{link, port, dialogs, tables, *stores}};
    Rig()
    {
        answer = [](const QString& c) {
            if (c.startsWith(QLatin1String("PM")) && c.size() == 5)
                return channelLine(c.mid(2).toInt());
            // 10 MHz is outside the receiver's bands.
            return QByteArray(c.endsWith(QLatin1String(" 00100000")) ? "NG" : "OK");
        };
    }
    void readBank(int bank)
    {
        dir.Option1_Click();
        dir.BankCmb_Click(bank);
        dir.reader().ChTimer().stop(); // ticked by hand
        for (int i = 0; i < 20 && dir.reader().isRunning(); ++i)
            dir.reader().ChTimer_Timer();
    }
    void setChannel(int c, const QString& mhz, const QString& mode, bool delay = false, bool lockout = false)
    {
        tables.Channels.set(c, MT::kChCh, c);
        tables.Channels.set(c, MT::kChFrequency, mhz);
        tables.Channels.set(c, MT::kChMode, mode);
        tables.Channels.set(c, MT::kChDLY, delay ? QStringLiteral("=") : QString());
        tables.Channels.set(c, MT::kChLO, lockout ? QStringLiteral("=") : QString());
    }
    void edit(int c) { dir.ChBox_Change(QString::number(c)); }
};

} // namespace

class TestFreqDirectory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsABankAndStoresIt_data()
    {
        QTest::addColumn<int>("bank");
        QTest::newRow("bank 1") << 1;
        QTest::newRow("bank 10") << 10;
    }
    void readsABankAndStoresIt()
    {
        QFETCH(int, bank);
        Rig rig;
        const int first = 30 * (bank - 1) + 1;
        rig.tables.Channels.set(first, MT::kChName, QStringLiteral("Tower"));
        QList<int> percents;
        connect(&rig.dir.reader(), &memory::BankRead::progressed, [&](int p) {
            percents << p;
            QVERIFY(!rig.mainTimer.isActive());
        });
        rig.readBank(bank);

        QStringList expected {QStringLiteral("QUF")};
        for (int c = first; c < first + 30; ++c)
            expected << QStringLiteral("PM") + link::wire::digits(c, 3);
        expected << QStringLiteral("QUN");
        QCOMPARE(rig.commands, expected);
        QCOMPARE(percents, (QList<int> {16, 33, 50, 66, 83, 100}));
        QVERIFY(rig.mainTimer.isActive());
        QVERIFY(!rig.dir.state().WaitLblVisible);

        const MemoryTables stored = rig.reloaded();
        for (const MemoryTables* t : std::initializer_list<const MemoryTables*> {&rig.tables, &stored}) {
            QCOMPARE(t->Channels.text(first, MT::kChName), QStringLiteral("Tower"));
            QCOMPARE(t->Channels.text(first + 1, MT::kChFrequency),
                     link::wire::formatMHz(100 + (first + 1) / 10.0));
            QCOMPARE(t->Channels.text(first, MT::kChMode), QStringLiteral("Trunk"));
            QCOMPARE(t->Channels.text(first + 1, MT::kChMode), QStringLiteral("Normal"));
            QCOMPARE(t->Channels.text(first, MT::kChDLY), QStringLiteral("="));
        }
    }

    // A reply still on its way is waited for; one that never comes ends the read, which says so.
    void waitsForTheLastReplies_data()
    {
        QTest::addColumn<int>("lateTick"); // 0: never comes
        QTest::addColumn<int>("messages");
        QTest::newRow("arrives on the ninth tick") << 9 << 0;
        QTest::newRow("never arrives") << 0 << 1;
    }
    void waitsForTheLastReplies()
    {
        QFETCH(int, lateTick);
        QFETCH(int, messages);
        Rig rig;
        const auto normal = rig.answer;
        rig.answer = [&](const QString& c) { return c == QLatin1String("PM030") ? QByteArray() : normal(c); };
        rig.dir.Option1_Click();
        rig.dir.BankCmb_Click(1);
        rig.dir.reader().ChTimer().stop();
        int n = 0;
        while (rig.dir.reader().isRunning() && n < 40) {
            if (++n == lateTick)
                rig.port.feed(channelLine(30) + '\r');
            rig.dir.reader().ChTimer_Timer();
        }
        // The silence that ends it follows the line: four ticks at 9600 baud.
        const qint64 tick = memory::BankRead::kTickMs;
        QCOMPARE(n, lateTick ? lateTick : 7 + int((rig.dir.reader().silenceMs() + tick - 1) / tick));
        QCOMPARE(rig.commands.last(), QStringLiteral("QUN"));
        QCOMPARE(rig.tables.Channels.at(30, MT::kChFrequency).isEmpty(), lateTick == 0);
        QVERIFY(!rig.tables.Channels.at(29, MT::kChFrequency).isEmpty());
        QCOMPARE(int(rig.dialogs.messages.size()), messages);
        if (messages)
            QCOMPARE(rig.dialogs.messages.last().text, QStringLiteral("Read 29 of 30 channels of bank 1."));
    }

    void readEndsCleanly_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("pollRuns");
        QTest::newRow("window closed") << "close" << true;
        QTest::newRow("program ending") << "shutdown" << false;
    }
    void readEndsCleanly()
    {
        QFETCH(QString, how);
        QFETCH(bool, pollRuns);
        Rig rig;
        rig.dir.Option1_Click();
        rig.dir.BankCmb_Click(2);
        rig.dir.reader().ChTimer_Timer();
        // A second bank would mix its replies into this read: it is not taken.
        rig.dir.BankCmb_Click(3);
        QCOMPARE(rig.dir.SelectedBank(), 2);
        QCOMPARE(rig.dir.state().BankCmb, 2);
        how == QLatin1String("close") ? rig.dir.Form_Unload() : rig.link.shutDown();
        QCOMPARE(rig.commands.last(), QStringLiteral("QUN"));
        QVERIFY(!rig.dir.reader().ChTimer().isActive());
        QCOMPARE(rig.mainTimer.isActive(), pollRuns);
        QVERIFY(rig.tables.Channels.at(31, MT::kChFrequency).isEmpty());
        QVERIFY(!rig.link.isBusy());
    }

    void upload_data()
    {
        QTest::addColumn<int>("bank");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QStringList>("channels"); // "offset mhz mode [D] [L]"
        QTest::addColumn<QString>("mute");         // the command the receiver does not answer
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("report");
        QTest::newRow("normal only")
            << 1 << "0 - Conventional Only" << QStringList {"1 154.325 Normal D", "2 460.1 Normal L"} << ""
            << QStringList {"KEY00", "MA001", "PM001 01543250", "DLN", "LOF", "PM002 04601000", "DLF", "LON", "KEY00"}
            << "Upload finished: 2 channels sent.";
        QTest::newRow("refused frequency: no flags for it")
            << 1 << "0 - Conventional Only" << QStringList {"1 154.325 Normal", "2 010.0000 Normal D L"} << ""
            << QStringList {"KEY00", "MA001", "PM001 01543250", "DLF", "LOF", "PM002 00100000", "KEY00"}
            << "Upload finished: 1 of 2 channels taken, 1 refused.";
        QTest::newRow("silent receiver: the rest is not sent")
            << 1 << "0 - Conventional Only" << QStringList {"1 154.325 Normal", "2 460.1 Normal", "3 460.2 Normal"}
            << "PM002 04601000"
            << QStringList {"KEY00", "MA001", "PM001 01543250", "DLF", "LOF", "PM002 04601000", "KEY00"}
            << "Upload stopped: the scanner did not answer.";
        QTest::newRow("trunk type 0")
            << 1 << "0 - Conventional Only" << QStringList {"2 154.325 Normal", "1 851.0125 Trunk D L"} << ""
            << QStringList {"MUN", "QUF", "IDF", "MA001", "TR A 0", "PM001 08510125", "KEY12", "KEY06", "KEY07",
                            "PM002 01543250", "DLF", "LOF", "KEY00", "MUA", "QUN", "IDN"}
            << "Upload finished: 2 channels sent.";
        QTest::newRow("trunk type 1, bank 10")
            << 10 << "1 - E1 Motorola" << QStringList {"1 856.2375 Trunk", "30 000.0000 Trunk"} << ""
            << QStringList {"MUN", "QUF", "IDF", "MA001", "TR J 1", "KEY13H", "KEY02 0", "KEY04",
                            "PM271 08562375", "KEY07", "PM300 00000000", "KEY07", "KEY00", "MUA", "QUN", "IDN"}
            << "Upload finished: 2 channels sent.";
    }
    void upload()
    {
        QFETCH(int, bank);
        QFETCH(QString, selector);
        QFETCH(QStringList, channels);
        QFETCH(QString, mute);
        QFETCH(QStringList, expected);
        Rig rig;
        const auto normal = rig.answer;
        rig.answer = [&](const QString& c) { return c == mute ? QByteArray() : normal(c); };
        for (const QString& entry : channels) {
            const QStringList w = entry.split(QLatin1Char(' '));
            rig.setChannel(30 * (bank - 1) + w[0].toInt(), w[1], w[2], w.contains("D"), w.contains("L"));
        }
        rig.tables.Channels.set(30 * bank - 5, MT::kChMode, QStringLiteral("Normal")); // no channel number: skipped
        rig.dir.BankCmb_Click(bank);
        rig.dir.IDTypeBankBox_Click(selector);
        rig.dialogs.answers.push_back(Button::Yes);
        rig.commands.clear();
        rig.dir.DataSendToScannerCmd_Click();
        QCOMPARE(rig.commands, expected);
        QCOMPARE(rig.dialogs.messages.size(), 2);
        QCOMPARE(rig.dialogs.messages[0].title, QStringLiteral("Confirm Upload"));
        QTEST(rig.dialogs.messages[1].text, "report");
        QVERIFY(rig.mainTimer.isActive());
        QVERIFY(!rig.dir.state().WaitLblVisible && !rig.dir.state().uploading);
    }

    void uploadInterrupted_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("tail");
        QTest::addColumn<bool>("pollRuns");
        QTest::addColumn<QString>("report");
        // Stop: the channel in flight is finished, then the receiver is put back.
        QTest::newRow("stop") << "stop" << QStringList {"PM002 01500000", "KEY07", "KEY00", "MUA", "QUN", "IDN"}
                              << true << "Upload stopped: 2 of 3 channels sent.";
        // Ending: nothing more is awaited; the closing commands go out straight.
        QTest::newRow("program ending") << "shutdown" << QStringList {"PM002 01500000", "KEY00", "MUA", "QUN", "IDN"}
                                        << false << "";
    }
    void uploadInterrupted()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, tail);
        QFETCH(bool, pollRuns);
        QFETCH(QString, report);
        Rig rig;
        for (int c = 1; c <= 3; ++c)
            rig.setChannel(c, QStringLiteral("150.0000"), QStringLiteral("Trunk"));
        rig.dir.BankCmb_Click(1);
        rig.dialogs.answers.push_back(Button::Yes);
        rig.onCommand = [&](const QString& c) {
            if (c == QLatin1String("PM002 01500000"))
                how == QLatin1String("stop") ? rig.dir.StopCmd_Click() : rig.link.shutDown();
        };
        rig.dir.DataSendToScannerCmd_Click();
        QCOMPARE(rig.since(tail.first()), tail);
        QCOMPARE(rig.mainTimer.isActive(), pollRuns);
        QCOMPARE(rig.dialogs.messages.size(), report.isEmpty() ? 1 : 2);
        if (!report.isEmpty())
            QCOMPARE(rig.dialogs.messages.last().text, report);
    }

    void uploadRefusedWhileTheLineIsHeld()
    {
        Rig rig;
        rig.setChannel(1, QStringLiteral("150.0000"), QStringLiteral("Normal"));
        rig.dir.BankCmb_Click(1);
        QVERIFY(rig.link.claim(QStringLiteral("ID list read")));
        rig.commands.clear();
        rig.dir.DataSendToScannerCmd_Click();
        QCOMPARE(rig.commands, QStringList());
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral("The scanner is busy (ID list read)."));
    }

    void frequencyEntry_data()
    {
        QTest::addColumn<int>("channel"); // 2 holds 460.1000, 4 was never filled
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("stored"); // empty: the channel stays never filled
        QTest::addColumn<int>("boxes");
        QTest::newRow("point") << 2 << "154.325" << "154.3250" << QByteArray("01543250") << 0;
        QTest::newRow("comma") << 2 << "154,325" << "154.3250" << QByteArray("01543250") << 0;
        QTest::newRow("100 Hz units") << 2 << "1544300" << "154.4300" << QByteArray("01544300") << 0;
        QTest::newRow("not a number") << 2 << "abc" << "460.1000" << QByteArray("04601000") << 1;
        QTest::newRow("outside the bands") << 2 << "600" << "460.1000" << QByteArray("04601000") << 1;
        QTest::newRow("off the steps") << 2 << "154.4301" << "460.1000" << QByteArray("04601000") << 1;
        QTest::newRow("6.25 kHz, rounded") << 2 << "460.0063" << "460.0063" << QByteArray("04600063") << 0;
        // Would not fit eight digits: refused, the channel keeps its frequency.
        QTest::newRow("out of range") << 2 << "2000.5" << "460.1000" << QByteArray("04601000") << 1;
        QTest::newRow("out of range, never filled") << 4 << "2000.5" << "" << QByteArray() << 1;
    }
    void frequencyEntry()
    {
        QFETCH(int, channel);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QByteArray, stored);
        QFETCH(int, boxes);
        Rig rig;
        rig.setChannel(2, QStringLiteral("460.1000"), QStringLiteral("Normal"));
        rig.stores->StoreChannelRange(2, 2);
        rig.dir.open();
        rig.dir.FreqList_Click(channel, 3);
        rig.dir.FreqBox_Change(typed + QStringLiteral("\r\n"));
        QCOMPARE(rig.tables.Channels.text(channel, MT::kChFrequency), shown);
        QCOMPARE(rig.dir.state().FreqList.at(channel - 1).at(1), shown);
        QCOMPARE(rig.dialogs.messages.size(), boxes);
        if (stored.isEmpty()) {
            QVERIFY(rig.tables.Channels.at(channel, MT::kChCh).isEmpty());
            QVERIFY(rig.reloaded().Channels.at(channel, MT::kChCh).isEmpty());
            return;
        }
        QFile f(rig.stores->bankPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().mid(68 * (channel - 1) + 3, 8), stored);
    }

    void gridToggles_data()
    {
        QTest::addColumn<QString>("mhz");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("DLY toggles") << "154.3250" << 4 << "" << "=";
        // A toggle would set what the zero-frequency rule keeps clear.
        QTest::newRow("DLY of a zero channel stays clear") << "000.0000" << 4 << "" << "";
        QTest::newRow("L/O toggles") << "154.3250" << 5 << "=" << "";
        QTest::newRow("L/O of a zero channel locks") << "000.0000" << 5 << "=" << "=";
        QTest::newRow("Mode toggles") << "154.3250" << 6 << "Normal" << "Trunk";
        QTest::newRow("Mode of a zero channel stays Normal") << "" << 6 << "Normal" << "Normal";
    }
    void gridToggles()
    {
        QFETCH(QString, mhz);
        QFETCH(int, col);
        QFETCH(QString, before);
        QFETCH(QString, after);
        Rig rig;
        rig.setChannel(3, mhz, QStringLiteral("Normal"));
        rig.tables.Channels.set(3, col, before);
        rig.dir.open();
        rig.dir.FreqList_Click(3, col);
        QCOMPARE(rig.tables.Channels.text(3, col), after);
        // A click that changes nothing writes nothing.
        QCOMPARE(rig.reloaded().Channels.text(3, col), before == after ? QString() : after);
        // Headings and the channel column change nothing.
        rig.dir.FreqList_Click(0, col);
        rig.dir.FreqList_Click(3, 0);
        QCOMPARE(rig.tables.Channels.text(3, col), after);
    }

    // Only what the operator changed, or what a read brought, reaches the
    // receiver and the stores: looking at rows and old editors change nothing.
    void untouchedChannelsStayAsTheyWere_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("sent"); // among the upload's lines
        QTest::addColumn<QStringList>("notSent");
        QTest::newRow("never-filled channels after a restart")
            << "restart" << QStringList {"PM001 01543250"} << QStringList {"PM002 00000000", "TR A 0"};
        QTest::newRow("an empty row clicked") << "click" << QStringList {"PM001 01543250"}
                                              << QStringList {"PM002 00000000", "PM003 00000000"};
        QTest::newRow("an editor older than a read")
            << "read" << QStringList {"PM005 01005000"} << QStringList {"PM005 01600000"};
        QTest::newRow("an editor older than the window")
            << "reopen" << QStringList {"PM005 01554750"} << QStringList {"PM005 01600000"};
        QTest::newRow("an editor older than a change made elsewhere")
            << "elsewhere" << QStringList {"PM005 01554750"} << QStringList {"PM005 01600000"};
    }
    void untouchedChannelsStayAsTheyWere()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, sent);
        QFETCH(QStringList, notSent);
        Rig rig;
        FreqDirectory* dir = &rig.dir;
        dir->open();
        if (how == QLatin1String("restart") || how == QLatin1String("click")) {
            rig.edit(1);
            dir->FreqBox_Change(QStringLiteral("154.325\r"));
        } else {
            rig.setChannel(5, QStringLiteral("160.0000"), QStringLiteral("Normal"));
            dir->BankCmb_Click(1);
            dir->FreqList_Click(5, 1);
        }
        // A restart: the tables and the window as the stores give them back.
        memory::LocalStores stores(rig.stores->bankPath(), rig.stores->idBankPath());
        std::unique_ptr<FreqDirectory> restarted;
        if (how == QLatin1String("restart")) {
            rig.tables.clear();
            stores.LoadStores(rig.tables);
            restarted = std::make_unique<FreqDirectory>(FreqDirectory::Parts {rig.link, rig.port, rig.dialogs, rig.tables, stores});
            dir = restarted.get();
            dir->open();
        } else if (how == QLatin1String("click")) {
            dir->FreqList_Click(2, 1);
            dir->FreqList_Click(3, 3);
            dir->NameBox_LostFocus();
        } else if (how == QLatin1String("read")) {
            rig.readBank(1);
            dir->Option2_Click();
        } else if (how == QLatin1String("elsewhere")) {
            const int other = 0;
            rig.tables.Channels.set(5, MT::kChFrequency, QStringLiteral("155.4750"));
            rig.tables.announce(memory::MemoryChange::channels(5, 5, &other));
        } else {
            dir->Form_Unload();
            rig.tables.Channels.set(5, MT::kChFrequency, QStringLiteral("155.4750"));
            dir->open();
        }
        rig.dialogs.answers.push_back(Button::Yes);
        rig.commands.clear();
        dir->DataSendToScannerCmd_Click();
        for (const QString& line : sent)
            QVERIFY2(rig.commands.contains(line), qPrintable(rig.commands.join(QLatin1Char(','))));
        for (const QString& line : notSent)
            QVERIFY2(!rig.commands.contains(line), qPrintable(line));
        const MemoryTables stored = rig.reloaded();
        for (int c : {2, 3, 4})
            QCOMPARE(stored.Channels.at(c, MT::kChCh).isEmpty(), how != QLatin1String("read"));
    }

    // A bank name typed while another window renamed the bank is stored only when the operator says so;
    // a box left alone stores nothing at all.
    void bankNameMeetsANewerName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<Button>>("answers");
        QTest::addColumn<QString>("stored");
        QTest::newRow("box left alone") << QString() << QList<Button> {} << "Theirs";
        QTest::newRow("typed, keep theirs") << "Mine" << QList<Button> {Button::No} << "Theirs";
        QTest::newRow("typed, keep mine") << "Mine" << QList<Button> {Button::Yes} << "Mine";
    }
    void bankNameMeetsANewerName()
    {
        QFETCH(QString, typed);
        QFETCH(QList<Button>, answers);
        Rig rig;
        rig.dir.open();
        if (!typed.isEmpty())
            rig.dir.IDBankNameBox_Change(typed);
        const int other = 0;
        rig.tables.BankNames.set(1, QStringLiteral("Theirs"));
        QVERIFY(rig.stores->StoreBankName(1));
        rig.tables.announce(memory::MemoryChange::bankData(1, &other));
        rig.dialogs.answers.assign(answers.begin(), answers.end());
        rig.dir.IDBankNameBox_LostFocus();
        QVERIFY(rig.dialogs.answers.empty());
        QTEST(rig.reloaded().bankName(1), "stored");
    }

    // A bank's trunk type changes only when the operator picks one; a type the
    // selector does not list is never replaced by what it showed before.
    void trunkTypeChangesOnlyWhenPicked_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("uploads");
        QTest::newRow("listed") << "EDACS" << "6 - EDACS Ericsson/GE" << true;
        QTest::newRow("other case") << "e2-800" << "2 - E2-800 Motorola" << true;
        QTest::newRow("unknown") << "P25" << "" << false;
    }
    void trunkTypeChangesOnlyWhenPicked()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(bool, uploads);
        Rig rig;
        rig.setChannel(31, QStringLiteral("851.0125"), QStringLiteral("Trunk"));
        rig.tables.BankTrunkTypes.set(1, QStringLiteral("E1"));
        rig.tables.BankTrunkTypes.set(2, stored);
        QVERIFY(rig.stores->StoreBankTrunkTypes());
        rig.dir.open();
        rig.dir.BankCmb_Click(2);
        QCOMPARE(rig.dir.state().IDTypeBankBox, shown);
        rig.dir.FreqList_Click(1, 3);
        rig.dir.NameBox_Change(QStringLiteral("Control\r"));
        rig.dir.BankCmb_Click(1);
        rig.dir.BankCmb_Click(2);
        QCOMPARE(rig.tables.BankTrunkTypes.at(2).display(), stored);
        QCOMPARE(rig.reloaded().BankTrunkTypes.at(2).display(), stored);

        rig.dialogs.answers.push_back(Button::Yes);
        rig.commands.clear();
        rig.dir.DataSendToScannerCmd_Click();
        QCOMPARE(rig.commands.contains(QStringLiteral("PM031 08510125")), uploads);
        if (!uploads)
            QVERIFY(rig.dialogs.messages.last().text.contains(QStringLiteral("P25")));
    }

    // The receiver's report for a bank is offered as the bank is shown, and the box shows what was taken.
    void reportedSystemIsOffered()
    {
        testing::ScriptedReceiver rig;
        memory::TrunkSystemOffers offers(rig.tables, *rig.stores, rig.dialogs);
        FreqDirectory dir {{rig.link, rig.port, rig.dialogs, rig.tables, *rig.stores, [&](int bank) { offers.offer(bank); }}};
        offers.reported(2, u"E2-800    ");
        dir.open();
        QVERIFY(rig.dialogs.messages.isEmpty());
        rig.dialogs.answers = {Button::Yes};
        dir.BankCmb_Click(2);
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(dir.state().IDTypeBankBox, QStringLiteral("2 - E2-800 Motorola"));
    }

    // The texts the operator reads: the wait label through a read and an upload, the boxes, the help.
    void operatorTexts()
    {
        Rig rig;
        rig.setChannel(31, QStringLiteral("154.4300"), QStringLiteral("Normal"));
        QStringList shown;
        connect(&rig.dir, &FreqDirectory::changed, [&] {
            if (rig.dir.state().WaitLblVisible && !shown.contains(rig.dir.state().WaitLbl))
                shown << rig.dir.state().WaitLbl;
        });
        QString helpTitle, help;
        connect(&rig.dir, &FreqDirectory::helpWanted, [&](const QString& t, const QString& x) { helpTitle = t, help = x; });
        rig.dir.open();
        rig.readBank(2);
        rig.dialogs.answers.push_back(Button::Yes);
        rig.dir.DataSendToScannerCmd_Click();
        QCOMPARE(shown, (QStringList {"Please wait a moment ...", "Please wait a moment...16%", "Please wait a moment...33%",
                                      "Please wait a moment...50%", "Please wait a moment...66%", "Please wait a moment...83%",
                                      "Please wait a moment...100%", "Uploading to scanner.."}));
        const auto& confirm = rig.dialogs.messages.first();
        QVERIFY(confirm.text.startsWith(QStringLiteral("You are about to upload data to your scanner.  Existing data in the "
                                                       "selected bank will be overwritten!")));
        QVERIFY(confirm.text.endsWith(QStringLiteral("\r\n\r\nContinue?")));
        rig.dir.FreqLbl_Click();
        QCOMPARE(rig.dialogs.messages.last().title, QStringLiteral("How enter frequency"));
        QCOMPARE(rig.dialogs.messages.last().text, QStringLiteral("That is really important that you put\ryour separation "
                                                                  "code correctly,\rlike period(.) or comma(,)\rwhen you "
                                                                  "enter a frequency."));
        rig.dir.HelpCmd_Click();
        QCOMPARE(helpTitle, QStringLiteral("Frequency Programming"));
        QVERIFY(help.contains(QStringLiteral("First, under the box \"Data Receive from\", choose the Scanner radio button.")));
    }

    void editsAreStoredAtOnce()
    {
        Rig rig;
        rig.setChannel(33, QStringLiteral("154.3250"), QStringLiteral("Normal"));
        rig.dir.open();
        rig.dir.BankCmb_Click(2);
        rig.dir.FreqList_Click(3, 3);
        rig.dir.NameBox_Change(QStringLiteral("Fire dispatch\r\n"));
        rig.dir.IDBankNameBox_Change(QStringLiteral("County"));
        rig.dir.IDBankNameBox_LostFocus();
        rig.dir.IDTypeBankBox_Click(QStringLiteral("6 - EDACS Ericsson/GE"));
        // A channel of another bank typed into the editor is kept too.
        rig.edit(7);
        rig.dir.FreqBox_Change(QStringLiteral("155.1\r"));
        MemoryTables stored = rig.reloaded();
        QCOMPARE(stored.Channels.text(33, MT::kChName), QStringLiteral("Fire dispatch"));
        QCOMPARE(stored.Channels.text(7, MT::kChFrequency), QStringLiteral("155.1000"));
        QCOMPARE(stored.BankNames.at(2).display(), QStringLiteral("County"));
        QCOMPARE(stored.BankTrunkTypes.at(2).display(), QStringLiteral("EDACS"));

        rig.edit(33);
        rig.dir.DeleteImg_Click();
        stored = rig.reloaded();
        QCOMPARE(stored.Channels.text(33, MT::kChFrequency), QStringLiteral("000.0000"));
        QCOMPARE(stored.Channels.text(33, MT::kChName), QString());
        QCOMPARE(stored.Channels.text(33, MT::kChLO), QStringLiteral("="));
        QCOMPARE(stored.Channels.text(33, MT::kChMode), QStringLiteral("Normal"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestFreqDirectory)

} // namespace
} // namespace tst_freqdirectory

#include "tst_freqdirectory.moc"
