#include "app/ui/DirectSeekingFrame.h"

#include "app/ui/EntryBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace vexlor::app {

DirectSeekingFrame::DirectSeekingFrame(QWidget* parent)
    : QGroupBox(QStringLiteral("Direct Seeking"), parent)
{
    setObjectName(QStringLiteral("Frame4"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(5, 2, 5, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    auto* freq = new EntryBox(QStringLiteral("DirectFrequencyBox"), 8, this);
    freq->setToolTip(QStringLiteral("Type a frequency in MHz and press Enter"));
    grid->addWidget(new QLabel(QStringLiteral("Frequency"), this), 0, 0);
    grid->addWidget(freq, 0, 1);

    auto* channel = new EntryBox(QStringLiteral("ChannelBox"), 3, this);
    channel->setToolTip(QStringLiteral("Type a memory channel (1-300) and press Enter"));
    grid->addWidget(new QLabel(QStringLiteral("Freq Ch"), this), 0, 2);
    grid->addWidget(channel, 0, 3);

    auto* idRow = new QHBoxLayout;
    idRow->setSpacing(2);
    auto* list = new EntryBox(QStringLiteral("IDChannelBox"), 2, this);
    list->setToolTip(QStringLiteral("ID list (1-10), then Enter"));
    auto* slot = new EntryBox(QStringLiteral("IDChannelBoxII"), 2, this);
    slot->setToolTip(QStringLiteral("Slot in the list (1-10), then Enter"));
    idRow->addWidget(list);
    idRow->addWidget(new QLabel(QStringLiteral("-"), this));
    idRow->addWidget(slot);
    idRow->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("ID Ch"), this), 1, 0);
    grid->addLayout(idRow, 1, 1, 1, 3);
    grid->setColumnStretch(1, 1);
}

} // namespace vexlor::app

#include "moc_DirectSeekingFrame.cpp"
