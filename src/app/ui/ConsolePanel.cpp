#include "app/ui/ConsolePanel.h"

#include "app/ui/EntryBox.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexlor::app {

ConsolePanel::ConsolePanel(QWidget* parent)
    : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 2, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);

    // Receiver lines are fixed-width text.
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(8);

    auto* command = new EntryBox(QStringLiteral("CmdToBeSendBox"), 12, this);
    command->setFont(mono);
    command->setToolTip(QStringLiteral("Type a command and press Enter to send it"));
    auto* send = new QPushButton(QStringLiteral("Send to Scanner"), this);
    send->setObjectName(QStringLiteral("SndCmd"));
    auto* commandRow = new QHBoxLayout;
    commandRow->setSpacing(4);
    commandRow->addWidget(new QLabel(QStringLiteral("Command to send to the scanner :"), this));
    commandRow->addWidget(command, 1);
    commandRow->addWidget(send);
    grid->addLayout(commandRow, 0, 0, 1, 3);

    grid->addWidget(new QLabel(QStringLiteral("Tx Data"), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Rx Data"), this), 1, 1);

    auto* tx = new QListWidget(this);
    tx->setObjectName(QStringLiteral("TxData"));
    tx->setFont(mono);
    tx->setToolTip(QStringLiteral("Commands sent; double-click one to send it again"));
    grid->addWidget(tx, 2, 0);

    auto* rx = new QPlainTextEdit(this);
    rx->setObjectName(QStringLiteral("temp"));
    rx->setFont(mono);
    rx->setReadOnly(true);
    rx->setLineWrapMode(QPlainTextEdit::NoWrap);
    rx->setToolTip(QStringLiteral("The last lines received from the scanner"));
    grid->addWidget(rx, 2, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(3);
    auto* clear = new QPushButton(QStringLiteral("Clear Data"), this);
    clear->setObjectName(QStringLiteral("Clear"));
    auto* test = new QPushButton(QStringLiteral("Test"), this);
    test->setObjectName(QStringLiteral("testcmd"));
    buttons->addWidget(clear);
    buttons->addWidget(test);
    buttons->addStretch(1);
    grid->addLayout(buttons, 2, 2);

    auto* dropped = new QLabel(this);
    dropped->setObjectName(QStringLiteral("DroppedLbl"));
    dropped->setToolTip(QStringLiteral("Commands not sent because the scanner was not taking them"));
    grid->addWidget(dropped, 3, 0, 1, 3);

    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setRowStretch(2, 1);
}

} // namespace vexlor::app

#include "moc_ConsolePanel.cpp"
