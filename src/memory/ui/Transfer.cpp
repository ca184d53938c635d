#include "memory/ui/Transfer.h"

#include "memory/TaggedTextTransfer.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace vexlor::memory {

Transfer::Transfer(TaggedTextTransfer& logic, QWidget* parent)
    : QWidget(parent, Qt::Window), m_logic(logic)
{
    setObjectName(QStringLiteral("Transfer"));
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("TransferLbl"));
    m_text->setMinimumWidth(320);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("TransferBar"));
    m_bar->setFormat(QStringLiteral("%v of %m"));
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setObjectName(QStringLiteral("StopCmd"));
    m_stop->setToolTip(QStringLiteral("Stop after the command in flight; the scanner is released"));
    m_stop->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_text);
    column->addWidget(m_bar);
    column->addWidget(m_stop, 0, Qt::AlignRight);

    connect(m_stop, &QPushButton::clicked, &m_logic, &TaggedTextTransfer::stop);
    connect(&m_logic, &TaggedTextTransfer::changed, this, &Transfer::render);
    render();
}

void Transfer::render()
{
    const TransferState& s = m_logic.state();
    setWindowTitle(s.caption);
    m_text->setText(s.text);
    m_bar->setRange(0, std::max(1, s.total));
    m_bar->setValue(std::min(s.done, std::max(1, s.total)));
    if (s.visible && !isVisible()) {
        show();
        raise();
    } else if (!s.visible && isVisible()) {
        hide();
    }
}

void Transfer::closeEvent(QCloseEvent* event)
{
    // While the work runs the window stays; the work ends, then it hides itself.
    if (m_logic.state().visible) {
        m_logic.stop();
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace vexlor::memory

#include "moc_Transfer.cpp"
