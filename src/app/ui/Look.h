#pragma once

#include <QColor>
#include <QFont>

class QLabel;

namespace vexlor::app {

// Fonts and colours shared by the windows of the application core.
QFont captionFont();
QFont modeFont();
// The seven-segment face of the frequency and ID readouts.
QFont readoutFont();
QColor lampOnColor();
QColor lampOffColor();

// A sunken, fixed-width panel for a value the receiver reports.
void styleReadout(QLabel* label, int minChars);
// A small sunken field for a secondary value (name, type, system).
void styleField(QLabel* label, int minChars);

} // namespace vexlor::app
