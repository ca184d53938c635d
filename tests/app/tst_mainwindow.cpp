#include "app/config/WindowMetrics.h"
#include "app/ui/CenterTuningScale.h"
#include "app/ui/FieldLabel.h"
#include "app/ui/LampLabel.h"
#include "app/ui/MainWindow.h"
#include "monitor/ModeTable.h"
#include "TestSuite.h"

#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWindow>

namespace tst_mainwindow {
namespace {

using namespace vexlor::app;

namespace {

// The caption a control shows, whatever its kind.
QString captionOf(QObject* o)
{
    if (auto* l = qobject_cast<QLabel*>(o))
        return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    return {};
}

// A menu's entries in order: item names, "-" for a separator.
QStringList entries(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return out;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    MainWindow* m_window = nullptr;

private Q_SLOTS:
    void init()
    {
        m_window = new MainWindow;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("visible");
        auto row = [](const char* name, const char* kind, const char* caption, bool visible) {
            QTest::newRow(name) << QString::fromLatin1(name) << QByteArray(kind) << QString::fromLatin1(caption) << visible;
        };
        row("main", "QMainWindow", "", true);
        row("Frame2", "QGroupBox", "Status", true);
        row("Frame3", "QGroupBox", "Trunking", true);
        row("Frame4", "QGroupBox", "Direct Seeking", true);
        row("Frame1", "QGroupBox", "Searching", true);
        row("CenterTuningFrame", "QGroupBox", "Center Tuning", true);
        for (const char* n : {"ModeLbl", "FrequencyBox", "ChLbl", "NameLbl", "TypeLbl", "IDbox", "IDNameLbl",
                              "IDTypeLbl", "TrunkingNameLbl", "TrunkingTypeLbl", "SystemLbl", "FreqBankLbl", "IDchLbl"})
            row(n, "QLabel", "", true);
        row("PriLbl", "QLabel", "P", false);
        row("SQopen", "QLabel", "", false);
        row("IDListen", "QLabel", "", false);
        for (const char* n : {"DirectFrequencyBox", "ChannelBox", "IDChannelBox", "IDChannelBoxII"})
            row(n, "QPlainTextEdit", "", true);
        row("LLbox", "QLineEdit", "", true);
        row("LUbox", "QLineEdit", "", true);
        row("ApplyLimit", "QPushButton", "Upload it", true);
        row("keypadcmd", "QToolButton", "", true);
        for (const char* n : {"Button_0", "Button_1", "Button_2", "Button_3", "Button_4", "Button_5", "Button_6"})
            row(n, "QToolButton", "", true);
        row("LightOn", "QToolButton", "", false);
        row("LightAuto", "QToolButton", "", false);
        row("LightOff", "QToolButton", "", true);
        row("TcpstatusBox", "QLineEdit", "", true);
        row("ChatCmd", "QPushButton", "CHAT", true);
        row("TCPConnectionCmd", "QToolButton", "", true);
        row("TCPConnectOnCmd", "QToolButton", "", false);
        // The console starts hidden.
        row("CmdToBeSendBox", "QPlainTextEdit", "", false);
        row("SndCmd", "QPushButton", "Send to Scanner", false);
        row("TxData", "QListWidget", "", false);
        row("Clear", "QPushButton", "Clear Data", false);
        row("testcmd", "QPushButton", "Test", false);
        row("temp", "QPlainTextEdit", "", false);
        row("StatusChk", "QCheckBox", "Status", false);
        row("TempLogTextBox", "QPlainTextEdit", "", false);
        row("PagCommPortlbl", "QLabel", "", false);
        row("IDChLblMain", "QLabel", "", false);
        row("IPriLbl", "QLabel", "", false);
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, kind);
        QFETCH(bool, visible);
        QWidget* w = name == QLatin1String("main") ? m_window : m_window->control(name);
        QVERIFY2(w, qPrintable(name));
        QVERIFY2(w->inherits(kind.constData()), w->metaObject()->className());
        QCOMPARE(m_window->findChildren<QWidget*>(name).size(), name == QLatin1String("main") ? 0 : 1);
        QTEST(captionOf(w), "caption");
        QCOMPARE(w->isVisible(), visible);
    }

