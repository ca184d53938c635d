#include "monitor/ui/SmartView.h"

#include "link/KeyMap.h"
#include "monitor/CompactDisplay.h"
#include "monitor/CompactView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexlor::monitor {

namespace {
QLabel* legend(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}
} // namespace

SmartView::SmartView(CompactView& view, CompactDisplay& display, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_view(view), m_display(display)
{
    setObjectName(QStringLiteral("SmartView"));
    setWindowTitle(defaultCaption());
    // Topmost without taking the focus from whatever the operator works in.
    // Qt::WindowDoesNotAcceptFocus is left out: the view could then never be
    // given the focus, and its keyboard would be dead.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::StrongFocus);
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    f.setBold(true);
    setFont(f);

    m_mode = readout("ModeLbl", 18);
    m_name = readout("NameLbl", 16);
    m_type = readout("TypeLbl", 3);
    m_idName = readout("IDNameLbl", 16);
    m_idType = readout("IDTypeLbl", 3);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    grid->addWidget(legend(QStringLiteral("Mode"), this), 0, 0);
    grid->addWidget(m_mode, 0, 1, 1, 2);
    grid->addWidget(legend(QStringLiteral("Fr"), this), 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->addWidget(m_type, 1, 2);
    grid->addWidget(legend(QStringLiteral("ID"), this), 2, 0);
    grid->addWidget(m_idName, 2, 1);
    grid->addWidget(m_idType, 2, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    struct Control {
        const char* name;
        const char* caption;
        void (CompactView::*handler)();
    };
    static const Control kControls[] = {
        {"ScanCmd", "&Scan", &CompactView::ScanCmd_Click},
        {"ManCmd", "&Man", &CompactView::ManCmd_Click},
        {"SearchCmd", "S&rch", &CompactView::SearchCmd_Click},
        {"HoldCmd", "&Hold-ID", &CompactView::HoldCmd_Click},
        {"KeypadCmd", "&Key", &CompactView::KeypadCmd_Click},
        {"PopUpLbl", "Pop&Up", &CompactView::PopUpLbl_Click},
    };
    for (const Control& c : kControls) {
        QPushButton* b = button(c.name, c.caption);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, &m_view, c.handler);
    }

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    column->addLayout(grid);
    column->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(&m_display, &CompactDisplay::changed, this, &SmartView::render);
    connect(&m_view, &CompactView::raiseRequested, this, [this] {
        if (isVisible())
            raise();
    });
    render();
}

QString SmartView::defaultCaption() { return QStringLiteral("SmartView Mode - Vexlor"); }

QLabel* SmartView::readout(const char* name, int chars)
{
    auto* l = new QLabel(this);
    l->setObjectName(QLatin1String(name));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('W')) * chars / 2 + 8);
    // Hidden readouts keep their place, so the view does not jump about.
    QSizePolicy p = l->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    l->setSizePolicy(p);
    return l;
}

QPushButton* SmartView::button(const char* name, const char* caption)
{
    auto* b = new QPushButton(QLatin1String(caption), this);
    b->setObjectName(QLatin1String(name));
    // The view keeps the focus, so every typed character reaches its mapping.
    b->setFocusPolicy(Qt::NoFocus);
    // Narrower than the style's usual push button: the view is meant to be small.
    QString plain = b->text();
    plain.remove(QLatin1Char('&'));
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(plain) + 16);
    return b;
}

void SmartView::render()
{
    const CompactDisplayState& s = m_display.s;
    m_mode->setText(s.ModeLbl);
    m_name->setText(s.NameLbl);
    m_type->setText(s.TypeLbl);
    m_idName->setText(s.IDNameLbl);
    m_idType->setText(s.IDTypeLbl);
    m_name->setVisible(s.NameLblVisible);
    m_type->setVisible(s.TypeLblVisible);
    m_idName->setVisible(s.IDNameLblVisible);
    m_idType->setVisible(s.IDTypeLblVisible);
    setWindowTitle(s.caption.isEmpty() ? defaultCaption() : s.caption);
    if (s.shown != isVisible())
        setVisible(s.shown);
}

void SmartView::keyPressEvent(QKeyEvent* event)
{
    QChar typed;
    if (event->key() == Qt::Key_Escape)
        typed = link::kEscape;
    else if (event->text().size() == 1)
        typed = event->text().front();
    const CompactView::Key key = CompactView::keyFor(typed);
    if (key.action == CompactView::Key::Action::None) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_view.KeyPress(key);
}

void SmartView::closeEvent(QCloseEvent* event)
{
    // The close box leaves the view as Esc does.
    m_view.closeView();
    event->accept();
}

} // namespace vexlor::monitor

#include "moc_SmartView.cpp"
