#pragma once

#include <QLatin1String>
#include <QStringView>

// Recognisers for the receiver's answers that are not status lines.
namespace vexlor::link::reply {

// What the transaction returns when the receiver is offline or silent.
inline constexpr QLatin1String kTimeout {"ERR\r"};

bool isRefusal(QStringView reply); // "NG..."
bool isError(QStringView reply);   // "ERR...", the time-out result included
bool isFailure(QStringView reply); // either of the two
bool isOk(QStringView reply);      // "OK...": the ID was locked out
bool isOff(QStringView reply);     // "OFF...": the ID was not locked out

} // namespace vexlor::link::reply
