#include "app/MemoryBinder.h"
#include "app/ui/MainWindow.h"
#include "AppFixture.h"
#include "memory/ui/Banks.h"
#include "memory/ui/FreqDir.h"
#include "memory/ui/IDdir.h"
#include "memory/ui/Transfer.h"
#include "TestSuite.h"
#include "utilities/ui/FrmHelp.h"
#include "utilities/ui/TGConvert.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace tst_memorybinder {
namespace {

using namespace vexlor;
using Button = platform::Dialogs::Button;

// The Memories menu in the whole program, and how a transfer in flight ends
// when the program does.
class TestMemoryBinder : public QObject, protected testing::AppFixture {
    Q_OBJECT
    std::unique_ptr<app::Application> start()
    {
        auto a = makeApp();
        a->runStart = [](app::StartSetup&) { return app::StartOutcome::ClosedByFrame; };
        // A receiver that says "OK" to everything and reads channel c as a C line.
        m_port.onWrite = [this](const QByteArray& bytes) {
            for (const QByteArray& line : bytes.split('\r')) {
                if (line.startsWith("PM") && line.size() == 5)
                    m_port.feed("C" + line.mid(2) + " F01543250 TF DF LF AF RF N000\r");
                else if (line == "SB")
                    m_port.feed("SB AB\r");
                else if (!line.isEmpty())
                    m_port.feed(line.startsWith("SB ") ? line + '\r' : QByteArray("OK\r"));
                if (onLine && !line.isEmpty())
                    onLine(line);
            }
        };
        return a;
    }
    std::function<void(const QByteArray&)> onLine;

private Q_SLOTS:
    void init()
    {
        QVERIFY(enterScratchDir());
        m_port.close();
        m_port.clearWritten();
        onLine = nullptr;
    }
    void cleanup()
    {
        m_port.onWrite = nullptr;
        leaveScratchDir();
    }

    void menuOpensTheWindows()
    {
        m_app = start();
        QVERIFY(m_app->startUp());
        app::MainWindow& w = m_app->window();
        m_app->decoder().PriorityChannels[1] = 7;
        for (const char* name : {"EditMemories", "EditIDdir", "TGConvertMnu", "EditBanks"}) {
            QAction* a = w.action(QLatin1String(name));
            QVERIFY(a && a->isEnabled());
            a->trigger();
        }
        app::MemoryBinder& b = m_app->memoryBinder();
        QVERIFY(b.freqWindow() && b.freqWindow()->isVisible());
        QCOMPARE(b.freqDirectory().SelectedBank(), 1);
        QVERIFY(b.idWindow() && b.idWindow()->isVisible());
        QVERIFY(b.converterWindow() && b.converterWindow()->isVisible());
        QVERIFY(b.banksWindow() && b.banksWindow()->isVisible());
        QCOMPARE(b.bankEditor().state().PCH, QStringLiteral("Priority Channel: 007"));
        // The converter's table is written when it is missing.
        QVERIFY(QFile::exists(QStringLiteral("tghex2afs.dat")));
        // Reopened, the converter starts afresh on "Hex".
        b.converter().decChk_Click();
        b.converter().decBox_Change(QStringLiteral("283\n"));
        w.action(QStringLiteral("TGConvertMnu"))->trigger();
        QVERIFY(b.converter().hexChk());
        QCOMPARE(b.converter().decBox(), QString());

        // Help is modal, with the directory's caption.
        QTimer::singleShot(0, [&b] {
            QCOMPARE(b.helpWindow()->windowTitle(), QStringLiteral("Frequency Programming"));
            QVERIFY(b.helpWindow()->isModal());
            b.helpWindow()->close();
        });
        b.freqDirectory().HelpCmd_Click();

        // The backup runs with its window up, writes its file and hides the window again.
        for (const char* name : {"ImportTaggedTextFile", "ExportTaggedTextFile"})
            QVERIFY(w.action(QLatin1String(name))->isEnabled());
        bool shownWhileRunning = false;
        connect(&b.transfer(), &memory::TaggedTextTransfer::changed, this, [&] {
            shownWhileRunning |= b.transferWindow() && b.transferWindow()->isVisible();
        });
        w.action(QStringLiteral("BackupScannerMnu"))->trigger();
        QVERIFY(shownWhileRunning);
        QVERIFY(!b.transferWindow()->isVisible());
        QCOMPARE(QDir(QStringLiteral("backups")).entryList(QDir::Files).size(), 1);
        QVERIFY(m_dialogs.messages.last().text.startsWith(QLatin1String("The scanner's memories are backed up to")));
    }

