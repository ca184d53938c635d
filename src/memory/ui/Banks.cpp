#include "memory/ui/Banks.h"

#include "memory/BankEditor.h"
#include "memory/MemoryTables.h"
#include "memory/StoreRecords.h"
#include "memory/ui/BankGridView.h"
#include "memory/ui/EditorWidgets.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexlor::memory {

namespace {

using MT = MemoryTables;

const QList<int> kChannelTwips {500, 1050, 700, 2600, 450, 450, 700};
const QList<int> kIDTwips {700, 800, 700, 3550, 700};
const QString kChannelTitles = QStringLiteral(" CH     FREQ        TYPE    NAME                               DLY  L/O  MODE");
const QString kIDTitles =
    QStringLiteral("   LIST      ID        TYPE      NAME                                                L/O");

struct EditButton {
    const char* caption;
    const char* tip;
};
constexpr EditButton kEditButtons[] = {
    {"A", "Select All"},         {"X", "CUT Selected Text"}, {"C", "Copy Selected Text"}, {"V", "Paste from Clipboard"},
    {"-", "Delete Row"},         {"+", "Add New Row"},       {"i", "Insert New Row"},
};

// Esc in the find box closes the find bar.
class FindBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape)
            parentWidget()->hide();
        else
            QLineEdit::keyPressEvent(event);
    }
};

} // namespace

