#pragma once

namespace vexlor::simulator {

// Misbehaviour on demand, applied by the pseudo-terminal endpoint.
// Zero everywhere is a well-behaved receiver on an instant line.
struct FaultOptions {
    int baud = 0;           // pace both directions at baud/10 bytes a second; 0: as fast as the tty takes it
    int rxBuffer = 64;      // with a baud rate: the receiver's input buffer, in bytes
    int latencyMs = 0;      // delay before each reply
    int silentAfterMs = 0;  // live this long, then
    int silentForMs = 0;    // answer nothing and write nothing this long; repeats
    double ngFraction = 0;  // share of commands refused with "NG" instead of being carried out
    double errFraction = 0; // share answered "ERR" instead
    int splitBytes = 0;     // write replies in pieces of this many bytes
    int splitGapMs = 20;    // pause between the pieces
    double garbage = 0;     // share of written lines preceded by a few random bytes
    int dropAfterMs = 0;    // live this long, then
    int dropForMs = 0;      // hang up the line this long and come back on a new tty; repeats
};

} // namespace vexlor::simulator
