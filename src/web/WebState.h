#pragma once

#include <QByteArray>
#include <QJsonObject>

namespace vexlor::monitor {
struct MainDisplayState;
}

namespace vexlor::web::state {

// What a browser shows of the receiver, as JSON: the readouts by plain
// names, the indicators, the lamps and the active banks and lists.
QJsonObject fromDisplay(const monitor::MainDisplayState& d);
// The members of `after` that differ from `before`, and null for those it lost.
QJsonObject changed(const QJsonObject& before, const QJsonObject& after);
// One WebSocket message: {"type": type, "data": data}, compact.
QByteArray message(const char* type, const QJsonObject& data);

} // namespace vexlor::web::state
