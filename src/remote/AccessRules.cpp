#include "remote/AccessRules.h"

#include <arpa/inet.h>
#include <cstring>

namespace vexlor::remote {

namespace {
bool sameBytes(const QByteArray& expected, QByteArrayView given)
{
    if (expected.isEmpty())
        return false;
    // Every byte given is compared, whatever matched before; no early exit.
    unsigned diff = expected.size() == given.size() ? 0u : 1u;
    for (qsizetype i = 0; i < given.size(); ++i)
        diff |= unsigned(quint8(given[i]) ^ quint8(expected[i % expected.size()]));
    return diff == 0;
}
} // namespace

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

bool AccessRules::passwordMatches(const QString& expected, QByteArrayView given)
{
    const QByteArray singleByte = expected.toLatin1();
    // A letter with no single byte would be sent as "?" and match any such guess.
    const bool fits = QString::fromLatin1(singleByte) == expected;
    const bool utf8 = sameBytes(expected.toUtf8(), given);
    const bool single = sameBytes(singleByte, given);
    return utf8 || (single && fits);
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
