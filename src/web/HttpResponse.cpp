#include "web/HttpResponse.h"

#include <QJsonDocument>

namespace vexlor::web {

HttpResponse HttpResponse::json(int status, const QJsonObject& body)
{
    HttpResponse r;
    r.status = status;
    r.contentType = "application/json";
    r.body = QJsonDocument(body).toJson(QJsonDocument::Compact);
    return r;
}

HttpResponse HttpResponse::error(int status, const QString& text) { return json(status, {{"error", text}}); }

QByteArray HttpResponse::reason(int status)
{
    switch (status) {
    case 101: return "Switching Protocols";
    case 200: return "OK";
    case 204: return "No Content";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 413: return "Content Too Large";
    case 415: return "Unsupported Media Type";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    case 505: return "HTTP Version Not Supported";
    default: return status < 400 ? "OK" : "Error";
    }
}

QByteArray HttpResponse::bytes(bool headOnly) const
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
    const auto add = [&out](QByteArrayView name, QByteArrayView value) { out.append(name).append(": ").append(value).append("\r\n"); };
    add("Content-Type", contentType);
    add("Content-Length", QByteArray::number(body.size()));
    add("Content-Security-Policy", "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
                                   "connect-src 'self'; manifest-src 'self'; base-uri 'none'; form-action 'self'; "
                                   "frame-ancestors 'none'");
    add("X-Content-Type-Options", "nosniff");
    add("X-Frame-Options", "DENY");
    add("Referrer-Policy", "no-referrer");
    add("Cache-Control", "no-store");
    for (const auto& [name, value] : headers)
        add(name, value);
    if (close)
        add("Connection", "close");
    out.append("\r\n");
    if (!headOnly)
        out.append(body);
    return out;
}

} // namespace vexlor::web