Banks::Banks(BankEditor& logic, QWidget* parent)
    : QWidget(parent, Qt::Window), m_logic(logic)
{
    setObjectName(QStringLiteral("Banks"));
    setWindowTitle(QStringLiteral("Banks"));

    m_channels = new BankGridView(QStringLiteral("ChannelGrid"), kChannelTwips, QStringLiteral("edtC"), this);
    m_ids = new BankGridView(QStringLiteral("IDGrid"), kIDTwips, QStringLiteral("edtI"), this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->addTab(buildBankPage(), QString());
    m_tabs->addTab(buildGridPage(m_channels, kChannelTitles), QString());
    m_tabs->addTab(buildGridPage(m_ids, kIDTitles), QString());

    auto* column = new QVBoxLayout(this);
    buildMenu();
    column->addWidget(buildBankRow());
    column->addWidget(m_tabs, 1);
    column->addWidget(buildFindBar());
    column->addWidget(buildButtons());
    resize(sizeHint().expandedTo(QSize(560, 520)));

    connect(m_scroll, &QScrollBar::valueChanged, &m_logic, &BankEditor::HScroll1_Change);
    // Any way of changing tab: a click, Ctrl+Tab or the arrow keys.
    connect(m_tabs, &QTabWidget::currentChanged, &m_logic, &BankEditor::SSTab1_Click);
    connect(m_name, &QLineEdit::textEdited, &m_logic, &BankEditor::BankNameBox_Change);
    connect(m_type, &QComboBox::activated, &m_logic, &BankEditor::BankTypeBox_Click);
    connectGrid(m_channels);
    connectGrid(m_ids);
    connect(&m_logic, &BankEditor::changed, this, &Banks::render);
    render();
}

QWidget* Banks::buildBankRow()
{
    auto* row = new QWidget(this);
    m_scroll = new QScrollBar(Qt::Horizontal, row);
    m_scroll->setObjectName(QStringLiteral("HScroll1"));
    m_scroll->setRange(1, MT::kBanks);
    m_scroll->setPageStep(1);
    m_scroll->setMinimumWidth(220);
    m_scroll->setToolTip(QStringLiteral("The bank to edit"));
    m_bankNumber = editor::label(QStringLiteral("BankNumber"), QString(), row);
    QFont big = m_bankNumber->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    m_bankNumber->setFont(big);

    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Bank"), row));
    layout->addWidget(m_scroll);
    layout->addWidget(m_bankNumber);
    layout->addStretch(1);
    return row;
}

QWidget* Banks::buildBankPage()
{
    auto* page = new QWidget(this);
    // A longer name would not fit its store record.
    m_name = editor::lineBox(QStringLiteral("BankNameBox"), records::kBankTextMax, 0, page);
    m_type = new QComboBox(page);
    m_type->setObjectName(QStringLiteral("BankTypeBox"));
    for (const auto& type : MT::TrunkTypeTable)
        m_type->addItem(QString(type.selector));
    m_pch = editor::label(QStringLiteral("PCH"), QString(), page);
    m_vr = editor::label(QStringLiteral("VR_lbl"), QString(), page);
    m_si = editor::label(QStringLiteral("SI_lbl"), QString(), page);
    m_vr->setToolTip(QStringLiteral("The receiver's last version reply"));
    m_si->setToolTip(QStringLiteral("The receiver's last model reply"));

    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Name"), m_name);
    form->addRow(QStringLiteral("Trunk type"), m_type);
    form->addRow(m_pch);
    form->addRow(QStringLiteral("Version reply"), m_vr);
    form->addRow(QStringLiteral("Model reply"), m_si);
    return page;
}

QWidget* Banks::buildGridPage(BankGridView* grid, const QString& titles)
{
    auto* page = new QWidget(this);
    // The titles are the grid's own heading, where a press sorts, not a label above it.
    grid->setTitles(titles.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    grid->setParent(page);
    // Only as wide as its columns: a wider window leaves them as they are.
    grid->setMaximumWidth(grid->sizeHint().width());
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(grid, 1, Qt::AlignLeft);
    return page;
}

QWidget* Banks::buildFindBar()
{
    m_findBar = new QWidget(this);
    m_findBox = new FindBox(m_findBar);
    m_findBox->setObjectName(QStringLiteral("FindBox"));
    m_findBox->setPlaceholderText(QStringLiteral("Bank name, frequency, ID or name"));
    auto* next = editor::button(QStringLiteral("FindNextCmd"), QStringLiteral("Find Next"), m_findBar);
    next->setToolTip(QStringLiteral("Go to the next match in any bank (F3)"));
    auto* layout = new QHBoxLayout(m_findBar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Find:"), m_findBar));
    layout->addWidget(m_findBox, 1);
    layout->addWidget(next);
    m_findBar->hide();
    connect(m_findBox, &QLineEdit::returnPressed, this, &Banks::findNext);
    connect(next, &QPushButton::clicked, this, &Banks::findNext);
    return m_findBar;
}

QWidget* Banks::buildButtons()
{
    auto* row = new QWidget(this);
    m_editFrame = new QGroupBox(QStringLiteral("Edit"), row);
    m_editFrame->setObjectName(QStringLiteral("EditFrame"));
    auto* edits = new QHBoxLayout(m_editFrame);
    for (int i = 0; i < int(std::size(kEditButtons)); ++i) {
        auto* b = new QToolButton(m_editFrame);
        b->setObjectName(QStringLiteral("C_%1").arg(i));
        b->setText(QLatin1String(kEditButtons[i].caption));
        b->setToolTip(QLatin1String(kEditButtons[i].tip));
        b->setMinimumWidth(28);
        // Taking the focus ends an open in-place edit first, so the button acts on its result.
        b->setFocusPolicy(Qt::StrongFocus);
        edits->addWidget(b);
        connect(b, &QToolButton::clicked, &m_logic, [this, i] { m_logic.C_Click(i); });
    }

    auto* window = new QGroupBox(QStringLiteral("Window"), row);
    window->setObjectName(QStringLiteral("Frame1"));
    auto* close = editor::button(QStringLiteral("Cancel_1"), QStringLiteral("Close"), window);
    close->setToolTip(QStringLiteral("Close Form, Make No Changes"));
    auto* save = editor::button(QStringLiteral("Cancel_2"), QStringLiteral("Save"), window);
    save->setToolTip(QStringLiteral("Save Data, Close Form"));
    auto* buttons = new QHBoxLayout(window);
    buttons->addWidget(close);
    buttons->addWidget(save);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(save, &QPushButton::clicked, &m_logic, &BankEditor::save);

    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editFrame);
    layout->addStretch(1);
    layout->addWidget(window);
    return row;
}

void Banks::buildMenu()
{
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("BanksMenu"));
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    QAction* undo = m_logic.undoStack().createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName(QStringLiteral("UndoMnu"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = m_logic.undoStack().createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName(QStringLiteral("RedoMnu"));
    redo->setShortcuts({QKeySequence(QKeySequence::Redo), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    QAction* find = edit->addAction(QStringLiteral("&Find..."), this, &Banks::showFind);
    find->setObjectName(QStringLiteral("FindMnu"));
    find->setShortcut(QKeySequence::Find);
    QAction* again = edit->addAction(QStringLiteral("Find &Next"), this, &Banks::findNext);
    again->setObjectName(QStringLiteral("FindNextMnu"));
    again->setShortcut(QKeySequence::FindNext);
    layout()->setMenuBar(bar);
}

void Banks::connectGrid(BankGridView* grid)
{
    connect(grid, &BankGridView::cellsSelected, &m_logic, &BankEditor::selectCells);
    connect(grid, &BankGridView::headerPressed, &m_logic, &BankEditor::headerPressed);
    connect(grid, &BankGridView::editKey, &m_logic, &BankEditor::C_Click);
    connect(grid, &BankGridView::editFinished, &m_logic, &BankEditor::endEdit);
    connect(grid, &BankGridView::editCancelled, &m_logic, &BankEditor::cancelEdit);
    connect(grid, &BankGridView::editWanted, this, [this, grid](int row, int col) {
        const QString text = m_logic.beginEdit(row, col);
        if (m_logic.editing())
            grid->showEditor(row, col, text);
    });
}

void Banks::showFind()
{
    m_findBar->show();
    m_findBox->setFocus(Qt::ShortcutFocusReason);
    m_findBox->selectAll();
}

void Banks::findNext()
{
    if (m_findBar->isHidden() || m_findBox->text().isEmpty()) {
        showFind();
        return;
    }
    m_logic.findNext(m_findBox->text());
}

void Banks::render()
{
    const BanksState& s = m_logic.state();
    {
        const QSignalBlocker block(m_scroll);
        m_scroll->setValue(s.HScroll1);
    }
    m_bankNumber->setText(s.BankNumber);
    for (int t = 0; t < 3; ++t)
        m_tabs->setTabText(t, s.tabText(t));
    if (m_tabs->currentIndex() != s.tab) {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(s.tab);
    }
    editor::renderText(m_name, s.BankNameBox);
    editor::renderChoice(m_type, s.BankTypeBox);
    m_pch->setText(s.PCH);
    m_vr->setText(s.VR_lbl);
    m_si->setText(s.SI_lbl);
    m_editFrame->setEnabled(s.tab != 0);
    if (s.tab == 1)
        m_channels->render(m_logic.ChannelGrid(), m_logic.editing());
    else if (s.tab == 2)
        m_ids->render(m_logic.IDGrid(), m_logic.editing());
}

void Banks::closeEvent(QCloseEvent* event)
{
    // Cancel at the question about unsaved edits keeps the window open.
    if (!m_logic.close()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace vexlor::memory

#include "moc_Banks.cpp"
