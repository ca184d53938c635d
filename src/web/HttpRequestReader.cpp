#include "web/HttpRequestReader.h"

#include <algorithm>

namespace vexlor::web {

namespace {

bool isTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (!isTokenChar(c))
            return false;
    }
    return true;
}

// Visible characters and blanks only: a control character in a header is an attack or a fault.
bool isFieldValue(QByteArrayView text)
{
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7f)
            return false;
    }
    return true;
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

QByteArrayView withoutCr(QByteArrayView line) { return line.endsWith('\r') ? line.chopped(1) : line; }

} // namespace

HttpRequestReader::Outcome HttpRequestReader::refuse(int status)
{
    m_refusal = status;
    m_buffer.clear();
    m_buffer.squeeze();
    return m_outcome = Outcome::Refused;
}

HttpRequestReader::Outcome HttpRequestReader::feed(QByteArrayView bytes)
{
    if (m_outcome == Outcome::Refused)
        return m_outcome;
    m_buffer.append(bytes);
    if (m_outcome != Outcome::Ready)
        return advance();
    // A client that sends on while its request waits gets no more room than one request.
    if (m_buffer.size() > m_headEnd + m_bodyLength + kMaxHead + kMaxBody)
        return refuse(431);
    return m_outcome;
}

HttpRequestReader::Outcome HttpRequestReader::advance()
{
    while (m_headEnd < 0) {
        const qsizetype lf = m_buffer.indexOf('\n', m_lineStart);
        if (lf < 0) {
            if (m_buffer.size() > kMaxHead)
                return refuse(431);
            return m_outcome = Outcome::NeedMore;
        }
        const QByteArrayView line = withoutCr(QByteArrayView(m_buffer).sliced(m_lineStart, lf - m_lineStart));
        if (lf + 1 > kMaxHead)
            return refuse(431);
        if (line.isEmpty() && m_lineStart == 0) {
            // Blank lines before a request are allowed, and dropped.
            m_buffer.remove(0, lf + 1);
            m_dropped += lf + 1;
            continue;
        }
        m_lineStart = lf + 1;
        if (line.isEmpty())
            m_headEnd = lf + 1;
    }
    if (m_request.method.isEmpty()) {
        if (const int status = parseHead(QByteArrayView(m_buffer).first(m_headEnd)))
            return refuse(status);
    }
    if (m_buffer.size() < m_headEnd + m_bodyLength)
        return m_outcome = Outcome::NeedMore;
    m_request.body = m_buffer.mid(m_headEnd, m_bodyLength);
    return m_outcome = Outcome::Ready;
}

int HttpRequestReader::parseHead(QByteArrayView head)
{
    QList<QByteArrayView> lines;
    for (qsizetype from = 0; from < head.size();) {
        const qsizetype lf = head.indexOf('\n', from);
        lines << withoutCr(head.sliced(from, lf - from));
        from = lf + 1;
    }
    lines.removeLast(); // the empty line that ends the head

    const QByteArrayView requestLine = lines.value(0);
    const qsizetype sp1 = requestLine.indexOf(' ');
    const qsizetype sp2 = sp1 < 0 ? -1 : requestLine.indexOf(' ', sp1 + 1);
    if (sp1 <= 0 || sp2 < 0 || requestLine.indexOf(' ', sp2 + 1) >= 0)
        return 400;
    const QByteArrayView method = requestLine.first(sp1);
    const QByteArrayView target = requestLine.sliced(sp1 + 1, sp2 - sp1 - 1);
    const QByteArrayView version = requestLine.sliced(sp2 + 1);
    if (!isToken(method) || !target.startsWith('/') || !isFieldValue(target) || target.contains('\t'))
        return 400;
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return version.startsWith("HTTP/") ? 505 : 400;
    if (method != "GET" && method != "HEAD" && method != "POST")
        return 405;

    HttpRequest r;
    r.method = method.toByteArray();
    r.version = version.toByteArray();
    const qsizetype question = target.indexOf('?');
    r.path = (question < 0 ? target : target.first(question)).toByteArray();
    r.query = question < 0 ? QByteArray() : target.sliced(question + 1).toByteArray();
    if (lines.size() - 1 > kMaxHeaders)
        return 431;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        const qsizetype colon = line.indexOf(':');
        // A folded line (starting with a blank) is obsolete and refused, as RFC 9112 allows.
        if (colon <= 0 || !isToken(line.first(colon)) || !isFieldValue(line.sliced(colon + 1)))
            return 400;
        r.headers.append({line.first(colon).toByteArray().toLower(), trimmed(line.sliced(colon + 1)).toByteArray()});
    }
    if (r.version == "HTTP/1.1" && !r.hasHeader("host"))
        return 400;
    if (r.hasHeader("transfer-encoding"))
        return 501; // no chunked bodies: every request here is small
    QByteArray length;
    for (const auto& [name, value] : r.headers) {
        if (name != "content-length")
            continue;
        if (!length.isNull() && value != length)
            return 400;
        length = value;
    }
    if (length.isNull()) {
        if (r.method == "POST")
            return 411;
        m_bodyLength = 0;
    } else {
        if (length.isEmpty() || length.size() > 9 || !std::all_of(length.begin(), length.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return 400;
        m_bodyLength = length.toLongLong();
        if (m_bodyLength > kMaxBody)
            return 413;
    }
    m_request = std::move(r);
    return 0;
}

HttpRequestReader::Outcome HttpRequestReader::next()
{
    if (m_outcome != Outcome::Ready)
        return m_outcome;
    m_buffer.remove(0, m_headEnd + m_bodyLength);
    m_lineStart = 0;
    m_headEnd = -1;
    m_bodyLength = 0;
    m_dropped = 0;
    m_request = HttpRequest();
    m_outcome = Outcome::NeedMore;
    return advance();
}

} // namespace vexlor::web
