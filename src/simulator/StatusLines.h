#pragma once

#include "simulator/MemoryState.h"

#include <QByteArray>

#include <array>

// The receiver's status lines, each field at the position the program reads.
namespace vexlor::simulator::lines {

// Centre of the tuning offset field: the signal is on frequency.
constexpr int kCentredOffset = 110;

QByteArray id6(int id);
QByteArray freq8(qint32 units);

// "C001 F01183500 TF DN LF AF RF N000"
QByteArray channel(int number, const MemoryState::Channel& c);
// "W110 F01462000"
QByteArray frequency(int offset, qint32 units);
// "DLN", "LOF", ...
QByteArray flag(const char* name, bool on);
// "MUN", "MUF", "MUA"
QByteArray audio(char state);
// "SB ACJ", "IS AB"
QByteArray letters(const char* name, const std::array<bool, 10>& on);
// "LL01440000"
QByteArray limit(const char* name, qint32 units);
QByteArray mode(int code);
// "PC A001"
QByteArray priority(int bank, int channel);
// "TB D E2-800    ": ten characters of system text
QByteArray trunkBank(int bank, int trunkType);
// "IC A1 002032"; position 10 is written "0"
QByteArray idChannel(int list, int position, int id);
// "ID S 002032", "ID E 002032"
QByteArray talkgroup(bool start, int id);
// "SS 01462000"
QByteArray searchLockout(qint32 units);

} // namespace vexlor::simulator::lines
