#include "memory/TaggedText.h"
#include "memory/TaggedTextTransfer.h"
#include "ScriptedReceiver.h"
#include "TestSuite.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

namespace tst_taggedtexttransfer {
namespace {

using namespace vexlor;
using memory::MemoryTables;
using memory::TaggedTextTransfer;
using MT = MemoryTables;
using Button = platform::Dialogs::Button;

namespace {

// The menus' import, export and upload over a scripted receiver.
struct Rig : testing::ScriptedReceiver {
    TaggedTextTransfer transfer {{link, port, dialogs, tables, *stores}};

    Rig() { link.setSerialPortTimeout(3); }

    QString file(const QByteArray& text)
    {
        static int n = 0;
        const QString path = dir.filePath(QStringLiteral("in%1.txt").arg(++n));
        QFile f(path);
        // Ended, as a file that was not cut: the import skips a last line without its end.
        if (f.open(QIODevice::WriteOnly))
            f.write(text.endsWith('\n') ? text : text + "\r\n");
        return path;
    }
    void import(const QByteArray& text, Button answer)
    {
        dialogs.fileAnswers.push_back(file(text));
        dialogs.answers.push_back(answer);
        commands.clear();
        transfer.ImportTaggedTextFile();
    }
};

// Normal channel 2 comes first in the file, trunk channel 31 after it; bank 1 has no type.
const QByteArray kMixed = "[Chan]=2 | [Freq]=154.43 | [Delay]=Y | [Lock]=Y\r\n"
                          "[Chan]=31 | [Freq]=851.0125 | [Lock]=Y | [Mode]=Trunk\r\n"
                          "[Bank]=1 | [BankName]=County\r\n"
                          "[IDBank]=10 | [IDScanList]=10-10 | [ID]=001234\r\n";

QString channelShown(const MemoryTables& t, int c)
{
    QString s = t.Channels.text(c, MT::kChFrequency);
    if (t.Channels.text(c, MT::kChDLY) == QLatin1String("="))
        s += QStringLiteral(" D");
    return s;
}

} // namespace

class TestTaggedTextTransfer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void uploadSendsThePassesInOrder()
    {
        Rig rig;
        QSignalSpy refresh(&rig.transfer, &TaggedTextTransfer::statusRefreshWanted);
        rig.import(kMixed, Button::Yes);
        const QStringList expected {
            // Pass A: bank 1 without a type is conventional.
            "MA001", "MUN", "QUF", "IDF", "TR A 0",
            // Pass B: trunk channels, into trunk programming of their bank.
            "MA031", "KEY13H", "KEY02 2", "KEY04", "PM031 08510125", "KEY06", "KEY07", "KEY13",
            // Pass C: normal channels.
            "MA001", "PM002 01544300", "LON", "KEY12", "KEY07", "KEY13",
            // Pass D: IDs; list 10 position 10 is "J0".
            "MA001", "TG J J0 001234", "KEY13",
            "KEY00", "MUA", "QUN", "IDN"};
        QCOMPARE(rig.commands, expected);
        QCOMPARE(rig.dialogs.messages.last().text,
                 QStringLiteral("The Tagged Text File is imported\r\nand uploaded to your scanner."));
        QCOMPARE(refresh.count(), 1);
        QCOMPARE(memory::tagged::markCount(rig.tables), 0);
        QVERIFY(!rig.link.QuietedScanner());
        QVERIFY(rig.mainTimer.isActive());
    }