    // An import shows at once in every window that is open.
    void openWindowsFollowAnImport()
    {
        m_app = start();
        QVERIFY(m_app->startUp());
        app::MemoryBinder& b = m_app->memoryBinder();
        b.EditMemories_Click();
        b.freqDirectory().BankCmb_Click(1);
        b.freqDirectory().FreqList_Click(1, 1);
        b.EditIDdir_Click();
        b.idDirectory().BankCmb_Click(1);
        b.idDirectory().IDBankCmb_Click(1);
        b.idDirectory().IDList_Click(1, 1);
        b.EditBanks_Click();
        b.bankEditor().SSTab1_Click(1);
        QFile file(QStringLiteral("in.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Bank]=01 | [BankName]=Imported Bank\r\n[Chan]=001 | [Freq]=151.0000 | [Name]=Imported Ch\r\n"
                   "[IDBank]=01 | [IDScanList]=1-1 | [ID]=000123 | [IDName]=Imported ID\r\n");
        file.close();
        m_dialogs.fileAnswers.push_back(file.fileName());
        m_dialogs.answers = {Button::No}; // no upload
        b.ImportTaggedTextFile_Click();
        const memory::FreqDirState& f = b.freqDirectory().state();
        QVERIFY(f.FreqList.value(0).contains(QStringLiteral("Imported Ch")));
        QCOMPARE(f.NameBox, QStringLiteral("Imported Ch"));
        QCOMPARE(f.IDBankNameBox, QStringLiteral("Imported Bank"));
        const memory::IDDirState& i = b.idDirectory().state();
        QVERIFY(i.IDList.value(0).contains(QStringLiteral("Imported ID")));
        QCOMPARE(i.NameBox, QStringLiteral("Imported ID"));
        QCOMPARE(b.bankEditor().ChannelGrid().cell(1, 3), QStringLiteral("Imported Ch"));
        QCOMPARE(b.bankEditor().state().BankNameBox, QStringLiteral("Imported Bank"));
        QCOMPARE(b.bankEditor().IDGrid().cell(1, 3), QStringLiteral("Imported ID"));
    }

    // Banks opens whole on the screen, and where it was left in the last run.
    void banksOpensWhereItWasLeft()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QRect left;
        for (int run = 0; run < 2; ++run) {
            m_app = start();
            QVERIFY(m_app->startUp());
            m_app->memoryBinder().EditBanks_Click();
            QWidget* banks = m_app->memoryBinder().banksWindow();
            QVERIFY(screen.contains(banks->geometry()));
            if (run == 0) {
                banks->setGeometry(QRect(screen.topLeft() + QPoint(37, 41), QSize(500, 400)));
                left = banks->geometry();
            } else {
                QCOMPARE(banks->geometry(), left);
            }
            m_app->shutDown(false);
            m_app.reset();
        }
        QFile ini(QStringLiteral("qorvanix.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains(QStringLiteral("Banks:%1,%2,500,400").arg(left.x()).arg(left.y()).toLatin1()));
    }

    // Closing the main window asks about the Banks window's unsaved edits first.
    void closingAsksAboutUnsavedBankEdits_data()
    {
        QTest::addColumn<Button>("answer");
        QTest::addColumn<bool>("ends");
        QTest::newRow("Cancel keeps the program") << Button::Cancel << false;
        QTest::newRow("Discard ends it") << Button::No << true;
    }
    void closingAsksAboutUnsavedBankEdits()
    {
        QFETCH(Button, answer);
        QFETCH(bool, ends);
        m_app = start();
        QVERIFY(m_app->startUp());
        app::MemoryBinder& b = m_app->memoryBinder();
        b.EditBanks_Click();
        b.bankEditor().SSTab1_Click(1);
        b.bankEditor().beginEdit(1, 3);
        b.bankEditor().endEdit(QStringLiteral("Unsaved"));
        m_dialogs.messages.clear();
        m_dialogs.answers = {answer, Button::No};
        m_app->window().close();
        QCOMPARE(m_dialogs.messages.first().text, QStringLiteral("Bank 1 has changes that are not saved."));
        QCOMPARE(m_app->isShutDown(), ends);
        QCOMPARE(b.banksWindow()->isVisible(), !ends);
    }

    void programEndsDuringATransfer_data()
    {
        QTest::addColumn<QString>("transfer");
        QTest::addColumn<bool>("ask");
        QTest::addColumn<QList<QByteArray>>("tail"); // the last lines written, in order
        QTest::newRow("read, SIGTERM") << "read" << false << QList<QByteArray> {"PM006", "QUN"};
        QTest::newRow("upload, Exit with remote off")
            << "upload" << true << QList<QByteArray> {"PM002 01500000", "KEY00", "MUA", "QUN", "IDN", "KEY04H"};
        QTest::newRow("import upload, SIGTERM")
            << "import" << false << QList<QByteArray> {"PM002 01500000", "KEY00", "MUA", "QUN", "IDN"};
    }
    void programEndsDuringATransfer()
    {
        QFETCH(QString, transfer);
        QFETCH(bool, ask);
        QFETCH(QList<QByteArray>, tail);
        m_app = start();
        QVERIFY(m_app->startUp());
        memory::FreqDirectory& dir = m_app->memoryBinder().freqDirectory();
        m_app->memoryBinder().EditMemories_Click();
        for (int c = 1; c <= 3; ++c) {
            m_app->tables().Channels.set(c, 0, c);
            m_app->tables().Channels.set(c, 1, QStringLiteral("150.0000"));
            m_app->tables().Channels.set(c, 6, QStringLiteral("Trunk"));
        }
        const QByteArray last = tail.first();
        onLine = [&](const QByteArray& line) {
            if (line == last)
                ask ? m_app->shutDown(true) : m_app->terminate();
        };
        const int boxesBefore = int(m_dialogs.messages.size());
        m_dialogs.answers.push_back(Button::Yes); // the upload's question, or remote off
        m_dialogs.answers.push_back(Button::Yes);
        m_port.clearWritten();
        if (transfer == QLatin1String("read")) {
            dir.Option1_Click();
            dir.BankCmb_Click(1);
            dir.reader().ChTimer_Timer();
            dir.reader().ChTimer_Timer();
        } else if (transfer == QLatin1String("import")) {
            QFile file(QStringLiteral("in.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Chan]=1 | [Freq]=150.0\r\n[Chan]=2 | [Freq]=150.0\r\n[Chan]=3 | [Freq]=150.0\r\n");
            file.close();
            m_dialogs.fileAnswers.push_back(file.fileName());
            m_app->memoryBinder().ImportTaggedTextFile_Click();
        } else {
            dir.DataSendToScannerCmd_Click();
        }
        QVERIFY(m_app->isShutDown());
        QList<QByteArray> lines = m_port.written.split('\r');
        lines.removeLast();
        QCOMPARE(lines.mid(lines.size() - tail.size()), tail);
        QVERIFY(!m_app->poll().MainTimer().isActive());
        QVERIFY(!m_port.isOpen());
        // Only the upload's question and remote off: nothing shows after shut-down.
        QCOMPARE(int(m_dialogs.messages.size()) - boxesBefore, int(transfer != QLatin1String("read")) + int(ask));
        QTest::qWait(400); // a read tick or a restart would show here
        QVERIFY(!m_app->poll().MainTimer().isActive());
        QVERIFY(!dir.reader().ChTimer().isActive());
    }
};

VEXLOR_TEST_MAIN(TestMemoryBinder)

} // namespace
} // namespace tst_memorybinder

#include "tst_memorybinder.moc"
