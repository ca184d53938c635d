#include "app/ui/TrunkingFrame.h"

#include "app/ui/FieldLabel.h"
#include "app/ui/LampLabel.h"
#include "app/ui/Look.h"
#include "app/ui/NameLabel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace vexlor::app {

namespace {

QLabel* field(const QString& name, int chars, QWidget* parent, const QString& tip, QLabel* l = nullptr)
{
    if (!l)
        l = new QLabel(parent);
    l->setObjectName(name);
    styleField(l, chars);
    l->setToolTip(tip);
    return l;
}

// The unlabelled row: the placeholder says what each field shows.
QLabel* unlabelled(FieldLabel* l, const QString& name, int chars, const QString& placeholder, const QString& tip)
{
    field(name, chars, l->parentWidget(), tip, l);
    l->setPlaceholderText(placeholder);
    return l;
}

} // namespace

TrunkingFrame::TrunkingFrame(QWidget* parent)
    : QGroupBox(QStringLiteral("Trunking"), parent)
{
    setObjectName(QStringLiteral("Frame3"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(5, 2, 5, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    auto* systemCaption = new QLabel(QStringLiteral("System"), this);
    grid->addWidget(systemCaption, 0, 0);
    grid->addWidget(field(QStringLiteral("SystemLbl"), 12, this, QStringLiteral("Trunking system")), 0, 1, 1, 3);

    grid->addWidget(new QLabel(QStringLiteral("Freq Bank"), this), 1, 0);
    auto* bank = field(QStringLiteral("FreqBankLbl"), 3, this, QStringLiteral("Trunk bank"));
    bank->setAlignment(Qt::AlignCenter);
    grid->addWidget(bank, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("ID Bank"), this), 1, 2);
    auto* idch = field(QStringLiteral("IDchLbl"), 5, this, QStringLiteral("Current ID channel: list-slot"));
    idch->setAlignment(Qt::AlignCenter);
    grid->addWidget(idch, 1, 3);

    // The ID held in the current ID channel, with its name and type.
    auto* held = new LampLabel(QString(), this);
    unlabelled(held, QStringLiteral("IDlbl_0"), 7, QStringLiteral("ID"),
               QStringLiteral("Talkgroup of the current ID channel; click to send the list selection again"));
    held->setAlignment(Qt::AlignCenter);
    m_idLamps[0] = held;
    grid->addWidget(held, 2, 0);
    grid->addWidget(unlabelled(new NameLabel(this), QStringLiteral("TrunkingNameLbl"), 12, QStringLiteral("ID name"),
                               QStringLiteral("Name of that talkgroup; right-click to change its font")),
                    2, 1, 1, 2);
    auto* type = unlabelled(new FieldLabel(this), QStringLiteral("TrunkingTypeLbl"), 5, QStringLiteral("type"),
                            QStringLiteral("Type of that talkgroup"));
    type->setAlignment(Qt::AlignCenter);
    grid->addWidget(type, 2, 3);

    auto* lists = new QHBoxLayout;
    lists->setSpacing(1);
    lists->addWidget(new QLabel(QStringLiteral("Lists"), this));
    for (int i = 1; i <= 10; ++i) {
        auto* lamp = new LampLabel(QString::number(i), this);
        lamp->setObjectName(QStringLiteral("IDlbl_%1").arg(i));
        lamp->setToolTip(QStringLiteral("ID list %1: red when scanned; click to switch").arg(i));
        lists->addWidget(lamp, 1);
        m_idLamps[std::size_t(i)] = lamp;
    }
    grid->addLayout(lists, 3, 0, 1, 4);
    // Every column takes a share of a wider window: the ID readout in the first grows with its text.
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

LampLabel* TrunkingFrame::idLamp(int index) const
{
    return index >= 0 && index <= 10 ? m_idLamps[std::size_t(index)] : nullptr;
}

} // namespace vexlor::app

#include "moc_TrunkingFrame.cpp"
