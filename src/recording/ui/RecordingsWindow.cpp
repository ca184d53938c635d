#include "recording/ui/RecordingsWindow.h"

#include "recording/RecordingList.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vexlor::recording {

namespace {
// The earliest day a date box takes stands for "no limit".
const QDate kAnyDay(2000, 1, 1);
}

RecordingsWindow::RecordingsWindow(RecordingList& list, QWidget* parent) : QDialog(parent), m_list(list)
{
    setObjectName(QStringLiteral("Recordings"));
    setWindowTitle(QStringLiteral("Recordings"));
    setModal(false);

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("FilterBox"));
    m_filter->setPlaceholderText(QStringLiteral("Find: a frequency, channel, talkgroup or name"));
    m_filter->setClearButtonEnabled(true);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("RecordingsGrid"));
    m_grid->setModel(&m_list);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(640, 320);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLbl"));
    m_status->setWordWrap(true);

    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* play = button("PlayCmd", QStringLiteral("Play"));
    QPushButton* stop = button("StopCmd", QStringLiteral("Stop"));
    QPushButton* folder = button("OpenFolderCmd", QStringLiteral("Open Folder"));
    QPushButton* remove = button("DeleteCmd", QStringLiteral("Delete..."));
    QPushButton* close = button("CloseCmd", QStringLiteral("Close"));

    auto* filters = new QHBoxLayout;
    filters->addWidget(m_filter, 1);
    filters->addWidget(new QLabel(QStringLiteral("From"), this));
    filters->addWidget(dateBox("FromDate", &RecordingList::FromDate_Change));
    filters->addWidget(new QLabel(QStringLiteral("to"), this));
    filters->addWidget(dateBox("ToDate", &RecordingList::ToDate_Change));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {play, stop, folder, remove})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* column = new QVBoxLayout(this);
    column->addLayout(filters);
    column->addWidget(m_grid, 1);
    column->addWidget(m_status);
    column->addLayout(buttons);

    connect(m_filter, &QLineEdit::textEdited, &m_list, &RecordingList::FilterBox_Change);
    connect(play, &QPushButton::clicked, this, [this] { m_list.PlayCmd_Click(currentRow()); });
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { m_list.PlayCmd_Click(i.row()); });
    connect(stop, &QPushButton::clicked, &m_list, &RecordingList::StopCmd_Click);
    connect(folder, &QPushButton::clicked, &m_list, &RecordingList::OpenFolderCmd_Click);
    connect(remove, &QPushButton::clicked, this, [this] {
        QList<int> rows;
        for (const QModelIndex& i : m_grid->selectionModel()->selectedRows())
            rows << i.row();
        m_list.DeleteCmd_Click(rows);
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_list, &RecordingList::statusChanged, this, [this] { m_status->setText(m_list.StatusLbl()); });
    connect(&m_list, &QAbstractItemModel::modelReset, m_grid, &QTableView::resizeColumnsToContents);
}

QDateEdit* RecordingsWindow::dateBox(const char* name, void (RecordingList::*changed)(const QDate&))
{
    auto* box = new QDateEdit(this);
    box->setObjectName(QLatin1String(name));
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setMinimumDate(kAnyDay);
    box->setSpecialValueText(QStringLiteral("any day"));
    box->setDate(kAnyDay);
    connect(box, &QDateEdit::dateChanged, this, [this, changed](const QDate& d) { (m_list.*changed)(d == kAnyDay ? QDate() : d); });
    return box;
}

int RecordingsWindow::currentRow() const
{
    const QModelIndex i = m_grid->currentIndex();
    return i.isValid() ? i.row() : (m_list.rowCount() > 0 ? 0 : -1);
}

} // namespace vexlor::recording
