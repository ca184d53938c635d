#pragma once

#include <QLatin1String>
#include <QString>

#include <initializer_list>

namespace vexlor::link {

class ScannerLink;

namespace reply {
// What a repeated command yields once its time is up.
inline constexpr QLatin1String kFailure {"FAILURE"};
} // namespace reply

// Repeats the transaction while the reply is a refusal ("NG") or an error
// ("ERR"), until the serial time-out has passed since the first try; then
// "FAILURE". A link that is shutting down or a line that is down fails at once.
QString RetrySyncOut(ScannerLink& link, const QString& command);

// The same, but only a reply that starts with one of `wanted` ends it: any
// other answer is tried again within the same time-out, so a receiver that
// keeps answering something unexpected still ends in "FAILURE".
QString RetryUntil(ScannerLink& link, const QString& command, std::initializer_list<QLatin1String> wanted);

} // namespace vexlor::link
