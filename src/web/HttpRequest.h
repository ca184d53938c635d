#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <utility>

namespace vexlor::web {

// One HTTP/1.1 request as a client sent it: names of headers in lower case,
// values without outer blanks, the target split at its "?".
struct HttpRequest {
    QByteArray method;
    QByteArray path;
    QByteArray query;
    QByteArray version; // "HTTP/1.1" or "HTTP/1.0"
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // The first header of that name (given in lower case); empty when there is none.
    QByteArray header(QByteArrayView name) const;
    bool hasHeader(QByteArrayView name) const;
    // A cookie of the Cookie header; empty when there is none.
    QByteArray cookie(QByteArrayView name) const;
    // Upgrade: websocket, with Connection naming upgrade.
    bool wantsWebSocket() const;
    // HTTP/1.1 unless "Connection: close"; HTTP/1.0 only with "Connection: keep-alive".
    bool keepAlive() const;
};

} // namespace vexlor::web
