#include "web/HttpRequest.h"

namespace vexlor::web {

namespace {

// A comma-separated header value holding `token`, in any case.
bool listHas(const QByteArray& value, QByteArrayView token)
{
    for (const QByteArray& part : value.split(','))
        if (part.trimmed().compare(token, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

QByteArray HttpRequest::header(QByteArrayView name) const
{
    for (const auto& [key, value] : headers) {
        if (key == name)
            return value;
    }
    return {};
}

bool HttpRequest::hasHeader(QByteArrayView name) const
{
    for (const auto& h : headers) {
        if (h.first == name)
            return true;
    }
    return false;
}

QByteArray HttpRequest::cookie(QByteArrayView name) const
{
    for (const auto& [key, value] : headers) {
        if (key != "cookie")
            continue;
        for (const QByteArray& pair : value.split(';')) {
            const qsizetype eq = pair.indexOf('=');
            if (eq > 0 && pair.left(eq).trimmed() == name)
                return pair.mid(eq + 1).trimmed();
        }
    }
    return {};
}

bool HttpRequest::wantsWebSocket() const
{
    return header("upgrade").compare("websocket", Qt::CaseInsensitive) == 0 && listHas(header("connection"), "upgrade");
}

bool HttpRequest::keepAlive() const
{
    const QByteArray connection = header("connection");
    if (version == "HTTP/1.0")
        return listHas(connection, "keep-alive");
    return !listHas(connection, "close");
}

} // namespace vexlor::web
