#include "utilities/ui/FrmHelp.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexlor::utilities {

FrmHelp::FrmHelp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));

    m_txtHelp = new QPlainTextEdit(this);
    m_txtHelp->setObjectName(QStringLiteral("txtHelp"));
    m_txtHelp->setReadOnly(true);
    m_txtHelp->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("bnClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_txtHelp, 1);
    column->addLayout(buttons);
    resize(520, 420);
}

void FrmHelp::Load(const QString& caption, const QString& text)
{
    hide();
    setWindowTitle(caption);
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_txtHelp->setPlainText(lines);
}

} // namespace vexlor::utilities

#include "moc_FrmHelp.cpp"
