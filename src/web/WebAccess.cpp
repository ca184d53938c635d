#include "web/WebAccess.h"

#include "web/HttpRequest.h"

#include <QRandomGenerator>

#include <algorithm>
#include <array>

namespace vexlor::web {

WebAccess::WebAccess(const remote::AccessRules& rules, bool watchWithoutLogin)
    : m_rules(rules), m_watchWithoutLogin(watchWithoutLogin)
{
}

QString WebAccess::listenAddress(const QString& configured) const
{
    if (!m_rules.locked())
        return QStringLiteral("127.0.0.1");
    return configured.trimmed().isEmpty() ? m_rules.bind : configured.trimmed();
}

WebAccess::Verdict WebAccess::admit(const QString& address, qint64 nowMs) const
{
    if (!m_rules.allows(address))
        return Verdict::NotAllowed;
    if (m_guard.refused(remote::AccessRules::canonicalAddress(address), nowMs))
        return Verdict::Guessing;
    return Verdict::Allowed;
}

bool WebAccess::loggedIn(const QByteArray& token, qint64 nowMs) const
{
    if (!m_rules.locked())
        return true;
    const auto it = m_sessions.constFind(token);
    return !token.isEmpty() && it != m_sessions.cend() && nowMs - *it < kSessionMs;
}

WebAccess::Verdict WebAccess::watch(const QString& address, const QByteArray& token, qint64 nowMs) const
{
    if (const Verdict v = admit(address, nowMs); v != Verdict::Allowed)
        return v;
    return m_watchWithoutLogin || loggedIn(token, nowMs) ? Verdict::Allowed : Verdict::LoginNeeded;
}

WebAccess::Verdict WebAccess::control(const QString& address, const QByteArray& token, qint64 nowMs) const
{
    if (const Verdict v = admit(address, nowMs); v != Verdict::Allowed)
        return v;
    return loggedIn(token, nowMs) ? Verdict::Allowed : Verdict::LoginNeeded;
}

QByteArray WebAccess::login(const QString& address, QByteArrayView given, qint64 nowMs, Verdict* verdict)
{
    Verdict v = admit(address, nowMs);
    if (v == Verdict::Allowed && m_rules.locked() && !remote::AccessRules::passwordMatches(m_rules.password, given)) {
        m_guard.failed(remote::AccessRules::canonicalAddress(address), nowMs);
        v = Verdict::WrongPassword;
    }
    if (verdict)
        *verdict = v;
    if (v != Verdict::Allowed)
        return {};
    m_guard.loggedIn(remote::AccessRules::canonicalAddress(address), nowMs);
    // Expired sessions go first; then, at the limit, the oldest.
    for (auto it = m_sessions.begin(); it != m_sessions.end();)
        it = nowMs - *it >= kSessionMs ? m_sessions.erase(it) : std::next(it);
    if (m_sessions.size() >= kMaxSessions)
        m_sessions.erase(std::min_element(m_sessions.begin(), m_sessions.end()));
    std::array<quint32, 8> random {};
    QRandomGenerator::system()->fillRange(random.data(), random.size());
    const QByteArray token = QByteArray(reinterpret_cast<const char*>(random.data()), sizeof random).toHex();
    m_sessions.insert(token, nowMs);
    return token;
}

void WebAccess::logout(const QByteArray& token) { m_sessions.remove(token); }

QByteArray WebAccess::cookieHeader(const QByteArray& token, bool secure)
{
    QByteArray c = QByteArray(kCookie) + '=' + token + "; Path=/; HttpOnly; SameSite=Strict";
    if (token.isEmpty())
        c += "; Max-Age=0";
    if (secure)
        c += "; Secure";
    return c;
}

bool WebAccess::sameOrigin(const HttpRequest& request, bool secure)
{
    const QByteArray host = request.header("host");
    return !host.isEmpty() && request.header("origin") == (secure ? "https://" : "http://") + host;
}

} // namespace vexlor::web
