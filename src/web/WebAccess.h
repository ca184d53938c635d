#pragma once

#include "remote/AccessRules.h"
#include "remote/LoginGuard.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace vexlor::web {

struct HttpRequest;

// Who may use the web remote, by the remote link's rules: the same pass
// phrase, allow list and guessing limit. A login gives a session token for
// an HttpOnly cookie. Without a pass phrase only this computer is served,
// and everyone who reaches it counts as logged in.
class WebAccess {
public:
    static constexpr int kMaxViewers = 16;
    static constexpr qint64 kSessionMs = 12LL * 60 * 60 * 1000;
    // Sessions kept at most: logins past it end the oldest.
    static constexpr qsizetype kMaxSessions = 64;
    static constexpr const char* kCookie = "vexlor_session";

    enum class Verdict { Allowed, NotAllowed, Guessing, LoginNeeded, WrongPassword };

    WebAccess(const remote::AccessRules& rules, bool watchWithoutLogin);

    const remote::AccessRules& rules() const { return m_rules; }
    // The address to listen on: the configured one with a pass phrase, else this computer only.
    QString listenAddress(const QString& configured) const;

    // Anything at all from this address: the allow list, and no guessing going on.
    Verdict admit(const QString& address, qint64 nowMs) const;
    // Watching the display; controlling the receiver and chatting.
    Verdict watch(const QString& address, const QByteArray& token, qint64 nowMs) const;
    Verdict control(const QString& address, const QByteArray& token, qint64 nowMs) const;

    // A pass phrase given: its token when right (empty, with the verdict, when not).
    QByteArray login(const QString& address, QByteArrayView given, qint64 nowMs, Verdict* verdict);
    void logout(const QByteArray& token);
    // "Set-Cookie" for a token; an empty one clears the cookie.
    static QByteArray cookieHeader(const QByteArray& token, bool secure);
    // A WebSocket's Origin names the page's own host, so another site cannot drive the receiver.
    static bool sameOrigin(const HttpRequest& request, bool secure);

private:
    bool loggedIn(const QByteArray& token, qint64 nowMs) const;

    remote::AccessRules m_rules;
    bool m_watchWithoutLogin;
    remote::LoginGuard m_guard;
    QHash<QByteArray, qint64> m_sessions; // token -> when it was given
};

} // namespace vexlor::web
