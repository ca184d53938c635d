#pragma once

#include <QStyle>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
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

QLabel* label(const QString& name, const QString& text, QWidget* parent);
// The "Scanner*" and "File" choice with its note below, as frame Frame2.
QGroupBox* sourceFrame(const QString& title, const QString& note, QRadioButton** option1, QRadioButton** option2,
                       QWidget* parent);
// The upload button alone in frame Frame3.
QGroupBox* sendFrame(const QString& title, QPushButton* sendCmd, QWidget* parent);

// widthChars 0: as wide as the layout makes it.
QLineEdit* lineBox(const QString& name, int maxLength, int widthChars, QWidget* parent);
// "1" .. "10".
QComboBox* numberCombo(const QString& name, QWidget* parent);
// The type codes, editable up to three characters.
QComboBox* typeCombo(const QString& name, QWidget* parent);
QToolButton* imageButton(const QString& name, QStyle::StandardPixmap icon, const QString& tip, QWidget* parent);
// A button that Enter in a text box must not press.
QPushButton* button(const QString& name, const QString& caption, QWidget* parent);

// The logic names the control that gets the focus.
void focusChild(QWidget* window, const QString& name);

void renderText(QLineEdit* box, const QString& text);
void renderEditText(QComboBox* combo, const QString& text);
// index -1: nothing chosen.
void renderChoice(QComboBox* combo, int index);
void renderChecked(QAbstractButton* box, bool checked);
void renderRadios(QRadioButton* first, bool firstOn, QRadioButton* second, bool secondOn);

} // namespace vexlor::memory::editor
