#include "utilities/ui/HelpWindow.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexlor::utilities {

HelpWindow::HelpWindow(const QString& name, const QString& caption, const QString& text, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(false);
    auto* box = new QPlainTextEdit(text, this);
    box->setObjectName(QStringLiteral("Text1"));
    box->setReadOnly(true);
    // The type list is tab-indented: a short indent, not the default eighty pixels.
    box->setTabStopDistance(4 * box->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKCmd"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* column = new QVBoxLayout(this);
    column->addWidget(box, 1);
    column->addLayout(buttons);
    resize(480, 360);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
}

} // namespace vexlor::utilities

#include "moc_HelpWindow.cpp"
