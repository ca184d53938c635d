#pragma once

#include "web/HttpRequest.h"

#include <QByteArray>
#include <QByteArrayView>

namespace vexlor::web {

// Reads one request at a time from the bytes a connection delivers, in any
// pieces. Everything it holds is bounded: a request past the limits is
// refused with the status to answer, and nothing of it is kept.
class HttpRequestReader {
public:
    static constexpr qsizetype kMaxHead = 16 * 1024; // request line and headers
    static constexpr int kMaxHeaders = 64;
    static constexpr qsizetype kMaxBody = 16 * 1024;

    enum class Outcome { NeedMore, Ready, Refused };

    Outcome feed(QByteArrayView bytes);
    Outcome outcome() const { return m_outcome; }
    // Once Ready.
    const HttpRequest& request() const { return m_request; }
    // Once Ready: the bytes the request took, blank lines before it included.
    qsizetype consumed() const { return m_dropped + m_headEnd + m_bodyLength; }
    // Once Refused: 400, 405 (a method other than GET, HEAD and POST), 411, 413, 431, 501, 505.
    int refusal() const { return m_refusal; }
    // After a Ready request: the next one starts with the bytes that followed it,
    // which may already make it Ready. Call it before feeding more.
    Outcome next();

private:
    Outcome refuse(int status);
    Outcome advance();
    // 0 when the head reads as a request this server takes, else the status to refuse it with.
    int parseHead(QByteArrayView head);

    QByteArray m_buffer;
    qsizetype m_lineStart = 0; // where the line being looked for begins
    qsizetype m_headEnd = -1;
    qsizetype m_bodyLength = 0;
    qsizetype m_dropped = 0; // blank lines before the request
    HttpRequest m_request;
    Outcome m_outcome = Outcome::NeedMore;
    int m_refusal = 0;
};

} // namespace vexlor::web
