#include "controls/ui/IDLockout.h"

#include "controls/IdLockoutReview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vexlor::controls {

IDLockout::IDLockout(IdLockoutReview& review, QWidget* parent)
    : QDialog(parent), m_review(review)
{
    setObjectName(QStringLiteral("IDLockout"));
    setWindowTitle(QStringLiteral("L/O ID"));
    setModal(false);

    m_bank = new QLabel(this);
    m_bank->setObjectName(QStringLiteral("BankLbl"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("IDList"));
    m_list->setHeaderLabels({QStringLiteral("Ch"), QStringLiteral("ID"), QStringLiteral("Type"), QStringLiteral("Name")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setStretchLastSection(true);
    m_list->setToolTip(QStringLiteral("Talkgroups marked locked out in the ID directory of this bank"));

    auto* hint = new QLabel(QStringLiteral("Double-Click to remove from the lock/out list."), this);
    hint->setObjectName(QStringLiteral("Label1"));

    auto* refresh = new QPushButton(QStringLiteral("&Refresh"), this);
    refresh->setObjectName(QStringLiteral("RefreshCmd"));
    refresh->setToolTip(QStringLiteral("List the bank now on display"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKCmd"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(refresh);
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_bank);
    column->addWidget(m_list, 1);
    column->addWidget(hint);
    column->addLayout(buttons);
    resize(420, 320);

    connect(refresh, &QPushButton::clicked, &m_review, &IdLockoutReview::IDLockOutMnu_Click);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_review.IDList_DblClick(m_list->indexOfTopLevelItem(item));
    });
    connect(&m_review, &IdLockoutReview::changed, this, &IDLockout::render);
    render();
}

void IDLockout::render()
{
    const int bank = m_review.bank();
    const auto& entries = m_review.entries();
    if (bank == 0)
        m_bank->setText(QStringLiteral("No trunk bank is on display: put the scanner in a trunking mode first."));
    else if (entries.isEmpty())
        m_bank->setText(QStringLiteral("Bank %1: no ID is locked out.").arg(bank));
    else
        m_bank->setText(QStringLiteral("Bank %1: %2 ID(s) locked out.").arg(bank).arg(entries.size()));

    m_list->clear();
    for (const IdLockoutReview::Entry& e : entries)
        m_list->addTopLevelItem(new QTreeWidgetItem(QStringList {e.label, e.id, e.type, e.name}));
    for (int c = 0; c < 3; ++c)
        m_list->resizeColumnToContents(c);
}

} // namespace vexlor::controls

#include "moc_IDLockout.cpp"