    void fixedCaptions()
    {
        QStringList shown;
        for (QLabel* l : m_window->findChildren<QLabel*>())
            shown << l->text();
        for (const char* c : {"Mode", "Freq", "System", "Freq Bank", "ID Bank", "Limits ", "Lower", "Upper",
                              "Frequency", "Freq Ch", "ID Ch", "Command to send to the scanner :", "Tx Data", "Rx Data"})
            QVERIFY2(shown.contains(QString::fromLatin1(c)), c);
        QVERIFY(m_window->control<QCheckBox>("StatusChk")->isChecked());
    }

    void pictures()
    {
        QStringList names = {"keypadcmd", "LightOn", "LightAuto", "LightOff", "TCPConnectionCmd", "TCPConnectOnCmd"};
        for (int i = 0; i < 7; ++i) {
            names << QStringLiteral("Button_%1").arg(i);
            QCOMPARE(m_window->keyButton(i), m_window->control<QToolButton>(names.last()));
        }
        for (const QString& n : names) {
            auto* b = m_window->control<QToolButton>(n);
            QVERIFY2(!b->icon().isNull(), qPrintable(n));
            QVERIFY2(!b->toolTip().isEmpty(), qPrintable(n));
        }
        for (const char* n : {"SQopen", "IDListen"})
            QVERIFY(!m_window->control<QLabel>(n)->pixmap().isNull());
    }

    void fonts()
    {
        const QFont mode = m_window->control<QLabel>("ModeLbl")->font();
        QVERIFY(mode.bold());
        QCOMPARE(mode.pointSize(), 12);
        for (const char* n : {"FrequencyBox", "IDbox"}) {
            const QFont f = m_window->control<QLabel>(n)->font();
            QCOMPARE(QFontInfo(f).family(), QStringLiteral("DSEG7 Classic"));
            QVERIFY(f.bold());
            QCOMPARE(f.pointSizeF(), 15.75);
        }
    }

    // The readouts and names grow with the window, and shrink back with it.
    void readoutsGrowWithTheWindow_data()
    {
        QTest::addColumn<double>("by");
        QTest::addColumn<double>("scale");
        QTest::newRow("designed size") << 1.0 << 1.0;
        QTest::newRow("half as large again") << 1.5 << 1.5;
        QTest::newRow("twice as large") << 2.0 << 2.0;
        QTest::newRow("beyond four times") << 5.0 << 4.0;
    }
    void readoutsGrowWithTheWindow()
    {
        QFETCH(double, by);
        QFETCH(double, scale);
        auto* name = m_window->control<QLabel>("NameLbl");
        const double nameBase = name->font().pointSizeF();
        const QSize designed = mainWindowSize(false, m_window->logicalDpiX(), m_window->logicalDpiY())
                                   .expandedTo(QSize(m_window->minimumWidth(), 0));
        m_window->resize(QSize(int(designed.width() * by) + 2, designed.height()));
        QTRY_COMPARE(m_window->control<QLabel>("FrequencyBox")->font().pointSizeF(), 15.75 * scale);
        QCOMPARE(name->font().pointSizeF(), nameBase * scale);
        QCOMPARE(m_window->control<QLabel>("ModeLbl")->font().pointSizeF(), 12 * scale);
        m_window->resize(designed);
        QTRY_COMPARE(name->font().pointSizeF(), nameBase);
    }

