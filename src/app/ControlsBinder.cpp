#include "app/ControlsBinder.h"

#include "app/Application.h"
#include "app/ui/ClickableFrame.h"
#include "app/ui/EntryBox.h"
#include "app/ui/LampLabel.h"
#include "app/ui/MainWindow.h"
#include "app/ui/NameLabel.h"
#include "app/SecondaryWindow.h"
#include "controls/LabelFonts.h"
#include "controls/ui/FreqLockout.h"
#include "controls/ui/IDLockout.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace vexlor::app {

using controls::DirectEntry;

ControlsBinder::ControlsBinder(Application& app)
    : m_app(app),
      m_modes(app.link(), app.display()),
      m_lamps(app.link(), app.display()),
      m_entry(app.link(), app.display(), app.decoder()),
      m_console(app.link()),
      m_freqReview(app.link(), app.lockouts(), app.platform().dialogs),
      m_idReview(app.link(), app.display(), app.tables(), app.stores(), app.platform().dialogs)
{
    bindKeys();
    bindMenu();
    bindEntry();
    bindConsole();
    bindFonts();
}

ControlsBinder::~ControlsBinder() = default;

void ControlsBinder::bindKeys()
{
    MainWindow& w = m_app.window();
    for (int i = 0; i < 7; ++i) {
        if (QToolButton* b = w.keyButton(i))
            connect(b, &QToolButton::clicked, this, [this, i] { m_modes.Button_Click(i); });
    }
    for (int i = 0; i < 5; ++i) {
        if (LampLabel* l = w.functionLamp(i))
            connect(l, &LampLabel::clicked, this, [this, i] { m_lamps.buttonlbl_Click(i); });
    }
    using Handler = void (controls::ModeCommands::*)();
    const std::pair<const char*, Handler> pictures[] = {
        {"LightOff", &controls::ModeCommands::LightOff_Click},
        {"LightAuto", &controls::ModeCommands::LightAuto_Click},
        {"LightOn", &controls::ModeCommands::LightOn_Click},
    };
    for (const auto& [name, handler] : pictures) {
        if (auto* b = w.control<QToolButton>(QLatin1String(name)))
            connect(b, &QToolButton::clicked, this, [this, h = handler] { (m_modes.*h)(); });
    }
    if (auto* frame = w.control<ClickableFrame>(QStringLiteral("Frame1")))
        connect(frame, &ClickableFrame::clicked, this, [this] { m_modes.Frame1_Click(); });
}

void ControlsBinder::bindMenu()
{
    MainWindow& w = m_app.window();
    auto item = [&w](const char* name) {
        QAction* a = w.action(QLatin1String(name));
        if (a)
            a->setEnabled(true);
        return a;
    };
    using Handler = void (controls::ModeCommands::*)();
    const std::pair<const char*, Handler> plain[] = {
        {"Scan", &controls::ModeCommands::Scan_Click},
        {"Manual", &controls::ModeCommands::Manual_Click},
        {"Trunk", &controls::ModeCommands::Trunk_Click},
        {"Search", &controls::ModeCommands::Search_Click},
        {"ServiceSearch", &controls::ModeCommands::ServiceSearch_Click},
        {"LightAutomaticMnu", &controls::ModeCommands::LightAutomaticMnu_Click},
        {"LightPermanent", &controls::ModeCommands::LightPermanent_Click},
        {"LightOffMnu", &controls::ModeCommands::LightOffMnu_Click},
        // The display holds the state; the view sets the check mark from it.
        {"CenterTuningOnOff", &controls::ModeCommands::CenterTuningOnOff_Click},
    };
    for (const auto& [name, handler] : plain) {
        if (QAction* a = item(name))
            connect(a, &QAction::triggered, this, [this, h = handler] { (m_modes.*h)(); });
    }
    // These marks change only with the receiver's answer, so isChecked() is
    // the state it last reported.
    if (QAction* a = item("MonitorMode"))
        connect(a, &QAction::triggered, this, [this, a] { m_modes.MonitorMode_Click(a->isChecked()); });
    if (QAction* a = item("Mute"))
        connect(a, &QAction::triggered, this, [this, a] { m_modes.Mute_Click(a->isChecked()); });

    if (QAction* a = item("FreqLockOutMnu"))
        connect(a, &QAction::triggered, this, &ControlsBinder::showFreqLockout);
    if (QAction* a = item("IDLockOutMnu"))
        connect(a, &QAction::triggered, this, &ControlsBinder::showIdLockout);
}

EntryBox* ControlsBinder::entryBox(DirectEntry::Box box) const
{
    static const char* const kNames[] = {"ChannelBox", "DirectFrequencyBox", "IDChannelBox", "IDChannelBoxII"};
    return m_app.window().control<EntryBox>(QLatin1String(kNames[int(box)]));
}

