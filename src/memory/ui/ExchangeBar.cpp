#include "memory/ui/ExchangeBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

namespace vexlor::memory {

namespace {
// The grid must not jump when an exchange starts or ends.
void keepRoomWhenHidden(QWidget* w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
    w->hide();
}
} // namespace

ExchangeBar::ExchangeBar(QWidget* parent)
    : QWidget(parent)
{
    m_wait = new QLabel(this);
    m_wait->setObjectName(QStringLiteral("WaitLbl"));
    QFont bold = m_wait->font();
    bold.setBold(true);
    m_wait->setFont(bold);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ReadProgressBar"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setMaximumWidth(160);
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setObjectName(QStringLiteral("StopCmd"));
    m_stop->setToolTip(QStringLiteral("Stop the upload after the command in flight"));
    m_stop->setAutoDefault(false);
    m_stop->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
    for (QWidget* w : {static_cast<QWidget*>(m_wait), static_cast<QWidget*>(m_progress), static_cast<QWidget*>(m_stop)})
        keepRoomWhenHidden(w);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_wait, 1);
    row->addWidget(m_progress);
    row->addWidget(m_stop);

    connect(m_stop, &QPushButton::clicked, this, &ExchangeBar::stopClicked);
}

void ExchangeBar::render(bool waitVisible, const QString& waitText, bool progressVisible, int progress, bool uploading)
{
    m_wait->setText(waitText);
    m_wait->setVisible(waitVisible);
    m_progress->setValue(progress);
    m_progress->setVisible(progressVisible);
    m_stop->setVisible(uploading);
    m_stop->setEnabled(uploading);
}

} // namespace vexlor::memory

#include "moc_ExchangeBar.cpp"