    void lampSets_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("first");
        QTest::addColumn<QStringList>("captions");
        QStringList numbers;
        for (int i = 1; i <= 10; ++i)
            numbers << QString::number(i);
        QTest::newRow("BankLbl") << "BankLbl" << 1 << numbers;
        QTest::newRow("IDlbl") << "IDlbl" << 1 << numbers;
        QTest::newRow("buttonlbl") << "buttonlbl" << 0 << QStringList {"DATA", "ATT", "PRI", "DLY", "L/O"};
    }
    void lampSets()
    {
        QFETCH(QString, prefix);
        QFETCH(int, first);
        QFETCH(QStringList, captions);
        for (int i = 0; i < captions.size(); ++i) {
            const int index = first + i;
            auto* lamp = m_window->control<LampLabel>(QStringLiteral("%1_%2").arg(prefix).arg(index));
            QVERIFY(lamp);
            QCOMPARE(lamp->text(), captions[i]);
            LampLabel* byIndex = prefix == QLatin1String("BankLbl") ? m_window->bankLamp(index)
                : prefix == QLatin1String("IDlbl")                  ? m_window->idLamp(index)
                                                                    : m_window->functionLamp(index);
            QCOMPARE(byIndex, lamp);
            QCOMPARE(lamp->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        }
        QVERIFY(!m_window->control(QStringLiteral("%1_%2").arg(prefix).arg(first + captions.size())));
        QVERIFY(m_window->idLamp(0));
        QVERIFY(!m_window->bankLamp(0));
        QVERIFY(!m_window->functionLamp(5));
    }

    void lampColourAndClick()
    {
        LampLabel* lamp = m_window->bankLamp(3);
        lamp->setLit(true);
        QVERIFY(lamp->isLit());
        QCOMPARE(lamp->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        lamp->setLit(false);
        QCOMPARE(lamp->palette().color(QPalette::WindowText), QColor(0, 0, 0));

        QSignalSpy clicks(lamp, &LampLabel::clicked);
        QTest::mouseClick(lamp, Qt::LeftButton);
        QCOMPARE(clicks.size(), 1);
        QTest::mouseClick(lamp, Qt::RightButton);
        QCOMPARE(clicks.size(), 1);
        // Pressed on the lamp, released elsewhere: no click.
        QTest::mousePress(lamp, Qt::LeftButton);
        QTest::mouseRelease(lamp, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(clicks.size(), 1);
    }

    void menuActions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("checkable");
        QTest::addColumn<bool>("enabled");
        auto row = [](const char* name, const char* caption, const char* keys = "", bool checkable = false, bool enabled = false) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption) << QString::fromLatin1(keys)
                                << checkable << enabled;
        };
        row("SeeCode", "See &Data  Computer <=> Bc245", "", true, true);
        row("ResetAllStatusMnu", "Reset S&tatus");
        row("Config", "&Setup", "", false, true);
        row("RemoteControlOff", "Put &Remote Control Off (Scanner)", "", false, true);
        row("Upgrade", "&Upgrade (need internet access)");
        row("Exit", "E&xit", "", false, true);
        row("SmartViewMode", "Smart &View Mode", "F8");
        row("PopUpSmartViewMode", "&PopUp Smart View Mode", "F9");
        row("Scan", "&Scan", "Ctrl+S");
        row("Manual", "&Manual", "Ctrl+M");
        row("Trunk", "&Trunk", "Ctrl+T");
        row("Search", "Sea&rch", "Ctrl+R");
        row("ServiceSearch", "Ser&vice Search", "Ctrl+V");
        row("EditIDdir", "Edit &ID Directory", "F7");
        row("EditMemories", "&Edit Frequencies Directory", "F6");
        row("EditBanks", "Banks");
        row("ImportTaggedTextFile", "I&mport Tagged Text File", "Ctrl+F3");
        row("ExportTaggedTextFile", "E&xport Tagged Text File", "Ctrl+F2");
        row("BackupScannerMnu", "&Back Up Scanner...");
        row("IDLockOutMnu", "See ID Lock/Out");
        row("FreqLockOutMnu", "See Frequencies Lock/Out");
        row("PrintListsMnu", "&Print Lists");
        row("VirtualKeypadmnu", "Show Virtual &Keypad", "F5");
        row("TGConvertMnu", "Talkgroup Conversion");
        row("AutoListenOnTCP", "&Auto Listen", "", true);
        row("ListenTCPmnu", "&Listen");
        row("CloseTCPmnu", "&Close");
        row("LogOnOFF", "&Log Enable", "", true);
        row("SetupLog", "&Setup General Log");
        row("StatisticsLog", "Setup S&tatistics Log");
        row("LogFunction_OpenLogMnu", "&Open Log With 'Notepad'", "Ctrl+Z");
        row("LightPermanent", "&Permanent", "", true);
        row("LightAutomaticMnu", "&Automatic", "", true);
        row("LightOffMnu", "&Off", "", true);
        row("CenterTuningOnOff", "&Center Tuning", "Ctrl+C", true);
        row("Statistics", "Statistics");
        row("MonitorMode", "Monitoring &Discriminator", "", true);
        row("Mute", "&Mute", "", true);
        row("HelpTypes", "&Type: Definitions");
        row("HelpCenterTuningMnu", "&Center Tuning");
        row("TcpConnectionHelpMnu", "TC&P Connection");
        row("URLkelto", "&Kelto Web Page");
        row("URLmailingListPost", "&Post a Public Message");
        row("URLmailingListGeneralInformations", "General &Informations");
        row("URLmailingListSubscribe", "&Subscribe");
        row("URLmailingListUnsubscribe", "&UnSubscribe");
        row("HelpICQmnu", "Help on the Qorvanix ICQ Active List");
        row("URLmailKelto", "&Mail Kelto", "F1");
        row("Aboutit", "  &About  ");
    }
    void menuActions()
    {
        QFETCH(QString, name);
        QFETCH(QString, keys);
        QAction* a = m_window->action(name);
        QVERIFY(a);
        QCOMPARE(m_window->findChildren<QAction*>(name).size(), 1);
        QTEST(a->text(), "caption");
        QCOMPARE(a->shortcut(), QKeySequence(keys));
        QTEST(a->isCheckable(), "checkable");
        QTEST(a->isEnabled(), "enabled");
        QVERIFY(!a->isChecked());
    }

