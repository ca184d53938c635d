#include "memory/ui/EditorWidgets.h"

#include "memory/MemoryTables.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace vexlor::memory::editor {

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QGroupBox* sourceFrame(const QString& title, const QString& note, QRadioButton** option1, QRadioButton** option2,
                       QWidget* parent)
{
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(QStringLiteral("Frame2"));
    *option1 = new QRadioButton(QStringLiteral("Scanner*"), frame);
    (*option1)->setObjectName(QStringLiteral("Option1"));
    *option2 = new QRadioButton(QStringLiteral("File"), frame);
    (*option2)->setObjectName(QStringLiteral("Option2"));
    auto* text = label(QStringLiteral("Label6"), note, frame);
    QFont italic = text->font();
    italic.setItalic(true);
    text->setFont(italic);
    text->setWordWrap(true);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(*option1, 0, 0);
    grid->addWidget(*option2, 0, 1);
    grid->addWidget(text, 1, 0, 1, 2);
    return frame;
}

QGroupBox* sendFrame(const QString& title, QPushButton* sendCmd, QWidget* parent)
{
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(QStringLiteral("Frame3"));
    sendCmd->setParent(frame);
    sendCmd->setIcon(frame->style()->standardIcon(QStyle::SP_ArrowUp));
    auto* column = new QVBoxLayout(frame);
    column->addWidget(sendCmd);
    column->addStretch(1);
    return frame;
}

void focusChild(QWidget* window, const QString& name)
{
    if (auto* w = window->findChild<QWidget*>(name))
        w->setFocus();
}

QLineEdit* lineBox(const QString& name, int maxLength, int widthChars, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    if (widthChars > 0)
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(widthChars, QLatin1Char('0'))) + 16);
    return box;
}

QComboBox* numberCombo(const QString& name, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (int n = 1; n <= MemoryTables::kBanks; ++n)
        combo->addItem(QString::number(n));
    combo->setCurrentIndex(-1);
    return combo;
}

QComboBox* typeCombo(const QString& name, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->addItems(MemoryTables::typeCodeList());
    // The logic decides what a typed code means; the combo neither adds it nor completes it.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->lineEdit()->setMaxLength(3);
    combo->setCurrentIndex(-1);
    combo->setMinimumContentsLength(4);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

QToolButton* imageButton(const QString& name, QStyle::StandardPixmap icon, const QString& tip, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(b->style()->standardIcon(icon));
    b->setIconSize(QSize(24, 24));
    b->setToolTip(tip);
    b->setAutoRaise(false);
    return b;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void renderText(QLineEdit* box, const QString& text)
{
    if (box->text() == text)
        return;
    const QSignalBlocker block(box);
    box->setText(text);
}

void renderEditText(QComboBox* combo, const QString& text)
{
    if (combo->currentText() == text)
        return;
    const QSignalBlocker block(combo);
    const QSignalBlocker blockEdit(combo->lineEdit());
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(text);
}

void renderChoice(QComboBox* combo, int index)
{
    if (combo->currentIndex() == index)
        return;
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
}

void renderChecked(QAbstractButton* box, bool checked)
{
    if (box->isChecked() == checked)
        return;
    const QSignalBlocker block(box);
    box->setChecked(checked);
}

void renderRadios(QRadioButton* first, bool firstOn, QRadioButton* second, bool secondOn)
{
    if (first->isChecked() == firstOn && second->isChecked() == secondOn)
        return;
    // An exclusive pair cannot show both off otherwise.
    first->setAutoExclusive(false);
    second->setAutoExclusive(false);
    renderChecked(first, firstOn);
    renderChecked(second, secondOn);
    first->setAutoExclusive(true);
    second->setAutoExclusive(true);
}

} // namespace vexlor::memory::editor
