#include "app/ui/SearchingFrame.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vexlor::app {

SearchingFrame::SearchingFrame(QWidget* parent)
    : ClickableFrame(QStringLiteral("Searching"), parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setToolTip(QStringLiteral("Click the frame to read the limits from the scanner"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(5, 2, 5, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    auto limitBox = [this](const QString& name, const QString& tip) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setToolTip(tip);
        box->setMaxLength(16);
        box->setFixedWidth(QFontMetrics(box->font()).horizontalAdvance(QStringLiteral("0000.00000")) + 8);
        return box;
    };
    grid->addWidget(new QLabel(QStringLiteral("Limits "), this), 0, 0, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Lower"), this), 0, 1);
    grid->addWidget(limitBox(QStringLiteral("LLbox"), QStringLiteral("Lower search limit in MHz")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Upper"), this), 1, 1);
    grid->addWidget(limitBox(QStringLiteral("LUbox"), QStringLiteral("Upper search limit in MHz")), 1, 2);

    auto* apply = new QPushButton(QStringLiteral("Upload it"), this);
    apply->setObjectName(QStringLiteral("ApplyLimit"));
    apply->setToolTip(QStringLiteral("Send both limits to the scanner"));
    grid->addWidget(apply, 0, 3, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    grid->setColumnStretch(3, 1);
}

} // namespace vexlor::app

#include "moc_SearchingFrame.cpp"
