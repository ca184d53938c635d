#include "remote/AccessRules.h"

#include <arpa/inet.h>
#include <cstring>

namespace vexlor::remote {

AccessRules AccessRules::fromSettings(const QString& password, const QString& allow, const QString& bind)
{
    AccessRules r;
    r.password = password;
    for (const QString& entry : allow.split(QLatin1Char(','))) {
        const QString e = entry.trimmed();
        if (!e.isEmpty())
            r.allow.append(e);
    }
    r.bind = bind.trimmed();
    return r;
}

QString AccessRules::problem() const
{
    for (const QString& entry : allow) {
        if (canonicalAddress(entry).isEmpty())
            return QStringLiteral("Not listening: RemoteAllow holds \"%1\", which is not an address").arg(entry);
    }
    if (!bind.isEmpty() && canonicalAddress(bind).isEmpty())
        return QStringLiteral("Not listening: RemoteBind \"%1\" is not an address").arg(bind);
    return {};
}

bool AccessRules::openToOthers() const
{
    // Settings that cannot be used keep the link closed: nothing is open then.
    if (locked() || !allow.isEmpty() || !problem().isEmpty())
        return false;
    const QString at = canonicalAddress(bind);
    return !(at == QLatin1String("::1") || at.startsWith(QLatin1String("127.")));
}

bool AccessRules::allows(const QString& peerAddress) const
{
    if (allow.isEmpty())
        return true;
    const QString peer = canonicalAddress(peerAddress);
    if (peer.isEmpty())
        return false;
    for (const QString& entry : allow) {
        if (canonicalAddress(entry) == peer)
            return true;
    }
    return false;
}

bool AccessRules::passwordMatches(const QString& expected, const QString& given)
{
    const QByteArray e = expected.toUtf8();
    const QByteArray g = given.toUtf8();
    if (e.isEmpty())
        return false;
    // Every byte given is compared, whatever matched before; no early exit.
    unsigned diff = e.size() == g.size() ? 0u : 1u;
    for (qsizetype i = 0; i < g.size(); ++i)
        diff |= unsigned(quint8(g[i]) ^ quint8(e[i % e.size()]));
    return diff == 0;
}

QString AccessRules::canonicalAddress(const QString& text)
{
    QString t = text.trimmed();
    if (const qsizetype scope = t.indexOf(QLatin1Char('%')); scope >= 0)
        t.truncate(scope);
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        t = t.mid(1, t.size() - 2);
    const QByteArray bytes = t.toLatin1();
    if (bytes.contains('\0'))
        return {}; // the parser would stop there and accept a prefix
    char out[INET6_ADDRSTRLEN] = {};

    in_addr v4 {};
    if (inet_pton(AF_INET, bytes.constData(), &v4) == 1)
        return QString::fromLatin1(inet_ntop(AF_INET, &v4, out, sizeof out));

    in6_addr v6 {};
    if (inet_pton(AF_INET6, bytes.constData(), &v6) != 1)
        return {};
    static const unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    if (std::memcmp(v6.s6_addr, kMapped, sizeof kMapped) == 0) {
        std::memcpy(&v4, v6.s6_addr + 12, 4);
        return QString::fromLatin1(inet_ntop(AF_INET, &v4, out, sizeof out));
    }
    return QString::fromLatin1(inet_ntop(AF_INET6, &v6, out, sizeof out));
}

} // namespace vexlor::remote