void ControlsBinder::bindEntry()
{
    MainWindow& w = m_app.window();
    using Handler = void (DirectEntry::*)(const QString&);
    const std::pair<DirectEntry::Box, Handler> boxes[] = {
        {DirectEntry::Box::ChannelBox, &DirectEntry::ChannelBox_Change},
        {DirectEntry::Box::DirectFrequencyBox, &DirectEntry::DirectFrequencyBox_Change},
        {DirectEntry::Box::IDChannelBox, &DirectEntry::IDChannelBox_Change},
        {DirectEntry::Box::IDChannelBoxII, &DirectEntry::IDChannelBoxII_Change},
    };
    for (const auto& [box, handler] : boxes) {
        if (EntryBox* e = entryBox(box))
            connect(e, &QPlainTextEdit::textChanged, this, [this, e, h = handler] { (m_entry.*h)(e->toPlainText()); });
    }
    connect(&m_entry, &DirectEntry::boxChanged, this, [this](DirectEntry::Box box, const QString& text) {
        if (EntryBox* e = entryBox(box))
            e->setTextQuietly(text);
    });
    connect(&m_entry, &DirectEntry::focusWanted, this, [this](DirectEntry::Box box) {
        if (EntryBox* e = entryBox(box))
            e->setFocus();
    });
    if (auto* rx = w.control<QPlainTextEdit>(QStringLiteral("temp")))
        connect(&m_entry, &DirectEntry::tempShown, rx, &QPlainTextEdit::setPlainText);

    for (int i = 1; i <= 10; ++i) {
        if (LampLabel* l = w.bankLamp(i))
            connect(l, &LampLabel::clicked, this, [this, i] { m_entry.BankLbl_Click(i); });
    }
    for (int i = 0; i <= 10; ++i) {
        if (LampLabel* l = w.idLamp(i))
            connect(l, &LampLabel::clicked, this, [this, i] { m_entry.IDlbl_Click(i); });
    }
    auto* lower = w.control<QLineEdit>(QStringLiteral("LLbox"));
    auto* upper = w.control<QLineEdit>(QStringLiteral("LUbox"));
    auto* apply = w.control<QPushButton>(QStringLiteral("ApplyLimit"));
    if (lower && upper && apply)
        connect(apply, &QPushButton::clicked, this,
                [this, lower, upper] { m_entry.ApplyLimit_Click(lower->text(), upper->text()); });
}

void ControlsBinder::bindConsole()
{
    MainWindow& w = m_app.window();
    auto* box = w.control<EntryBox>(QStringLiteral("CmdToBeSendBox"));
    auto* send = w.control<QPushButton>(QStringLiteral("SndCmd"));
    auto* tx = w.control<QListWidget>(QStringLiteral("TxData"));
    auto* rx = w.control<QPlainTextEdit>(QStringLiteral("temp"));
    auto* clear = w.control<QPushButton>(QStringLiteral("Clear"));
    if (box) {
        connect(box, &QPlainTextEdit::textChanged, this, [this, box] { m_console.CmdToBeSendBox_Change(box->toPlainText()); });
        connect(&m_console, &link::Console::boxChanged, box, &EntryBox::setTextQuietly);
        connect(&m_console, &link::Console::boxFocusWanted, box, [box] { box->setFocus(); });
    }
    if (send)
        connect(send, &QPushButton::clicked, &m_console, &link::Console::SndCmd_Click);
    if (tx) {
        connect(tx, &QListWidget::itemDoubleClicked, this,
                [this, tx](QListWidgetItem* item) { m_console.TxData_DblClick(tx->row(item)); });
        connect(&m_console, &link::Console::txAppended, tx, [tx](const QString& command) { tx->addItem(command); });
        connect(&m_console, &link::Console::cleared, tx, &QListWidget::clear);
    }
    if (rx)
        connect(&m_console, &link::Console::cleared, rx, &QPlainTextEdit::clear);
    if (clear)
        connect(clear, &QPushButton::clicked, &m_console, &link::Console::Clear_Click);
    if (auto* dropped = w.control<QLabel>(QStringLiteral("DroppedLbl"))) {
        dropped->setText(m_console.DroppedLbl());
        connect(&m_console, &link::Console::droppedChanged, dropped, &QLabel::setText);
    }
}

void ControlsBinder::bindFonts()
{
    MainWindow& w = m_app.window();
    for (const char* name : {"NameLbl", "IDNameLbl", "TrunkingNameLbl"}) {
        if (auto* label = w.control<NameLabel>(QLatin1String(name))) {
            connect(label, &NameLabel::rightButtonPressed, this, [this, label] {
                // The choice is the font at the designed size; a larger window enlarges it too.
                ReadoutScaler& readouts = m_app.window().readouts();
                readouts.setBaseFont(label, controls::ChangeLabelFonts(m_app.platform().dialogs, readouts.baseFont(label)));
            });
        }
    }
}

void ControlsBinder::showWindow(QWidget* window) { showSecondaryWindow(m_app.window(), *window); }

void ControlsBinder::showFreqLockout()
{
    if (!m_freqWindow)
        m_freqWindow = std::make_unique<controls::FreqLockout>(m_freqReview);
    m_freqReview.FreqLockOutMnu_Click();
    showWindow(m_freqWindow.get());
}

void ControlsBinder::showIdLockout()
{
    if (!m_idWindow)
        m_idWindow = std::make_unique<controls::IDLockout>(m_idReview);
    m_idReview.IDLockOutMnu_Click();
    showWindow(m_idWindow.get());
}

} // namespace vexlor::app

#include "moc_ControlsBinder.cpp"
