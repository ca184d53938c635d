#pragma once

#include <QString>

// The frequencies the receiver can hold, in the wire's 100 Hz units.
namespace vexlor::link::plan {

// 29-54, 108-174, 406-512 and 806-956 MHz, without the two cellular blocks.
bool inBand(qint64 units);
// On a 5 kHz step, or a 6.25 kHz one as four decimals show it (rounded
// either way: 460.0062 and 460.0063 both name 460.00625 MHz).
bool onStep(qint64 units);
// Empty when the receiver takes it (0 included: a channel never filled);
// otherwise why not, in words for the operator.
QString refusal(qint64 units);

} // namespace vexlor::link::plan
