#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>

#include <utility>

namespace vexlor::web {

// One response. Every one carries the security headers: a Content-Security-Policy
// that allows nothing from elsewhere, no sniffing, no framing, no caching.
struct HttpResponse {
    int status = 200;
    QByteArray contentType = "text/plain; charset=utf-8";
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers; // besides those every response has
    bool close = false;

    static HttpResponse json(int status, const QJsonObject& body);
    // {"error": text}
    static HttpResponse error(int status, const QString& text);

    // The bytes on the wire; a HEAD request gets the head alone.
    QByteArray bytes(bool headOnly = false) const;
    static QByteArray reason(int status);
};

} // namespace vexlor::web
