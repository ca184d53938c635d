#pragma once

#include <QStyle>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QString;
class QToolButton;
class QWidget;

// Building and rendering the editor controls both directory windows share.
// Rendering blocks the control's signals, since its change handler calls the
// logic, and touches only what differs, so the caret stays where the user types.
namespace vexlor::memory::editor {

// widthChars 0: as wide as the layout makes it.
QLineEdit* lineBox(const QString& name, int maxLength, int widthChars, QWidget* parent);
// "1" .. "10".
QComboBox* numberCombo(const QString& name, QWidget* parent);
// The type codes, editable up to three characters.
QComboBox* typeCombo(const QString& name, QWidget* parent);
QToolButton* imageButton(const QString& name, QStyle::StandardPixmap icon, const QString& tip, QWidget* parent);
// A button that Enter in a text box must not press.
QPushButton* button(const QString& name, const QString& caption, QWidget* parent);

void renderText(QLineEdit* box, const QString& text);
void renderEditText(QComboBox* combo, const QString& text);
// index -1: nothing chosen.
void renderChoice(QComboBox* combo, int index);
void renderChecked(QAbstractButton* box, bool checked);
void renderRadios(QRadioButton* first, bool firstOn, QRadioButton* second, bool secondOn);

} // namespace vexlor::memory::editor
