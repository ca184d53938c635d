#include "app/ui/MainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

namespace vexlor::app {

namespace {

enum Flag {
    None = 0,
    Checkable = 1,
    Mirror = 2 | Checkable, // check mark set by the display only
    Working = 4,            // enabled from the start
};

class Builder {
public:
    explicit Builder(QMenu* menu)
        : m_menu(menu)
    {
    }

    QAction* item(const char* name, const char* caption, const char* keys = nullptr, int flags = None)
    {
        QAction* a = m_menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        if (keys)
            a->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        a->setCheckable(flags & Checkable);
        a->setEnabled(flags & Working);
        if ((flags & Mirror) == Mirror) {
            // Connected before anyone else, so later handlers see the mark unchanged.
            QObject::connect(a, &QAction::triggered, a, [a](bool checked) {
                const QSignalBlocker block(a);
                a->setChecked(!checked);
            });
        }
        return a;
    }

    Builder sub(const char* name, const char* caption)
    {
        QMenu* m = m_menu->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return Builder(m);
    }

    void separator() { m_menu->addSeparator(); }

private:
    QMenu* m_menu;
};

Builder top(QMenuBar* bar, const char* name, const char* caption)
{
    QMenu* m = bar->addMenu(QString::fromLatin1(caption));
    m->setObjectName(QString::fromLatin1(name));
    return Builder(m);
}

} // namespace

void buildMainMenu(QMenuBar* bar)
{
    Builder file = top(bar, "FileMenu", "  &File  ");
    file.item("SeeCode", "See &Data  Computer <=> Bc245", nullptr, Checkable | Working);
    file.item("ResetAllStatusMnu", "Reset S&tatus");
    file.separator();
    file.item("Config", "&Setup", nullptr, Working);
    file.item("RemoteControlOff", "Put &Remote Control Off (Scanner)", nullptr, Working);
    // Kept for its place in the menu; there is nothing to upgrade from.
    file.item("Upgrade", "&Upgrade (need internet access)");
    file.separator();
    file.item("Exit", "E&xit", nullptr, Working);

    Builder mode = top(bar, "ModeMenu", "  Mo&de  ");
    mode.item("SmartViewMode", "Smart &View Mode", "F8");
    mode.item("PopUpSmartViewMode", "&PopUp Smart View Mode", "F9");
    mode.separator();
    mode.item("Scan", "&Scan", "Ctrl+S");
    mode.item("Manual", "&Manual", "Ctrl+M");
    mode.item("Trunk", "&Trunk", "Ctrl+T");
    mode.item("Search", "Sea&rch", "Ctrl+R");
    mode.item("ServiceSearch", "Ser&vice Search", "Ctrl+V");

    Builder memories = top(bar, "MemoriesMenu", "  M&emories  ");
    memories.item("EditIDdir", "Edit &ID Directory", "F7");
    memories.item("EditMemories", "&Edit Frequencies Directory", "F6");
    memories.item("EditBanks", "Banks");
    memories.item("ImportTaggedTextFile", "I&mport Tagged Text File", "Ctrl+F3");
    memories.item("ExportTaggedTextFile", "E&xport Tagged Text File", "Ctrl+F2");
    memories.item("BackupScannerMnu", "&Back Up Scanner...");
    memories.item("IDLockOutMnu", "See ID Lock/Out");
    memories.item("FreqLockOutMnu", "See Frequencies Lock/Out");
    memories.item("RecordingsMnu", "&Recordings");
    memories.separator();
    memories.item("PrintListsMnu", "&Print Lists");

    Builder options = top(bar, "OptionsMenu", "  &Options  ");
    options.item("VirtualKeypadmnu", "Show Virtual &Keypad", "F5");
    options.separator();
    options.item("TGConvertMnu", "Talkgroup Conversion");
    Builder tcp = options.sub("TCPremote", "TCP / Remote");
    tcp.item("AutoListenOnTCP", "&Auto Listen", nullptr, Checkable);
    tcp.item("ListenTCPmnu", "&Listen");
    tcp.item("CloseTCPmnu", "&Close");
    options.item("WebRemoteMnu", "&Web Remote...");
    options.item("RecordingSetupMnu", "&Recordings...");
    Builder log = options.sub("LogFontion", "&Log Function");
    log.item("LogOnOFF", "&Log Enable", nullptr, Checkable);
    log.item("SetupLog", "&Setup General Log");
    log.item("StatisticsLog", "Setup S&tatistics Log");
    log.separator();
    log.item("LogFunction_OpenLogMnu", "&Open Log With 'Notepad'", "Ctrl+Z");
    Builder light = options.sub("LightMnu", "L&ight");
    light.item("LightPermanent", "&Permanent", nullptr, Mirror);
    light.item("LightAutomaticMnu", "&Automatic", nullptr, Mirror);
    light.item("LightOffMnu", "&Off", nullptr, Mirror);
    options.item("CenterTuningOnOff", "&Center Tuning", "Ctrl+C", Checkable);
    options.item("Statistics", "Statistics");
    options.separator();
    options.item("MonitorMode", "Monitoring &Discriminator", nullptr, Mirror);
    options.item("Mute", "&Mute", nullptr, Mirror);

    Builder help = top(bar, "HelpMenu", "  &Help  ");
    help.item("HelpTypes", "&Type: Definitions");
    help.item("HelpCenterTuningMnu", "&Center Tuning");
    help.item("TcpConnectionHelpMnu", "TC&P Connection");
    help.separator();
    help.item("URLkelto", "&Kelto Web Page");
    Builder list = help.sub("URLmailingList", "&Qorvanix mailing list");
    list.item("URLmailingListPost", "&Post a Public Message");
    list.item("URLmailingListGeneralInformations", "General &Informations");
    list.item("URLmailingListSubscribe", "&Subscribe");
    list.item("URLmailingListUnsubscribe", "&UnSubscribe");
    help.item("HelpICQmnu", "Help on the Qorvanix ICQ Active List");
    help.item("URLmailKelto", "&Mail Kelto", "F1");

    QAction* about = bar->addAction(QStringLiteral("  &About  "));
    about->setObjectName(QStringLiteral("Aboutit"));
    about->setEnabled(false);
}

} // namespace vexlor::app