    // What the upload sends is what is stored, or nothing: never a bank as
    // another type, never a talkgroup as zeros.
    void uploadSendsWhatIsStoredOrNothing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QStringList>("notSent");
        QTest::addColumn<int>("skipped");
        QTest::newRow("type in lower case")
            << QByteArray("[Bank]=2 | [BankType]=e2-800\r\n[Chan]=31 | [Freq]=851.0125 | [Mode]=Trunk")
            << QStringList {"TR B 2", "PM031 08510125"} << QStringList {"TR B 0"} << 0;
        QTest::newRow("unknown type: bank and trunk channels kept back")
            << QByteArray("[Bank]=2 | [BankType]=P25\r\n[Chan]=31 | [Freq]=851.0125 | [Mode]=Trunk")
            << QStringList {} << QStringList {"TR B 0", "PM031 08510125"} << 2;
        QTest::newRow("seven digits: the six stored")
            << QByteArray("[IDBank]=2 | [IDScanList]=1-1 | [ID]=1234567") << QStringList {"TG B A1 123456"}
            << QStringList {"TG B A1 000000"} << 0;
        QTest::newRow("not a number: not sent")
            << QByteArray("[IDBank]=2 | [IDScanList]=1-1 | [ID]=12ab") << QStringList {}
            << QStringList {"TG B A1 000000"} << 1;
        QTest::newRow("cleared: cleared") << QByteArray("[IDBank]=2 | [IDScanList]=1-1 | [ID]=------")
                                          << QStringList {"TG B A1 000000"} << QStringList {} << 0;
        QTest::newRow("refused frequency: no keys for it")
            << QByteArray("[Chan]=2 | [Freq]=162.5500 | [Delay]=Y | [Lock]=Y") << QStringList {"PM002 01625500"}
            << QStringList {"LON", "KEY12", "KEY07"} << 0;
    }
    void uploadSendsWhatIsStoredOrNothing()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, sent);
        QFETCH(QStringList, notSent);
        QFETCH(int, skipped);
        Rig rig;
        // The scanner refuses 162.55 MHz here, as it would a frequency it cannot take.
        rig.answer = [](const QString& c) { return QByteArray(c.endsWith(QLatin1String(" 01625500")) ? "NG" : "OK"); };
        rig.import(text, Button::Yes);
        for (const QString& line : sent)
            QVERIFY2(rig.commands.contains(line), qPrintable(rig.commands.join(QLatin1Char(','))));
        for (const QString& line : notSent)
            QVERIFY2(!rig.commands.contains(line), qPrintable(line));
        const QString said = rig.dialogs.messages.last().text;
        QCOMPARE(said.contains(QStringLiteral("but for %1 of").arg(skipped)), skipped > 0);
        QCOMPARE(memory::tagged::markCount(rig.tables), 0);
    }

    void importStoresEverythingItRead()
    {
        Rig rig;
        rig.import(kMixed, Button::No);
        const platform::Dialogs::Message& q = rig.dialogs.messages.first();
        QCOMPARE(q.text, QStringLiteral("The Tagged Text File is imported.\r\nSend changes to scanner?"));
        QCOMPARE(q.title, QStringLiteral("Confirm Upload To Scanner?"));
        QCOMPARE(rig.commands, QStringList());
        QCOMPARE(memory::tagged::markCount(rig.tables), 0);
        // What a restart loads is what was imported, bank names included.
        const MemoryTables again = rig.reloaded();
        QCOMPARE(again.bankName(1), QStringLiteral("County"));
        QCOMPARE(again.Channels.text(31, MT::kChFrequency), QStringLiteral("851.0125"));
        QCOMPARE(again.IDs.text(10, 100, MT::kIdId), QStringLiteral("001234"));
        QCOMPARE(again.IDs.text(10, 100, MT::kIdReserved), QString());

        // Declined marks are never sent by a later upload.
        rig.import("[Chan]=5 | [Freq]=155.0", Button::Yes);
        QCOMPARE(rig.commands.filter(QStringLiteral("PM")), QStringList {"PM005 01550000"});
        QVERIFY(!rig.commands.contains("TR A 0"));
    }

    void dialogsAndFailures_data()
    {
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<QString>("answer"); // "" cancels; "-" a file that cannot be opened
        QTest::addColumn<QString>("expected");
        QTest::newRow("export cancelled") << true << "" << "Tagged Text File Export Cancelled...";
        QTest::newRow("export open fails") << true << "-" << "Tagged Text File Export Failed: File Open (2)";
        QTest::newRow("import cancelled") << false << "" << "Frequency File Import Cancelled...";
        QTest::newRow("import open fails") << false << "-" << "Frequency File Import Failed: File Open (2)";
    }
    void dialogsAndFailures()
    {
        QFETCH(bool, exporting);
        QFETCH(QString, answer);
        Rig rig;
        const QString cwd = QDir::currentPath();
        // The dialog wanders off; the working directory must come back.
        rig.dialogs.onFile = [&](const platform::Dialogs::FileRequest&) { QDir::setCurrent(rig.dir.path()); };
        rig.dialogs.fileAnswers.push_back(answer.isEmpty() ? std::optional<QString>()
                                                           : rig.dir.filePath(QStringLiteral("no/such/x.txt")));
        QFETCH(QString, expected);
        exporting ? rig.transfer.ExportTaggedTextFile() : rig.transfer.ImportTaggedTextFile();
        QCOMPARE(QDir::currentPath(), cwd);
        QCOMPARE(rig.dialogs.texts(), QStringList {expected});
        const platform::Dialogs::FileRequest& r = rig.dialogs.fileRequests.first();
        QCOMPARE(r.filter, QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"));
        QCOMPARE(r.filterIndex, 2);
        QCOMPARE(r.newName, exporting);
        QCOMPARE(rig.tables, MemoryTables());
    }

    // Refused or empty, the menu's work stops before any file or the receiver changes.
    void exportSaysWhatItLeftOut()
    {
        Rig rig;
        rig.tables.IDs.set(3, 1, MT::kIdCh, QStringLiteral("1-1"));
        rig.tables.IDs.set(3, 1, MT::kIdId, QStringLiteral("001234"));
        rig.tables.Channels.set(61, MT::kChFrequency, QStringLiteral("851.0125"));
        const QString out = rig.dir.filePath(QStringLiteral("out.txt"));
        rig.dialogs.fileAnswers.push_back(out);
        rig.transfer.ExportTaggedTextFile();
        QCOMPARE(rig.dialogs.texts(), QStringList {"Tagged Text File Exported, Without Some IDs"});
        QVERIFY(rig.dialogs.messages.first().informative.startsWith(QStringLiteral("Bank 3: 1 ID(s) not exported")));
        QVERIFY(QFileInfo(out).size() > 0);
    }

    void refusedWorkChangesNothing_data()
    {
        QTest::addColumn<QString>("work");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("said");
        QTest::newRow("export onto a FIFO") << "export" << "fifo" << "Tagged Text File Export Refused";
        QTest::newRow("export onto the store") << "export" << "bank.dat" << "Tagged Text File Export Refused";
        QTest::newRow("import of an empty file") << "import" << "empty.txt" << "Frequency File Import Failed: Nothing To Import";
        QTest::newRow("backup with its folder taken")
            << "backup" << "backups" << "Backup Failed: " + QStringLiteral("%1/backups is not a folder.");
    }
    void refusedWorkChangesNothing()
    {
        QFETCH(QString, work);
        QFETCH(QString, file);
        QFETCH(QString, said);
        Rig rig;
        QCOMPARE(::mkfifo(QFile::encodeName(rig.dir.filePath("fifo")).constData(), 0600), 0);
        for (const char* name : {"empty.txt", "backups"})
            QVERIFY(QFile(rig.dir.filePath(name)).open(QIODevice::WriteOnly));
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(rig.dir.path());
        const auto back = qScopeGuard([&] { QDir::setCurrent(cwd); });
        const auto listing = [&] {
            QStringList l;
            for (const QFileInfo& f : QDir(rig.dir.path()).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
                l << f.fileName() + (f.isFile() ? QString::number(f.size()) + f.lastModified().toString(Qt::ISODateWithMs) : QString());
            return l;
        };
        const QStringList before = listing();
        rig.dialogs.fileAnswers.push_back(rig.dir.filePath(file));
        rig.commands.clear();
        if (work == QLatin1String("export"))
            rig.transfer.ExportTaggedTextFile();
        else if (work == QLatin1String("import"))
            rig.transfer.ImportTaggedTextFile();
        else
            rig.transfer.BackupScanner();
        QCOMPARE(rig.dialogs.texts(), QStringList {said.contains(QLatin1String("%1")) ? said.arg(rig.dir.path()) : said});
        QCOMPARE(listing(), before);
        QCOMPARE(rig.commands, QStringList());
    }

    void interruptedUploadKeepsWhatWasNotSent_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("line drops") << "line";
        QTest::newRow("program ends") << "exit";
        QTest::newRow("operator stops") << "stop";
    }
    void interruptedUploadKeepsWhatWasNotSent()
    {
        QFETCH(QString, how);
        Rig rig;
        rig.onCommand = [&](const QString& c) {
            if (c != QLatin1String("PM002 01544300"))
                return;
            if (how == QLatin1String("line"))
                rig.port.setDsr(false);
            else if (how == QLatin1String("exit"))
                rig.link.shutDown();
            else
                rig.transfer.stop();
        };
        rig.import("[Chan]=1 | [Freq]=151.0\r\n[Chan]=2 | [Freq]=154.43\r\n[Chan]=3 | [Freq]=155.0\r\n", Button::Yes);
        const QString after = rig.commands.mid(rig.commands.indexOf("PM002 01544300") + 1).join(QLatin1Char(' '));
        QVERIFY(!rig.commands.contains("PM003 01550000"));
        QCOMPARE(rig.tables.Channels.text(1, MT::kChMap), QString());
        QCOMPARE(rig.tables.Channels.text(3, MT::kChMap), QStringLiteral("X"));
        QVERIFY(!rig.link.QuietedScanner());
        if (how == QLatin1String("stop")) {
            // The channel in flight is finished, then the receiver is put back and released.
            QCOMPARE(after, QStringLiteral("KEY07 KEY00 MUA QUN IDN"));
            QCOMPARE(rig.tables.Channels.text(2, MT::kChMap), QString());
            QVERIFY(rig.mainTimer.isActive());
            QCOMPARE(rig.dialogs.messages.last().text, QStringLiteral("Upload stopped: 2 of 3 items sent."));
        } else if (how == QLatin1String("exit")) {
            QCOMPARE(after, QStringLiteral("KEY00 MUA QUN IDN"));
            QCOMPARE(rig.tables.Channels.text(2, MT::kChMap), QStringLiteral("X"));
            QCOMPARE(rig.dialogs.messages.size(), 1); // nothing after the question
        } else {
            QCOMPARE(after, QString());
            QCOMPARE(rig.tables.Channels.text(2, MT::kChMap), QStringLiteral("X"));
            QVERIFY(rig.mainTimer.isActive());
        }
    }

    void backupAsksAgain_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("complete");
        QTest::newRow("NG once") << "ng" << true;
        QTest::newRow("query lost once") << "lost" << true;
        QTest::newRow("never answered") << "dead" << false;
        QTest::newRow("old replies arrive for 8 s") << "stale" << true;
    }
    void backupAsksAgain()
    {
        QFETCH(QString, fault);
        QFETCH(bool, complete);
        Rig rig;
        QHash<QString, int> asked;
        // A slow line still carrying replies to the poll: queries sent meanwhile are lost.
        const qint64 busyUntil = rig.clock.monotonicMs() + (fault == QLatin1String("stale") ? 8000 : 0);
        QTimer oldReplies;
        QObject::connect(&oldReplies, &QTimer::timeout, [&] {
            if (rig.clock.monotonicMs() < busyUntil)
                rig.port.feed("WI 01541300\r");
        });
        oldReplies.start(1);
        rig.answer = [&](const QString& c) -> QByteArray {
            if (!c.startsWith(QLatin1String("PM")))
                return "OK";
            if (rig.clock.monotonicMs() < busyUntil)
                return "";
            if (c == QLatin1String("PM017") && (++asked[c] == 1 || fault == QLatin1String("dead")))
                return fault == QLatin1String("ng") ? "NG" : "";
            return "C" + c.mid(2).toLatin1() + " F01540000 TF DN LF AF RF N000";
        };
        auto out = std::make_unique<MemoryTables>();
        const auto outcome = rig.transfer.backup().run(rig.tables, *out);
        QCOMPARE(outcome == memory::ReceiverBackup::Outcome::Complete, complete);
        if (complete) {
            for (int c = 1; c <= MT::kChannels; ++c)
                QCOMPARE(channelShown(*out, c), QStringLiteral("154.0000 D"));
        } else {
            QCOMPARE(rig.transfer.backup().failure(), QStringLiteral("The scanner did not answer for channel 17."));
        }
        QCOMPARE(rig.commands.count(fault == QLatin1String("stale") ? "PM001" : "PM017"), fault == QLatin1String("dead") ? 3 : 2);
        QCOMPARE(rig.tables, MemoryTables());
        QVERIFY(!rig.link.QuietedScanner());
        QVERIFY(rig.mainTimer.isActive());
    }

    void aSecondTransferIsRefused()
    {
        Rig rig;
        QVERIFY(rig.link.claim(QStringLiteral("bank read")));
        rig.transfer.BackupScanner();
        QCOMPARE(rig.commands, QStringList());
        QCOMPARE(rig.dialogs.texts(), QStringList {"The scanner is busy (bank read)."});
        rig.link.unclaim(QStringLiteral("bank read"));

        // An import while an upload runs would change the tables it reads.
        rig.onCommand = [&](const QString& c) {
            if (c == QLatin1String("PM001 01510000"))
                rig.transfer.ImportTaggedTextFile();
        };
        rig.import("[Chan]=1 | [Freq]=151.0", Button::Yes);
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QVERIFY(rig.dialogs.texts().contains("The scanner is busy (tagged text upload)."));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestTaggedTextTransfer)

} // namespace
} // namespace tst_taggedtexttransfer

#include "tst_taggedtexttransfer.moc"
