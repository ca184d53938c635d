#pragma once

#include "memory/Cell.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace vexlor::memory {
class ChannelTable;
class IDTable;
}

// The fixed-length records of bank.dat and idbank.dat, as pure functions on bytes.
namespace vexlor::memory::records {

constexpr int kChannelRecordSize = 68;
constexpr int kIDRecordSize = 65;
constexpr int kBankTextMax = 61; // what fits after the tag and the length
constexpr int kChannelRecords = 300;
constexpr int kIDRecords = 1000;
constexpr int kBankNameRecord = 1000; // + bank
constexpr int kBankTypeRecord = 1010; // + bank
constexpr int kIDBankRecords = 1020;

constexpr quint16 kTagNone = 0;
constexpr quint16 kTagText = 8;

// Single-byte text: one byte per character, "?" for anything outside Latin-1.
QByteArray latin1(QStringView text);
// Cut to width and padded with blanks.
QByteArray field(QStringView text, int width);

// Record n of bank.dat from row n of the table.
QByteArray encodeChannel(const ChannelTable& channels, int row);
// Fills row n from a record when it passes the validity rules; a short record
// reads as if its missing bytes were zero. Returns whether it was valid.
bool decodeChannel(QByteArrayView record, ChannelTable& channels, int row);

// The reserved field is written blank and read as nothing: column 5 holds
// upload marks, which live in memory only.
QByteArray encodeIDSlot(const IDTable& ids, int bank, int slot);
bool decodeIDSlot(QByteArrayView record, IDTable& ids, int bank, int slot);

// Tag 0 for a value never set, tag 8 with the length for a text; the rest of
// the record zero. nullopt when the text does not fit.
std::optional<QByteArray> encodeBankText(const Cell& value);
// A record whose tag is neither 0 nor 8, or whose length does not fit, reads as no value.
Cell decodeBankText(QByteArrayView record);

} // namespace vexlor::memory::records
