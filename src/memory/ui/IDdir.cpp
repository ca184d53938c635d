#include "memory/ui/IDdir.h"

#include "memory/IDDirectory.h"
#include "memory/MemoryTables.h"
#include "memory/ui/ClickLabel.h"
#include "memory/ui/DirectoryGrid.h"
#include "memory/ui/EditorWidgets.h"
#include "memory/ui/ExchangeBar.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexlor::memory {

namespace {

const QList<int> kIdColumnTwips {500, 1000, 500, 3000, 400, 650};
constexpr int kIdNameColumn = MemoryTables::kIdName;
const QString kIdEnter = QStringLiteral("\r\n");

} // namespace

IDdir::IDdir(IDDirectory& logic, QWidget* parent)
    : QDialog(parent), m_logic(logic)
{
    setObjectName(QStringLiteral("IDdir"));
    setWindowTitle(QStringLiteral("ID Directory"));
    setModal(false);

    m_grid = new DirectoryGrid(QStringLiteral("IDList"), kIdColumnTwips, kIdNameColumn, this);
    // Ten rows fit without scrolling.
    m_grid->setMinimumHeight(m_grid->verticalHeader()->defaultSectionSize() * MemoryTables::kSlotsPerList
        + m_grid->horizontalHeader()->sizeHint().height() + 2 * m_grid->frameWidth() + 2);
    m_exchange = new ExchangeBar(this);

    auto* top = new QHBoxLayout;
    top->addWidget(buildBankRow(), 0, Qt::AlignTop);
    top->addStretch(1);
    top->addWidget(buildSourceFrame());
    top->addWidget(buildSendFrame());

    m_okCmd = editor::button(QStringLiteral("OKCmd"), QStringLiteral("OK"), this);
    auto* cancel = editor::button(QStringLiteral("CancelCmd"), QStringLiteral("Cancel"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_exchange, 1);
    bottom->addSpacing(12);
    bottom->addWidget(m_okCmd);
    bottom->addWidget(cancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(m_grid, 1);
    column->addWidget(buildEditorFrame());
    column->addLayout(bottom);
    setMinimumSize(sizeHint().expandedTo(QSize(520, 420)));
    resize(QSize(560, 460).expandedTo(minimumSize()));

    connect(m_okCmd, &QPushButton::clicked, &m_logic, &IDDirectory::OKCmd_Click);
    connect(cancel, &QPushButton::clicked, &m_logic, &IDDirectory::CancelCmd_Click);
    connectLogic();
    render();
}

QWidget* IDdir::buildBankRow()
{
    auto* row = new QWidget(this);
    m_bankCmb = editor::numberCombo(QStringLiteral("BankCmb"), row);
    m_bankCmb->setToolTip(QStringLiteral("The frequency bank whose trunk IDs to show"));
    m_idBankCmb = editor::numberCombo(QStringLiteral("IDBankCmb"), row);
    m_idBankCmb->setToolTip(QStringLiteral("The list of ten IDs within the bank"));
    m_typeLbl = editor::label(QStringLiteral("TypeLbl"), QStringLiteral("Type :"), row);
    m_trunkType = editor::label(QStringLiteral("IDTypeBankBox"), QString(), row);
    QFont bold = m_trunkType->font();
    bold.setBold(true);
    m_trunkType->setFont(bold);

    auto* type = new QHBoxLayout;
    type->addWidget(m_typeLbl);
    type->addWidget(m_trunkType);
    type->addStretch(1);
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(editor::label(QStringLiteral("Label1"), QStringLiteral("Freq Bank"), row), 0, 0);
    grid->addWidget(m_bankCmb, 0, 1);
    grid->addWidget(editor::label(QStringLiteral("Label7"), QStringLiteral("ID Bank"), row), 1, 0);
    grid->addWidget(m_idBankCmb, 1, 1);
    grid->addLayout(type, 2, 0, 1, 2);
    return row;
}

QWidget* IDdir::buildEditorFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Selected ID Details"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_chBox = editor::lineBox(QStringLiteral("ChBox"), 5, 5, frame);
    m_idBox = editor::lineBox(QStringLiteral("IDbox"), 6, 7, frame);
    m_typeCmb = editor::typeCombo(QStringLiteral("TypeCmb"), frame);
    m_nameBox = editor::lineBox(QStringLiteral("NameBox"), 40, 0, frame);
    m_saveImg = editor::imageButton(QStringLiteral("SaveImg"), QStyle::SP_DialogSaveButton,
        QStringLiteral("Save this ID"), frame);
    m_deleteImg = editor::imageButton(QStringLiteral("DeleteImg"), QStyle::SP_TrashIcon,
        QStringLiteral("Clear this ID"), frame);
    auto* convert = new ClickLabel(QStringLiteral("Convert it!"), frame);
    convert->setObjectName(QStringLiteral("ConvertLbl"));
    convert->setLinkLook();
    convert->setToolTip(QStringLiteral("Convert a decimal or hexadecimal talkgroup"));

    auto* grid = new QGridLayout(frame);
    grid->addWidget(editor::label(QStringLiteral("Label2"), QStringLiteral("Channel :"), frame), 0, 0);
    grid->addWidget(m_chBox, 0, 1);
    grid->addWidget(editor::label(QStringLiteral("Label4"), QStringLiteral("ID :"), frame), 0, 2, Qt::AlignRight);
    grid->addWidget(m_idBox, 0, 3);
    grid->addWidget(editor::label(QStringLiteral("Label3"), QStringLiteral("Type :"), frame), 0, 4, Qt::AlignRight);
    grid->addWidget(m_typeCmb, 0, 5, Qt::AlignLeft);
    grid->addWidget(m_saveImg, 0, 7);
    grid->addWidget(m_deleteImg, 0, 8);
    grid->addWidget(editor::label(QStringLiteral("Label5"), QStringLiteral("Name :"), frame), 1, 0);
    grid->addWidget(m_nameBox, 1, 1, 1, 6);
    grid->addWidget(convert, 1, 7, 1, 2, Qt::AlignCenter);
    grid->setColumnStretch(6, 1);
    return frame;
}

QWidget* IDdir::buildSourceFrame()
{
    return editor::sourceFrame(QStringLiteral("Data from"), QStringLiteral("* Primary Scanner, but also File for the Name"),
                               &m_option1, &m_option2, this);
}

QWidget* IDdir::buildSendFrame()
{
    m_sendCmd = editor::button(QStringLiteral("SendToScanner"), QStringLiteral("Scanner"), this);
    m_sendCmd->setToolTip(QStringLiteral("Write this list of IDs into the scanner"));
    return editor::sendFrame(QStringLiteral("Data Send To"), m_sendCmd, this);
}

void IDdir::connectLogic()
{
    IDDirectory& l = m_logic;
    connect(m_grid, &DirectoryGrid::clicked, &l, &IDDirectory::IDList_Click);
    connect(m_exchange, &ExchangeBar::stopClicked, &l, &IDDirectory::StopCmd_Click);
    // A choice the logic turns down must not stay on screen: render after each.
    connect(m_bankCmb, &QComboBox::activated, this, [this](int index) {
        m_logic.BankCmb_Click(index + 1);
        render();
    });
    connect(m_idBankCmb, &QComboBox::activated, this, [this](int index) {
        m_logic.IDBankCmb_Click(index + 1);
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

    connect(m_chBox, &QLineEdit::textEdited, &l, &IDDirectory::ChBox_Change);
    connect(m_chBox, &QLineEdit::returnPressed, &l, &IDDirectory::CommitID);
    connect(m_idBox, &QLineEdit::textEdited, &l, &IDDirectory::IDbox_Change);
    connect(m_typeCmb->lineEdit(), &QLineEdit::textEdited, &l, &IDDirectory::TypeCmb_Change);
    connect(m_typeCmb, &QComboBox::textActivated, &l, &IDDirectory::TypeCmb_Click);
    connect(m_nameBox, &QLineEdit::textEdited, &l, &IDDirectory::NameBox_Change);
    connect(m_nameBox, &QLineEdit::returnPressed, this, [this] { m_logic.NameBox_Change(m_nameBox->text() + kIdEnter); });

    connect(m_saveImg, &QToolButton::clicked, &l, &IDDirectory::CommitID);
    connect(m_deleteImg, &QToolButton::clicked, &l, &IDDirectory::DeleteImg_Click);
    connect(m_sendCmd, &QPushButton::clicked, &l, &IDDirectory::SendToScanner_Click);
    connect(findChild<ClickLabel*>(QStringLiteral("ConvertLbl")), &ClickLabel::clicked, &l, &IDDirectory::ConvertLbl_Click);

    connect(&l, &IDDirectory::changed, this, &IDdir::render);
    connect(&l, &IDDirectory::closeWanted, this, &QWidget::close);
    connect(&l, &IDDirectory::focusWanted, this, [this](const QString& name) { editor::focusChild(this, name); });
}

void IDdir::render()
{
    const IDDirState& s = m_logic.state();
    m_grid->render(s.headings, s.IDList, s.currentRow, s.currentCol);
    m_exchange->render(s.WaitLblVisible, s.WaitLbl, s.progressVisible, s.progress, s.uploading);
    editor::renderChoice(m_bankCmb, s.BankCmb - 1);
    editor::renderChoice(m_idBankCmb, s.IDBankCmb - 1);
    editor::renderRadios(m_option1, s.Option1, m_option2, s.Option2);
    m_typeLbl->setVisible(s.TypeLblVisible);
    m_trunkType->setText(s.IDTypeBankBox);
    editor::renderText(m_chBox, s.ChBox);
    editor::renderText(m_idBox, s.IDbox);
    editor::renderEditText(m_typeCmb, s.TypeCmb);
    editor::renderText(m_nameBox, s.NameBox);
    for (QWidget* w : {static_cast<QWidget*>(m_bankCmb), static_cast<QWidget*>(m_idBankCmb),
             static_cast<QWidget*>(m_option1), static_cast<QWidget*>(m_option2), static_cast<QWidget*>(m_sendCmd),
             static_cast<QWidget*>(m_okCmd)})
        w->setEnabled(!s.busy);
}

void IDdir::reject()
{
    if (m_logic.state().uploading)
        m_logic.StopCmd_Click();
    else if (!m_logic.state().busy)
        close();
}

void IDdir::closeEvent(QCloseEvent* event)
{
    m_logic.Form_Unload();
    event->accept();
}

} // namespace vexlor::memory

#include "moc_IDdir.cpp"