    void menuStructure()
    {
        const QList<QAction*> top = m_window->menuBar()->actions();
        QStringList captions;
        for (QAction* a : top)
            captions << a->text();
        QCOMPARE(captions, (QStringList {"  &File  ", "  Mo&de  ", "  M&emories  ", "  &Options  ", "  &Help  ", "  &About  "}));
        QVERIFY(!top.last()->menu());

        QCOMPARE(entries(top[0]->menu()), (QStringList {"SeeCode", "ResetAllStatusMnu", "-", "Config", "RemoteControlOff", "Upgrade", "-", "Exit"}));
        QCOMPARE(entries(top[1]->menu()), (QStringList {"SmartViewMode", "PopUpSmartViewMode", "-", "Scan", "Manual", "Trunk", "Search", "ServiceSearch"}));
        QCOMPARE(entries(top[2]->menu()), (QStringList {"EditIDdir", "EditMemories", "EditBanks", "ImportTaggedTextFile", "ExportTaggedTextFile",
                                                       "BackupScannerMnu", "IDLockOutMnu", "FreqLockOutMnu", "RecordingsMnu", "-", "PrintListsMnu"}));
        QCOMPARE(entries(top[3]->menu()), (QStringList {"VirtualKeypadmnu", "-", "TGConvertMnu", "TCPremote", "WebRemoteMnu", "RecordingSetupMnu", "LogFontion", "LightMnu",
                                                       "CenterTuningOnOff", "Statistics", "-", "MonitorMode", "Mute"}));
        QCOMPARE(entries(top[4]->menu()), (QStringList {"HelpTypes", "HelpCenterTuningMnu", "TcpConnectionHelpMnu", "-", "URLkelto",
                                                       "URLmailingList", "HelpICQmnu", "URLmailKelto"}));

        struct Sub {
            const char* name;
            const char* caption;
            QStringList items;
        };
        const Sub subs[] = {
            {"TCPremote", "TCP / Remote", {"AutoListenOnTCP", "ListenTCPmnu", "CloseTCPmnu"}},
            {"LogFontion", "&Log Function", {"LogOnOFF", "SetupLog", "StatisticsLog", "-", "LogFunction_OpenLogMnu"}},
            {"LightMnu", "L&ight", {"LightPermanent", "LightAutomaticMnu", "LightOffMnu"}},
            {"URLmailingList", "&Qorvanix mailing list", {"URLmailingListPost", "URLmailingListGeneralInformations", "URLmailingListSubscribe", "URLmailingListUnsubscribe"}},
        };
        for (const Sub& s : subs) {
            QAction* a = m_window->action(QString::fromLatin1(s.name));
            QVERIFY2(a && a->menu(), s.name);
            QCOMPARE(a->text(), QString::fromLatin1(s.caption));
            QCOMPARE(entries(a->menu()), s.items);
        }
    }

    void receiverMirroredChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Mute") << "Mute";
        QTest::newRow("MonitorMode") << "MonitorMode";
        QTest::newRow("LightPermanent") << "LightPermanent";
        QTest::newRow("LightAutomaticMnu") << "LightAutomaticMnu";
        QTest::newRow("LightOffMnu") << "LightOffMnu";
    }
    void receiverMirroredChecks()
    {
        QFETCH(QString, name);
        QAction* a = m_window->action(name);
        a->setEnabled(true);
        QList<bool> seen;
        connect(a, &QAction::triggered, this, [&] { seen << a->isChecked(); });
        a->trigger();
        a->trigger();
        QCOMPARE(seen, (QList<bool> {false, false}));
        QVERIFY(!a->isChecked());
        a->setChecked(true); // as the decoded answer sets it
        a->trigger();
        QCOMPARE(seen.last(), true);
        QVERIFY(a->isChecked());
    }

