#include "memory/ui/FreqDir.h"

#include "memory/FreqDirectory.h"
#include "memory/MemoryTables.h"
#include "memory/ui/ClickLabel.h"
#include "memory/ui/DirectoryGrid.h"
#include "memory/ui/EditorWidgets.h"
#include "memory/ui/ExchangeBar.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexlor::memory {

namespace {

const QList<int> kColumnTwips {500, 1050, 700, 2400, 450, 450, 700, 0, 0, 0};
constexpr int kNameColumn = MemoryTables::kChName;
// Enter in a box reaches the logic as the line break a multi-line box would hold.
const QString kEnter = QStringLiteral("\r\n");

} // namespace

FreqDir::FreqDir(FreqDirectory& logic, QWidget* parent)
    : QDialog(parent), m_logic(logic)
{
    setObjectName(QStringLiteral("FreqDir"));
    setWindowTitle(QStringLiteral("Freq. Directory - Vexlor"));
    setModal(false);

    m_grid = new DirectoryGrid(QStringLiteral("FreqList"), kColumnTwips, kNameColumn, this);
    auto* hint = editor::label(QStringLiteral("Label4"), QStringLiteral("-- Click To Toggle--"), this);
    hint->setAlignment(Qt::AlignHCenter);
    m_exchange = new ExchangeBar(this);

    auto* left = new QVBoxLayout;
    left->addWidget(buildBankRow());
    left->addWidget(m_grid, 1);
    left->addWidget(hint);

    auto* right = new QVBoxLayout;
    right->addWidget(buildSourceFrame());
    right->addWidget(buildEditorFrame());
    right->addWidget(buildSendFrame());
    right->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right);

    auto* help = editor::button(QStringLiteral("HelpCmd"), QStringLiteral("Help"), this);
    auto* ok = editor::button(QStringLiteral("OKCmd"), QStringLiteral("OK"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addSpacing(12);
    buttons->addWidget(m_exchange, 1);
    buttons->addSpacing(12);
    buttons->addWidget(ok);

    auto* column = new QVBoxLayout(this);
    column->addLayout(body, 1);
    column->addLayout(buttons);
    setMinimumSize(sizeHint().expandedTo(QSize(640, 480)));
    resize(QSize(760, 560).expandedTo(minimumSize()));

    connect(help, &QPushButton::clicked, &m_logic, &FreqDirectory::HelpCmd_Click);
    connect(ok, &QPushButton::clicked, &m_logic, &FreqDirectory::OKCmd_Click);
    connectLogic();
    render();
}

QWidget* FreqDir::buildBankRow()
{
    auto* row = new QWidget(this);
    m_bankCmb = editor::numberCombo(QStringLiteral("BankCmb"), row);
    m_bankCmb->setToolTip(QStringLiteral("The bank to show and edit"));
    m_bankNameBox = editor::lineBox(QStringLiteral("IDBankNameBox"), 40, 0, row);
    m_trunkTypeBox = new QComboBox(row);
    m_trunkTypeBox->setObjectName(QStringLiteral("IDTypeBankBox"));
    m_trunkTypeBox->addItems(MemoryTables::trunkTypeSelectors());
    m_trunkTypeBox->setCurrentIndex(-1);

    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(editor::label(QStringLiteral("Label1"), QStringLiteral("Freq Bank"), row), 0, 0);
    grid->addWidget(m_bankCmb, 0, 1);
    grid->addWidget(editor::label(QStringLiteral("BankNameLbl"), QStringLiteral("Bank Name :"), row), 0, 2, Qt::AlignRight);
    grid->addWidget(m_bankNameBox, 0, 3);
    grid->addWidget(editor::label(QStringLiteral("Label7"), QStringLiteral("Trunk Type :"), row), 1, 2, Qt::AlignRight);
    grid->addWidget(m_trunkTypeBox, 1, 3);
    grid->setColumnMinimumWidth(1, 60);
    grid->setColumnStretch(3, 1);
    grid->setHorizontalSpacing(8);
    return row;
}

QWidget* FreqDir::buildSourceFrame()
{
    return editor::sourceFrame(QStringLiteral("Data receive from"),
                               QStringLiteral("* Will overwrite data saved in your file!"), &m_option1, &m_option2, this);
}

QWidget* FreqDir::buildEditorFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Selected Channel Details"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_chBox = editor::lineBox(QStringLiteral("ChBox"), 3, 4, frame);
    m_freqBox = editor::lineBox(QStringLiteral("FreqBox"), 8, 9, frame);
    m_typeCmb = editor::typeCombo(QStringLiteral("TypeCmb"), frame);
    m_nameBox = editor::lineBox(QStringLiteral("NameBox"), 40, 0, frame);
    m_nameBox->setMinimumWidth(m_nameBox->fontMetrics().averageCharWidth() * 20);
    m_delayChk = new QCheckBox(QStringLiteral("Delay"), frame);
    m_delayChk->setObjectName(QStringLiteral("DelayChk"));
    m_lOChk = new QCheckBox(QStringLiteral("L/O"), frame);
    m_lOChk->setObjectName(QStringLiteral("L_OChk"));
    m_trunkChk = new QCheckBox(QStringLiteral("Trunk"), frame);
    m_trunkChk->setObjectName(QStringLiteral("TrunkChk"));
    auto* freqLbl = new ClickLabel(QStringLiteral("Frequency :"), frame);
    freqLbl->setObjectName(QStringLiteral("FreqLbl"));

    m_saveImg = editor::imageButton(QStringLiteral("SaveImg"), QStyle::SP_DialogSaveButton,
        QStringLiteral("Save this channel"), frame);
    m_deleteImg = editor::imageButton(QStringLiteral("DeleteImg"), QStyle::SP_TrashIcon,
        QStringLiteral("Clear this channel"), frame);

    auto* checks = new QHBoxLayout;
    checks->addWidget(m_delayChk);
    checks->addWidget(m_lOChk);
    checks->addWidget(m_trunkChk);
    checks->addStretch(1);
    auto* images = new QHBoxLayout;
    images->addStretch(1);
    images->addWidget(m_saveImg);
    images->addWidget(m_deleteImg);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(editor::label(QStringLiteral("Label2"), QStringLiteral("Channel :"), frame), 0, 0);
    grid->addWidget(m_chBox, 0, 1, Qt::AlignLeft);
    grid->addWidget(freqLbl, 1, 0);
    grid->addWidget(m_freqBox, 1, 1, Qt::AlignLeft);
    grid->addWidget(editor::label(QStringLiteral("Label3"), QStringLiteral("Type :"), frame), 2, 0);
    grid->addWidget(m_typeCmb, 2, 1, Qt::AlignLeft);
    grid->addWidget(editor::label(QStringLiteral("Label5"), QStringLiteral("Name :"), frame), 3, 0);
    grid->addWidget(m_nameBox, 3, 1);
    grid->addLayout(checks, 4, 0, 1, 2);
    grid->addLayout(images, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return frame;
}

QWidget* FreqDir::buildSendFrame()
{
    m_sendCmd = editor::button(QStringLiteral("DataSendToScannerCmd"), QStringLiteral("Scanner"), this);
    m_sendCmd->setToolTip(QStringLiteral("Write this bank into the scanner"));
    return editor::sendFrame(QStringLiteral("Data send to"), m_sendCmd, this);
}

void FreqDir::connectLogic()
{
    FreqDirectory& l = m_logic;
    connect(m_grid, &DirectoryGrid::clicked, &l, &FreqDirectory::FreqList_Click);
    connect(m_exchange, &ExchangeBar::stopClicked, &l, &FreqDirectory::StopCmd_Click);
    // A choice the logic turns down must not stay on screen: render after each.
    connect(m_bankCmb, &QComboBox::activated, this, [this](int index) {
        m_logic.BankCmb_Click(index + 1);
        render();
    });
    connect(m_option1, &QRadioButton::clicked, this, [this] {
        m_logic.Option1_Click();
        render();
    });
    connect(m_option2, &QRadioButton::clicked, this, [this] {
        m_logic.Option2_Click();
        render();
    });
    connect(m_delayChk, &QCheckBox::clicked, this, [this](bool on) {
        m_logic.DelayChk_Click(on);
        render();
    });
    connect(m_lOChk, &QCheckBox::clicked, this, [this](bool on) {
        m_logic.L_OChk_Click(on);
        render();
    });
    connect(m_trunkChk, &QCheckBox::clicked, this, [this](bool on) {
        m_logic.TrunkChk_Click(on);
        render();
    });
    connect(m_trunkTypeBox, &QComboBox::textActivated, this, [this](const QString& text) {
        m_logic.IDTypeBankBox_Click(text);
        render();
    });

    connect(m_chBox, &QLineEdit::textEdited, &l, &FreqDirectory::ChBox_Change);
    connect(m_freqBox, &QLineEdit::textEdited, &l, &FreqDirectory::FreqBox_Change);
    connect(m_freqBox, &QLineEdit::returnPressed, this, [this] { m_logic.FreqBox_Change(m_freqBox->text() + kEnter); });
    connect(m_nameBox, &QLineEdit::textEdited, &l, &FreqDirectory::NameBox_Change);
    connect(m_nameBox, &QLineEdit::returnPressed, this, [this] { m_logic.NameBox_Change(m_nameBox->text() + kEnter); });
    connect(m_bankNameBox, &QLineEdit::textEdited, &l, &FreqDirectory::IDBankNameBox_Change);
    connect(m_bankNameBox, &QLineEdit::returnPressed, this,
        [this] { m_logic.IDBankNameBox_Change(m_bankNameBox->text() + kEnter); });
    connect(m_typeCmb->lineEdit(), &QLineEdit::textEdited, &l, &FreqDirectory::TypeCmb_Change);
    connect(m_typeCmb, &QComboBox::textActivated, &l, &FreqDirectory::TypeCmb_Change);
    for (QWidget* w : {static_cast<QWidget*>(m_typeCmb), static_cast<QWidget*>(m_nameBox),
             static_cast<QWidget*>(m_bankNameBox)})
        w->installEventFilter(this);

    connect(m_saveImg, &QToolButton::clicked, &l, &FreqDirectory::CommitChannel);
    connect(m_deleteImg, &QToolButton::clicked, &l, &FreqDirectory::DeleteImg_Click);
    connect(m_sendCmd, &QPushButton::clicked, &l, &FreqDirectory::DataSendToScannerCmd_Click);
    connect(findChild<ClickLabel*>(QStringLiteral("FreqLbl")), &ClickLabel::clicked, &l, &FreqDirectory::FreqLbl_Click);

    connect(&l, &FreqDirectory::changed, this, &FreqDir::render);
    connect(&l, &FreqDirectory::scrollToTop, m_grid, &DirectoryGrid::scrollToTop);
    connect(&l, &FreqDirectory::closeWanted, this, &QWidget::close);
    connect(&l, &FreqDirectory::focusWanted, this, [this](const QString& name) { editor::focusChild(this, name); });
}

void FreqDir::render()
{
    const FreqDirState& s = m_logic.state();
    m_grid->render(s.headings, s.FreqList, s.currentRow, s.currentCol);
    m_exchange->render(s.WaitLblVisible, s.WaitLbl, s.progressVisible, s.progress, s.uploading);
    editor::renderChoice(m_bankCmb, s.BankCmb - 1);
    editor::renderRadios(m_option1, s.Option1, m_option2, s.Option2);
    editor::renderText(m_chBox, s.ChBox);
    editor::renderText(m_freqBox, s.FreqBox);
    editor::renderEditText(m_typeCmb, s.TypeCmb);
    editor::renderText(m_nameBox, s.NameBox);
    editor::renderChecked(m_delayChk, s.DelayChk);
    editor::renderChecked(m_lOChk, s.L_OChk);
    editor::renderChecked(m_trunkChk, s.TrunkChk);
    editor::renderText(m_bankNameBox, s.IDBankNameBox);
    editor::renderChoice(m_trunkTypeBox, m_trunkTypeBox->findText(s.IDTypeBankBox));
    m_saveImg->setEnabled(s.SaveImgEnabled);
    m_deleteImg->setEnabled(s.SaveImgEnabled);
    m_sendCmd->setEnabled(s.DataSendToScannerCmdEnabled);
}

void FreqDir::reject()
{
    if (m_logic.state().uploading)
        m_logic.StopCmd_Click();
    else if (!m_logic.isBusy())
        close();
}

void FreqDir::closeEvent(QCloseEvent* event)
{
    m_logic.Form_Unload();
    event->accept();
}

bool FreqDir::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Opening the combo's list or switching to another program leaves the focus where it is.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (watched == m_typeCmb)
                m_logic.TypeCmb_LostFocus();
            else if (watched == m_nameBox)
                m_logic.NameBox_LostFocus();
            else if (watched == m_bankNameBox)
                m_logic.IDBankNameBox_LostFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vexlor::memory

#include "moc_FreqDir.cpp"
