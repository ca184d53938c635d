#include "controls/ui/Keypad.h"

#include "controls/Keypad.h"
#include "link/KeyMap.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace vexlor::controls {

namespace {
constexpr int kButtonWidth = 58;
constexpr int kButtonHeight = 30;
} // namespace

Keypad::Keypad(KeypadSender& sender, QWidget* parent) : QWidget(parent, Qt::Window), m_sender(sender)
{
    setObjectName(QStringLiteral("keypad"));
    setWindowTitle(QStringLiteral("Virtual Keypad"));

    // Digits as on the receiver, "." and "E" beside 0; each with its legend above.
    auto* digits = new QGridLayout;
    digits->setSpacing(3);
    digits->setVerticalSpacing(0);
    auto place = [&](QWidget* legendLabel, QWidget* button, int row, int col) {
        digits->addWidget(legendLabel, row * 2, col);
        digits->addWidget(button, row * 2 + 1, col);
        digits->setRowMinimumHeight(row * 2 + 1, kButtonHeight + 4);
    };
    for (int d = 1; d <= 9; ++d)
        place(makeLegend(d, digitLegend(d)), makeKey(d), (d - 1) / 3, (d - 1) % 3);
    place(makeLegend(10, QStringLiteral("ATT")), makeDkey(3), 3, 0);
    place(makeLegend(0, digitLegend(0)), makeKey(0), 3, 1);
    place(makeLegend(11, QStringLiteral("---")), makeDkey(4), 3, 2);

    // Function keys in pairs, by what they do: scanning, searching, holding, settings.
    auto* functions = new QGridLayout;
    functions->setSpacing(3);
    const int pairs[][2] = {{0, 1}, {9, 10}, {13, 7}, {8, 6}, {5, 11}, {12, 14}};
    int row = 0;
    for (const auto& p : pairs) {
        for (int c = 0; c < 2; ++c) {
            QPushButton* b = makeDkey(p[c]);
            if (p[c] == 5) {
                auto* withLegend = new QHBoxLayout;
                withLegend->setSpacing(2);
                withLegend->addWidget(b);
                withLegend->addWidget(makeLegend(12, QStringLiteral("Turbo")));
                functions->addLayout(withLegend, row, c * 2, 1, 2);
            } else {
                functions->addWidget(b, row, c * 2, 1, 2);
            }
        }
        ++row;
    }

    auto* all = new QHBoxLayout(this);
    all->setContentsMargins(8, 6, 8, 8);
    all->setSpacing(14);
    all->addLayout(digits);
    all->addLayout(functions);
    setFixedSize(sizeHint());
}

QPushButton* Keypad::dkey(int index) const
{
    return index >= 0 && index < int(m_dkeys.size()) ? m_dkeys[size_t(index)] : nullptr;
}

QPushButton* Keypad::key(int digit) const
{
    return digit >= 0 && digit <= 9 ? m_keys[size_t(digit)] : nullptr;
}

QPushButton* Keypad::makeDkey(int index)
{
    auto* b = new QPushButton(dkeyCaption(index), this);
    b->setObjectName(QStringLiteral("dkey_%1").arg(index));
    b->setMinimumSize(kButtonWidth, kButtonHeight);
    connect(b, &QPushButton::clicked, this, [this, index] { m_sender.dkey_Click(index); });
    b->installEventFilter(this);
    m_dkeys[size_t(index)] = b;
    return b;
}

QPushButton* Keypad::makeKey(int digit)
{
    auto* b = new QPushButton(QString::number(digit), this);
    b->setObjectName(QStringLiteral("key_%1").arg(digit));
    b->setMinimumSize(kButtonWidth, kButtonHeight);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    connect(b, &QPushButton::clicked, this, [this, digit] { m_sender.key_Click(digit); });
    b->installEventFilter(this);
    m_keys[size_t(digit)] = b;
    return b;
}

QLabel* Keypad::makeLegend(int index, const QString& text)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(QStringLiteral("Label1_%1").arg(index));
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.8);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: #1f4e9a;"));
    return l;
}

bool Keypad::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QWidget::eventFilter(watched, event);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true; // unmapped, so they do nothing here either
    default: return QWidget::eventFilter(watched, event);
    }
}

void Keypad::keyPressEvent(QKeyEvent* event)
{
    QChar typed;
    if (event->key() == Qt::Key_Escape)
        typed = link::kEscape;
    else if (event->text().size() == 1)
        typed = event->text().front();
    const auto mapped = link::keypadKeyFor(typed);
    if (!mapped) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (mapped->kind) {
    case link::KeypadKey::Kind::Close: close(); break;
    case link::KeypadKey::Kind::Function:
        if (QPushButton* b = dkey(mapped->index))
            b->click();
        break;
    case link::KeypadKey::Kind::Digit:
        if (QPushButton* b = key(mapped->index))
            b->click();
        break;
    }
}

} // namespace vexlor::controls

#include "moc_Keypad.cpp"
