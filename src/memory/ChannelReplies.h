#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace vexlor::memory {

class ChannelTable;

// The "C" lines a bank read collects, and the frequency texts the editors take.
namespace channels {

// Lines kept from a read's replies, and how many of them are decoded.
constexpr int kMaxReplyLines = 150;
constexpr int kDecodedLines = 140;

// Splits the collected text at every CR and fills frequency, delay,
// lock-out and mode of each channel first..last that a well-formed "C" line
// names, from its first such line. Names and types stay. Lines for other
// channels (the poll's report of the channel the receiver is on looks the
// same), short or garbled lines are skipped. Returns the channels filled.
int decodeReplies(QStringView collected, ChannelTable& channels, int first, int last);

// One "C" line: positions 2-4 channel, 7-14 frequency, 17 trunk, 20 delay,
// 23 lock-out (1-based). False when the line is not one.
struct ChannelLine {
    int channel = 0;
    QString frequency; // "000.0000"
    bool trunk = false;
    bool delay = false;
    bool lockout = false;
};
std::optional<ChannelLine> parseLine(QStringView line);
// Frequency, flags and mode of one channel; its name and type stay.
void fill(const ChannelLine& line, ChannelTable& table);

// A typed frequency as the tables keep it. A comma counts as the decimal
// point; a whole number of 1000 or more is in 100 Hz units (1544300 is
// 154.4300). A text that is no number is kept as typed; the empty text
// stays empty. nullopt for a number the receiver cannot hold (negative,
// or 1000 MHz and above): it would not fit the store's eight digits.
std::optional<QString> frequencyEntry(QStringView typed);

// Empty when the receiver can hold a typed frequency (the empty text and
// 0 included); otherwise why not, in words for the operator.
QString frequencyRefusal(QStringView typed);

// Zero frequency: the empty text or a number that reads as 0.
bool isZeroFrequency(const QString& frequency);

// Eight wire digits for an upload: a text that is no number sends zeros.
QString uploadDigits(const QString& frequency);

} // namespace channels
} // namespace vexlor::memory