    void ownChecksToggle()
    {
        for (const char* n : {"AutoListenOnTCP", "LogOnOFF", "CenterTuningOnOff"}) {
            QAction* a = m_window->action(QString::fromLatin1(n));
            a->setEnabled(true);
            a->trigger();
            QVERIFY2(a->isChecked(), n);
        }
    }

    void windowMetrics_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<QSize>("hidden");
        QTest::newRow("96 dpi") << 96.0 << QSize(499, 547) << QSize(499, 408);
        QTest::newRow("120 dpi") << 120.0 << QSize(624, 684) << QSize(624, 510);
        QTest::newRow("144 dpi") << 144.0 << QSize(749, 821) << QSize(749, 612);
        QTest::newRow("no dpi falls back to 96") << 0.0 << QSize(499, 547) << QSize(499, 408);
    }
    void windowMetrics()
    {
        QFETCH(double, dpi);
        QTEST(mainWindowSize(true, dpi, dpi), "shown");
        QTEST(mainWindowSize(false, dpi, dpi), "hidden");
    }

    void seeCodeTogglesConsole()
    {
        const double dx = m_window->logicalDpiX();
        const double dy = m_window->logicalDpiY();
        QAction* see = m_window->action("SeeCode");
        QWidget* console = m_window->control("CmdToBeSendBox");
        QVERIFY(!see->isChecked());
        QVERIFY(!m_window->isConsoleShown());
        QCOMPARE(m_window->size(), mainWindowSize(false, dx, dy));

        see->trigger();
        QVERIFY(see->isChecked());
        QVERIFY(console->isVisible());
        QVERIFY(m_window->control("temp")->isVisible());
        QCOMPARE(m_window->size(), mainWindowSize(true, dx, dy));

        see->trigger();
        QVERIFY(!see->isChecked());
        QVERIFY(!console->isVisible());
        QCOMPARE(m_window->size(), mainWindowSize(false, dx, dy));

        m_window->setConsoleShown(true);
        QVERIFY(see->isChecked());
        QCOMPARE(m_window->size(), mainWindowSize(true, dx, dy));
    }

    void exitClosesOnceThroughHook()
    {
        QSignalSpy closing(m_window, &MainWindow::closing);
        m_window->action("Exit")->trigger();
        QCOMPARE(closing.size(), 1);
        QVERIFY(!m_window->isVisible());
        m_window->show();
        m_window->close();
        QCOMPARE(closing.size(), 1);
    }

    void centreTuning()
    {
        CenterTuningScale* t = m_window->centerTuning();
        QCOMPARE(t, m_window->control<CenterTuningScale>("CenterTuningFrame"));
        QCOMPARE(t->pointerX(), 2000.0);
        QVERIFY(t->isPointerVisible());
        t->setPointerX(750);
        QCOMPARE(t->pointerX(), 750.0);
        t->setPointerVisible(false);
        QVERIFY(!t->isPointerVisible());

        // The scale's ends and centre lie inside the frame, in order, on one line.
        const QPointF left = t->toWidget(750, 410);
        const QPointF centre = t->toWidget(2000, 410);
        const QPointF right = t->toWidget(3250, 410);
        QVERIFY(t->rect().contains(left.toPoint()));
        QVERIFY(t->rect().contains(right.toPoint()));
        QVERIFY(left.x() < centre.x() && centre.x() < right.x());
        QCOMPARE(qRound(centre.x() - left.x()), qRound(right.x() - centre.x()));
        QVERIFY(t->toWidget(2000, 240).y() < t->toWidget(2000, 580).y());
        QVERIFY(t->toWidget(2000, 240).y() >= 0);
        QVERIFY(t->toWidget(2000, 580).y() <= t->height());

        // A double-click is the menu item's command, and does nothing while it is disabled.
        QAction* toggle = m_window->action("CenterTuningOnOff");
        QTest::mouseDClick(t, Qt::LeftButton);
        QVERIFY(!toggle->isChecked());
        toggle->setEnabled(true);
        QSignalSpy triggered(toggle, &QAction::triggered);
        QTest::mouseDClick(t, Qt::LeftButton);
        QCOMPARE(triggered.size(), 1);
        QVERIFY(toggle->isChecked());
    }

    void searchingFrameClick()
    {
        auto* frame = m_window->control<ClickableFrame>("Frame1");
        QVERIFY(frame);
        QSignalSpy clicked(frame, &ClickableFrame::clicked);
        QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(3, frame->height() - 3));
        QCOMPARE(clicked.size(), 1);
    }

    // The unlabelled fields name themselves: a tip, and a placeholder drawn while empty.
    void unlabelledFieldsNamed_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* n : {"TypeLbl", "NameLbl", "IDNameLbl", "IDTypeLbl", "IDlbl_0", "TrunkingNameLbl",
                              "TrunkingTypeLbl"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void unlabelledFieldsNamed()
    {
        QFETCH(QString, name);
        auto* f = m_window->control<FieldLabel>(name);
        QVERIFY(f);
        QVERIFY(!f->toolTip().isEmpty());
        const QString placeholder = f->placeholderText();
        QVERIFY(!placeholder.isEmpty());
        const QImage shown = f->grab().toImage();
        f->setPlaceholderText(QString());
        QVERIFY(f->grab().toImage() != shown);
        f->setPlaceholderText(placeholder);
        f->setText(QStringLiteral("x"));
        f->setText(QString());
        QCOMPARE(f->grab().toImage(), shown);
    }

    // Asked for less than its minimum, the window stays readable: no readout overlaps
    // another, the longest mode caption and every placeholder show whole. Grown, the
    // readouts keep their proportions.
    void readableAtAnySize_data()
    {
        QTest::addColumn<QSize>("requested");
        QTest::newRow("smaller than the minimum") << QSize(350, 300);
        QTest::newRow("much larger") << QSize(1100, 700);
    }
    void readableAtAnySize()
    {
        QFETCH(QSize, requested);
        auto widthRatio = [this] {
            return double(m_window->control("FrequencyBox")->width()) / m_window->control("TypeLbl")->width();
        };
        const double atConfiguredSize = widthRatio();
        // Straight to the platform window, as a bare X server without a window manager does.
        m_window->windowHandle()->resize(requested);
        // Settled: the readouts' scale, then the least size it gives, then the window's size.
        const auto settled = [&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            return m_window->size() == requested.expandedTo(m_window->minimumSize());
        };
        QVERIFY(QTest::qWaitFor(settled));
        QTest::qWait(10);
        QVERIFY(QTest::qWaitFor(settled));

        QList<QWidget*> readouts;
        for (const char* n : {"ModeLbl", "FrequencyBox", "ChLbl", "TypeLbl", "NameLbl", "IDbox", "IDNameLbl",
                              "IDTypeLbl", "SystemLbl", "FreqBankLbl", "IDchLbl", "IDlbl_0", "TrunkingNameLbl",
                              "TrunkingTypeLbl", "LLbox", "LUbox"})
            readouts << m_window->control(QLatin1String(n));
        auto area = [this](QWidget* w) { return QRect(w->mapTo(m_window, QPoint(0, 0)), w->size()); };
        for (qsizetype i = 0; i < readouts.size(); ++i) {
            for (qsizetype j = i + 1; j < readouts.size(); ++j)
                QVERIFY2(!area(readouts[i]).intersects(area(readouts[j])),
                         qPrintable(readouts[i]->objectName() + " " + readouts[j]->objectName()));
        }
        auto* mode = m_window->control<QLabel>("ModeLbl");
        for (int code = 0; code < 22; ++code) {
            if (const auto caption = vexlor::monitor::modeCaption(code))
                QVERIFY2(mode->fontMetrics().horizontalAdvance(*caption) <= mode->contentsRect().width(),
                         qPrintable(*caption));
        }
        for (FieldLabel* f : m_window->findChildren<FieldLabel*>()) {
            if (!f->placeholderText().isEmpty())
                QVERIFY2(f->fontMetrics().horizontalAdvance(f->placeholderText()) < f->contentsRect().width() - 4,
                         qPrintable(f->objectName()));
        }
        QVERIFY2(qAbs(widthRatio() / atConfiguredSize - 1) < 0.15, qPrintable(QString::number(widthRatio())));
    }

    void fitsItsWidth()
    {
        // Nothing forces the window wider than its configured width.
        const QSize size = mainWindowSize(false, m_window->logicalDpiX(), m_window->logicalDpiY());
        QVERIFY(m_window->minimumSizeHint().width() <= size.width());
        QVERIFY(m_window->minimumSizeHint().height() <= size.height());
    }
};

VEXLOR_TEST_MAIN(TestMainWindow)

} // namespace
} // namespace tst_mainwindow

#include "tst_mainwindow.moc"
