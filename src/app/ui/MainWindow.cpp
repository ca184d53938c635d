#include "app/ui/MainWindow.h"

#include "app/config/WindowMetrics.h"
#include "app/ui/CenterTuningScale.h"
#include "app/ui/ConsolePanel.h"
#include "app/ui/DirectSeekingFrame.h"
#include "app/ui/KeyBar.h"
#include "app/ui/Look.h"
#include "app/ui/MainMenu.h"
#include "app/ui/Pictures.h"
#include "app/ui/RemoteBar.h"
#include "app/ui/SearchingFrame.h"
#include "app/ui/StatusFrame.h"
#include "app/ui/TrunkingFrame.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vexlor::app {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Vexlor"));
    setWindowIcon(pictures::programIcon());
    buildMainMenu(menuBar());

    auto* central = new QWidget(this);
    central->setFont(captionFont());
    setCentralWidget(central);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 2, 4, 4);
    column->setSpacing(3);

    m_status = new StatusFrame(central);
    m_trunking = new TrunkingFrame(central);
    m_tuning = new CenterTuningScale(central);
    auto* right = new QVBoxLayout;
    right->setSpacing(3);
    right->addWidget(m_trunking);
    right->addWidget(m_tuning, 1);
    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(m_status, 3);
    top->addLayout(right, 2);
    column->addLayout(top);
    // Spare height (the console hidden) goes into even gaps between the regions.
    column->addStretch(1);

    auto* entry = new QHBoxLayout;
    entry->setSpacing(4);
    entry->addWidget(new DirectSeekingFrame(central), 1);
    entry->addWidget(new SearchingFrame(central), 1);
    column->addLayout(entry);
    column->addStretch(1);

    m_keys = new KeyBar(central);
    column->addWidget(m_keys);
    column->addStretch(1);
    column->addWidget(new RemoteBar(central));

    m_console = new ConsolePanel(central);
    column->addWidget(m_console, 12);

    buildHiddenControls(central);

    connect(action(QStringLiteral("Exit")), &QAction::triggered, this, &QWidget::close);
    connect(action(QStringLiteral("SeeCode")), &QAction::toggled, this, &MainWindow::setConsoleShown);
    // The frame's double-click is the same command as the menu item.
    connect(m_tuning, &CenterTuningScale::doubleClicked, this, [this] {
        action(QStringLiteral("CenterTuningOnOff"))->trigger();
    });

    // Ctrl+V must run Service Search, not paste, whichever box has the focus.
    for (QWidget* box : central->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(box) || qobject_cast<QPlainTextEdit*>(box))
            box->installEventFilter(this);
    }

    for (const char* name : {"ModeLbl", "FrequencyBox", "ChLbl", "TypeLbl", "NameLbl", "IDbox", "IDNameLbl", "IDTypeLbl",
                             "IDlbl_0", "TrunkingNameLbl", "TrunkingTypeLbl"})
        m_readouts.add(findChild<QLabel*>(QLatin1String(name)));
    setConsoleShown(false);
}

void MainWindow::buildHiddenControls(QWidget* host)
{
    auto* status = new QCheckBox(QStringLiteral("Status"), host);
    status->setObjectName(QStringLiteral("StatusChk"));
    status->setChecked(true);
    auto* tempLog = new QPlainTextEdit(host);
    tempLog->setObjectName(QStringLiteral("TempLogTextBox"));
    QWidget* hidden[] = {status, tempLog, new QLabel(host), new QLabel(host), new QLabel(host)};
    hidden[2]->setObjectName(QStringLiteral("PagCommPortlbl"));
    hidden[3]->setObjectName(QStringLiteral("IDChLblMain"));
    hidden[4]->setObjectName(QStringLiteral("IPriLbl"));
    for (QWidget* w : hidden)
        w->setVisible(false);
}

QAction* MainWindow::action(const QString& name) const
{
    return findChild<QAction*>(name);
}

LampLabel* MainWindow::bankLamp(int bank) const { return m_status->bankLamp(bank); }
LampLabel* MainWindow::idLamp(int index) const { return m_trunking->idLamp(index); }
LampLabel* MainWindow::functionLamp(int index) const { return m_status->functionLamp(index); }
QToolButton* MainWindow::keyButton(int index) const { return m_keys->keyButton(index); }

void MainWindow::setConsoleShown(bool shown)
{
    if (QAction* see = action(QStringLiteral("SeeCode")); see && see->isChecked() != shown) {
        const QSignalBlocker block(see);
        see->setChecked(shown);
    }
    m_consoleShown = shown;
    m_console->setVisible(shown);
    // The layout's minimum must shrink before the window can.
    if (centralWidget()->layout())
        centralWidget()->layout()->activate();
    if (layout())
        layout()->activate();
    resize(mainWindowSize(shown, logicalDpiX(), logicalDpiY()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && isMenuShortcut(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::isMenuShortcut(const QKeyEvent& key) const
{
    const QKeySequence typed(key.keyCombination());
    const QList<QAction*> items = menuBar()->findChildren<QAction*>();
    return std::any_of(items.begin(), items.end(),
                       [&typed](const QAction* a) { return a->isEnabled() && a->shortcuts().contains(typed); });
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // Measured from the designed width, or the least the window can be where that is more.
    const int designed = std::max(mainWindowSize(m_consoleShown, logicalDpiX(), logicalDpiY()).width(), minimumWidth());
    m_readouts.setScale(ReadoutScaler::scaleFor(event->size().width(), designed));
    if (event->size().expandedTo(minimumSize()) != event->size())
        QTimer::singleShot(0, this, [this] { resize(size().expandedTo(minimumSize())); });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_closingEmitted && m_closeGuard && !m_closeGuard()) {
        event->ignore();
        return;
    }
    // The shut-down sequence runs once, however many close requests arrive.
    if (!m_closingEmitted) {
        m_closingEmitted = true;
        Q_EMIT closing();
    }
    event->accept();
}

} // namespace vexlor::app

#include "moc_MainWindow.cpp"
