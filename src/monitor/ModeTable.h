#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The receiver's operating modes: captions and the classes other code
// branches on. The bounds are exact; callers rely on them.
namespace vexlor::monitor {

// The code field of an "MD" line read by value (" 5" and "5" are 5).
int modeCode(QStringView field);

// None for 14, 20 and unknown codes: the caption on display then stays.
std::optional<QString> modeCaption(int code);

bool clearsIdReadouts(int code);       // below 6
bool isTrunking(int code);             // 6..19
bool measuresWithoutChannel(int code); // search and direct: 2..5 or 21
bool suppressesChannelLog(int code);   // 9..18
bool popsUpWithSquelch(int code);      // below 9
bool popsUpWithCalls(int code);        // above 9
bool isHold(int code);                 // 1, 3, 10, 16

} // namespace vexlor::monitor
