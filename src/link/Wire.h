#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

// The small text conventions of the receiver's line, shared by every layer.
namespace vexlor::link::wire {

// Leading numeric part of a text ("5 s" is 5, " 12" is 12, "x" is 0),
// the lenient conversion used for every numeric field.
double leadingNumber(QStringView text);
int leadingInt(QStringView text);
// The whole text as one decimal number, blanks around it allowed ("+5", "061",
// "4.6", ".5"); nullopt for anything else ("1e2", "5x", "", a value too big for
// a double). hasPoint, when given, tells whether the text has a decimal point.
std::optional<double> wholeNumber(QStringView text, bool* hasPoint = nullptr);

// MHz as "000.0000".
QString formatMHz(double mhz);
// Eight digits in units of 100 Hz, rounded: 146.51999 gives 01465200.
QString wireFrequency(double mhz);
// An eight-digit wire field shown as "000.0000".
QString frequencyFromWire(QStringView digits);
// "000.0000" text back to wire digits; an empty text gives "00000000".
QString wireFromFormatted(QStringView formatted);

// "A".."J" for 1..10 (code 64 + n).
QChar bankLetter(int n);
// 1..10 for "A".."J", 0 for anything else.
int bankNumber(QChar letter);
// Position 1..10 in an ID list; 10 is written "0".
QChar slotDigit(int position);
// "0" means 10.
int slotPosition(QChar digit);

QString digits(int value, int width);

} // namespace vexlor::link::wire
