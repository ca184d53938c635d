#include "controls/ui/FreqLockout.h"

#include "controls/LockoutReview.h"
#include "monitor/FreqLockoutList.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vexlor::controls {

namespace {
// The answers come one per poll tick or faster; this long without one, the read is over.
constexpr int kReadSettledMs = 1500;
} // namespace

FreqLockout::FreqLockout(LockoutReview& review, QWidget* parent)
    : QDialog(parent), m_review(review)
{
    setObjectName(QStringLiteral("FreqLockout"));
    setWindowTitle(QStringLiteral("L/O Freq."));
    setModal(false);

    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    auto* frame = new QGroupBox(QStringLiteral("Frequency List"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_list = new QListWidget(frame);
    m_list->setObjectName(QStringLiteral("FreqList1"));
    m_list->setFont(mono);
    m_list->setToolTip(QStringLiteral("Locked-out frequencies as the scanner sends them (100 Hz units)"));
    m_test = new QPlainTextEdit(frame);
    m_test->setObjectName(QStringLiteral("test"));
    m_test->setFont(mono);
    m_test->setReadOnly(true);
    m_test->setToolTip(QStringLiteral("The same frequencies in MHz"));
    auto* lists = new QHBoxLayout(frame);
    lists->addWidget(m_list);
    lists->addWidget(m_test);

    auto* hint = new QLabel(QStringLiteral("Double-Click to remove from the lock/out list."), this);
    hint->setObjectName(QStringLiteral("Label1"));
    m_wait = new QLabel(QStringLiteral("One moment please..."), this);
    m_wait->setObjectName(QStringLiteral("WaitLbl"));
    m_wait->setVisible(false);

    auto* read = new QPushButton(QStringLiteral("Command1"), this);
    read->setObjectName(QStringLiteral("Command1"));
    read->setToolTip(QStringLiteral("Read the list from the scanner again"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKCmd"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelCmd"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(read);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* column = new QVBoxLayout(this);
    column->addWidget(frame, 1);
    column->addWidget(hint);
    column->addWidget(m_wait);
    column->addLayout(buttons);
    resize(360, 300);

    m_quiet = new QTimer(this);
    m_quiet->setSingleShot(true);
    m_quiet->setInterval(kReadSettledMs);
    connect(m_quiet, &QTimer::timeout, m_wait, &QWidget::hide);

    connect(read, &QPushButton::clicked, &m_review, &LockoutReview::Command1_Click);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { m_review.FreqList1_DblClick(m_list->row(item)); });
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    // One redraw per turn of the event loop, however many lines that turn decoded:
    // a device streaming "SS" lines must not make the list rebuild for each.
    m_redraw = new QTimer(this);
    m_redraw->setSingleShot(true);
    m_redraw->setInterval(0);
    connect(m_redraw, &QTimer::timeout, this, &FreqLockout::render);
    connect(&m_review, &LockoutReview::changed, this, [this] {
        if (!m_redraw->isActive())
            m_redraw->start();
        if (m_wait->isVisible())
            m_quiet->start();
    });
    connect(&m_review, &LockoutReview::readingStarted, this, [this] {
        m_wait->show();
        m_quiet->start();
    });
    render();
}

void FreqLockout::render()
{
    const monitor::FreqLockoutList& l = m_review.list();
    if (l.FreqList1 != m_shownList) {
        m_shownList = l.FreqList1;
        m_list->clear();
        m_list->addItems(m_shownList);
    }
    if (l.test != m_shownTest) {
        m_shownTest = l.test;
        QString lines = m_shownTest;
        lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        m_test->setPlainText(lines);
    }
}

} // namespace vexlor::controls

#include "moc_FreqLockout.cpp"
