#include "link/Replies.h"

namespace vexlor::link::reply {

bool isRefusal(QStringView reply) { return reply.startsWith(QLatin1String("NG")); }
bool isError(QStringView reply) { return reply.startsWith(QLatin1String("ERR")); }
bool isFailure(QStringView reply) { return isRefusal(reply) || isError(reply); }
bool isOk(QStringView reply) { return reply.startsWith(QLatin1String("OK")); }
bool isOff(QStringView reply) { return reply.startsWith(QLatin1String("OFF")); }

} // namespace vexlor::link::reply
