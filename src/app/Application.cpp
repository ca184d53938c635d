#include "app/Application.h"

#include "app/CompactBinder.h"
#include "app/ControlsBinder.h"
#include "app/HelpBinder.h"
#include "app/MemoryBinder.h"
#include "app/PrintBinder.h"
#include "app/RemoteBinder.h"
#include "app/StatsBinder.h"
#include "app/WebBinder.h"
#include "app/RecordingBinder.h"
#include "app/Version.h"
#include "app/ui/MainDisplayView.h"
#include "app/ui/MainWindow.h"
#include "app/ui/Start.h"
#include "link/Commands.h"
#include "link/Wire.h"
#include "monitor/StatusRefresh.h"
#include "recording/ui/Log.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/SerialPort.h"

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QCoreApplication>

#include <cstdio>

namespace vexlor::app {

using platform::Dialogs;

namespace {
QString portErrorHint(const QString& reason)
{
    QString text = reason;
    if (reason.contains(QLatin1String("Permission denied"), Qt::CaseInsensitive))
        text += QStringLiteral("\nAdd your user to the dialout group (sudo usermod -aG dialout $USER) and log in again.");
    return text;
}
} // namespace

Application::Application(const Platform& platform, const CommandLine& options, QObject* parent)
    : QObject(parent),
      m_platform(platform),
      m_options(options),
      m_log(m_logFlags, platform.clock),
      m_link(platform.port, platform.clock),
      m_meas(platform.clock),
      m_decoder({m_display, m_compact, m_lockouts, m_tables, m_log, m_meas, m_link, platform.clock}),
      m_poll(platform.port, m_link, m_decoder, m_display),
      m_logSetup(m_logFlags,
                 {[this] { return m_ini.LogFileNameVal(); },
                  [this](const QString& name) { m_ini.setLogFileNameVal(name); }, [this] { saveConfig(); }},
                 platform.clock, platform.shell,
                 [this] { return m_log.isOpen() ? m_log.fileName() : QString(); })
{
    m_link.setPollTimer(&m_poll.MainTimer());
    connect(&m_link, &link::ScannerLink::offlineShown, this, &Application::showOffline);
    runStart = [this](StartSetup& setup) {
        Start dialog(setup, m_platform.serialDevices ? m_platform.serialDevices() : QStringList(),
                     m_window.get());
        return dialog.run();
    };
    exitProgram = [] { QCoreApplication::exit(0); };
    m_window = std::make_unique<MainWindow>();
    m_placer = std::make_unique<WindowPlacer>(*m_window, m_places);
    m_view = std::make_unique<MainDisplayView>(*m_window, m_display);
    bindWindow();
    m_compactBinder = std::make_unique<CompactBinder>(*this);
    m_controlsBinder = std::make_unique<ControlsBinder>(*this);
    m_remoteBinder = std::make_unique<RemoteBinder>(*this);
    m_memoryBinder = std::make_unique<MemoryBinder>(*this);
    m_helpBinder = std::make_unique<HelpBinder>(*this);
    m_printBinder = std::make_unique<PrintBinder>(*this);
    m_statsBinder = std::make_unique<StatsBinder>(*this);
    m_webBinder = std::make_unique<WebBinder>(*this);
    m_recordingBinder = std::make_unique<RecordingBinder>(*this);
}

Application::~Application() = default;

bool Application::startUp()
{
    m_window->setWindowTitle(mainCaption());
    m_link.setQuietedScanner(false);
    m_link.setSerialPortTimeout(3);

    if (!m_ini.LoadINI())
        m_platform.dialogs.message({QStringLiteral(".INI File Not Found, Default settings are used")});
    if (finished())
        return false; // a signal ended the run while the box was open

    m_places.load(m_ini.WindowPlaces());
    m_platform.port.setPortName(m_options.port.isEmpty() ? m_ini.ComPort() : m_options.port);
    m_platform.port.setSettings(m_ini.ComSettings());
    m_logFlags = recording::LogFlags::fromLogWhat(m_ini.LogWhat());
    m_autoListen = link::wire::leadingNumber(m_ini.AutoListenTCP()) == 1;
    if (QAction* a = m_window->action(QStringLiteral("AutoListenOnTCP")))
        a->setChecked(m_autoListen);
    if (QAction* a = m_window->action(QStringLiteral("LogOnOFF")))
        a->setChecked(m_logFlags.LogEnableVal == 1);
    m_link.setSerialPortTimeout(link::wire::leadingNumber(m_ini.SerialPortTimeout()));

    if (recording::ActivityLog::isAutomaticName(m_ini.LogFileNameVal()))
        m_ini.setLogFileNameVal(recording::ActivityLog::automaticName(m_platform.clock.localDateTime()));
    m_log.open(m_ini.LogFileNameVal());

    m_stores.LoadStores(m_tables);

    if (!m_platform.port.open()) {
        Dialogs::Message m {QStringLiteral("Comm port Error!")};
        m.informative = portErrorHint(m_platform.port.errorString());
        m_platform.dialogs.message(m);
        if (finished())
            return false;
        if (showStart() == StartOutcome::EndNow) {
            m_ended = true;
            return false;
        }
        if (finished())
            return false;
    }

    m_poll.MainTimer().start();
    // A web remote that cannot listen says why on standard error; the program goes on.
    m_webBinder->startIfWanted();
    // So does recording that cannot start.
    m_recordingBinder->startIfWanted();
    monitor::ResetAllStatus(m_link);
    m_window->show();
    return true;
}

void Application::shutDown(bool ask)
{
    if (m_shutDown || m_ended)
        return;
    m_shutDown = true;
    m_webBinder->stop();
    m_recordingBinder->stop();
    // A transfer in flight gives the receiver back first, with straight
    // writes, and every wait ends; remote off must come after that.
    m_link.shutDown();
    if (ask) {
        Dialogs::Message m {QStringLiteral("Do you want to REMOTE OFF your BC245xlt ?"), QStringLiteral("Question"),
                            Dialogs::Buttons::YesNo};
        if (m_platform.dialogs.message(m) == Dialogs::Button::Yes)
            m_link.Write(link::cmd::keyHeld(4));
    }
    m_poll.MainTimer().stop();
    releaseReceiver();
    if (m_platform.port.isOpen())
        m_platform.port.close();
    m_log.close();

    m_ini.setAutoListenTCP(m_autoListen ? QStringLiteral("1") : QStringLiteral("0"));
    // A run ended by a signal has nobody to press OK.
    saveConfig(ask);
    exitProgram();
}

void Application::releaseReceiver()
{
    // What a dropped line kept from the receiver is not dropped at exit.
    const QStringList owed = m_link.owedCommands();
    if (owed.isEmpty())
        return;
    std::fprintf(stderr, "vexlor: the serial line is down: waiting up to %d s for it to return, to release the scanner\n",
                 m_options.lineWaitSeconds);
    if (!m_link.sendOwed(m_options.lineWaitSeconds * 1000))
        std::fprintf(stderr, "vexlor: the scanner never got %s: it may still be quieted. Switch it off and on.\n",
                     qPrintable(owed.join(QStringLiteral(", "))));
}

void Application::refreshConfig()
{
    if (!portIsForThisRun())
        m_ini.setComPort(m_platform.port.portName());
    m_ini.setComSettings(m_platform.port.settings());
    m_ini.setLogWhat(m_logFlags.toLogWhat());
    m_placer->rememberShown();
    m_ini.setWindowPlaces(m_places.text());
}

void Application::saveConfig(bool tell)
{
    refreshConfig();
    if (m_ini.SaveINI())
        return;
    std::fprintf(stderr, "vexlor: the configuration could not be saved: %s\n", qPrintable(m_ini.lastError()));
    if (!tell)
        return;
    Dialogs::Message m {QStringLiteral("The configuration could not be saved."), {}, Dialogs::Buttons::Ok,
                        Dialogs::Icon::Warning};
    m.informative = m_ini.lastError();
    m_platform.dialogs.message(m);
}

void Application::showLogWindow()
{
    if (!m_logWindow) {
        m_logWindow = std::make_unique<recording::Log>(m_logSetup, m_window.get());
        connect(m_logWindow.get(), &recording::Log::logOnOFFChecked, this, [this](bool on) {
            if (QAction* a = m_window->action(QStringLiteral("LogOnOFF")))
                a->setChecked(on);
        });
    }
    m_logWindow->showSetup();
}

void Application::terminate()
{
    shutDown(false);
    if (m_ended)
        exitProgram();
}

void Application::RemoteControlOff() { m_link.Write(link::cmd::keyHeld(4)); }

void Application::Config()
{
    if (showStart() == StartOutcome::EndNow)
        endNow();
}

bool Application::portIsForThisRun() const { return !m_options.port.isEmpty() || m_options.simulate; }

StartOutcome Application::showStart()
{
    StartSetup setup(m_ini, m_platform.port, m_platform.dialogs,
                     {[this] { return m_link.SerialPortTimeout(); }, [this] { return m_logFlags; },
                      portIsForThisRun()});
    return runStart(setup);
}

void Application::endNow()
{
    // Saved by the set-up window: no question, nothing sent, no second save.
    m_ended = true;
    m_link.shutDown();
    m_poll.MainTimer().stop();
    exitProgram();
}

void Application::showOffline()
{
    m_display.s.ModeLbl = link::ScannerLink::kOfflineText;
    m_display.publish();
}

void Application::bindWindow()
{
    MainWindow& w = *m_window;
    w.setCloseGuard([this] { return m_memoryBinder->mayClose(); });
    connect(&w, &MainWindow::closing, this, [this] { shutDown(true); });
    if (QAction* a = w.action(QStringLiteral("RemoteControlOff")))
        connect(a, &QAction::triggered, this, &Application::RemoteControlOff);
    if (QAction* a = w.action(QStringLiteral("Config")))
        connect(a, &QAction::triggered, this, &Application::Config);
    if (QAction* a = w.action(QStringLiteral("ResetAllStatusMnu"))) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [this] { monitor::ResetAllStatus(m_link); });
    }
    if (QAction* a = w.action(QStringLiteral("LogOnOFF"))) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [this, a] { a->setChecked(m_logSetup.LogOnOFF()); });
    }
    if (QAction* a = w.action(QStringLiteral("SetupLog"))) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &Application::showLogWindow);
    }
    if (QAction* a = w.action(QStringLiteral("LogFunction_OpenLogMnu"))) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [this] { m_logSetup.openLog(); });
    }
    if (auto* status = w.control<QCheckBox>(QStringLiteral("StatusChk"))) {
        m_poll.StatusChk = status->isChecked();
        connect(status, &QCheckBox::toggled, this, [this](bool on) { m_poll.StatusChk = on; });
    }
    // The console's Rx box shows the raw lines of the last batch, from either reader.
    if (auto* rx = w.control<QPlainTextEdit>(QStringLiteral("temp"))) {
        connect(&m_link, &link::ScannerLink::rawLinesShown, rx, &QPlainTextEdit::setPlainText);
        connect(&m_poll, &monitor::PollCycle::rawLinesShown, rx, &QPlainTextEdit::setPlainText);
    }
}

} // namespace vexlor::app

#include "moc_Application.cpp"
