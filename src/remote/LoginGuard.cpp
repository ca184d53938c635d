#include "remote/LoginGuard.h"

#include "remote/AccessRules.h"

#include <algorithm>

namespace vexlor::remote {

namespace {
// One spelling per address, so "::ffff:10.0.0.5" counts with "10.0.0.5".
QString keyOf(const QString& address)
{
    const QString canonical = AccessRules::canonicalAddress(address);
    return canonical.isEmpty() ? address : canonical;
}
} // namespace

bool LoginGuard::failed(const QString& address, qint64 nowMs)
{
    forgetOld(nowMs);
    if (m_entries.size() >= kMaxAddresses && !m_entries.contains(keyOf(address))) {
        // The quietest address makes room; a refused one is kept if any other can go.
        auto victim = std::min_element(m_entries.begin(), m_entries.end(), [nowMs](const Entry& a, const Entry& b) {
            const bool aRefused = a.refusedUntil > nowMs, bRefused = b.refusedUntil > nowMs;
            return aRefused != bRefused ? !aRefused : a.last < b.last;
        });
        m_entries.erase(victim);
    }
    Entry& e = m_entries[keyOf(address)];
    e.last = nowMs;
    e.failures.append(nowMs);
    while (!e.failures.isEmpty() && nowMs - e.failures.first() >= kWindowMs)
        e.failures.removeFirst();
    if (e.failures.size() < kMaxFailures)
        return false;
    e.failures.clear();
    e.refusedUntil = nowMs + kRefuseMs;
    return true;
}

bool LoginGuard::refused(const QString& address, qint64 nowMs) const
{
    const auto it = m_entries.constFind(keyOf(address));
    return it != m_entries.cend() && nowMs < it->refusedUntil;
}

void LoginGuard::loggedIn(const QString& address, qint64 nowMs)
{
    m_logins.removeIf([nowMs](const QHash<QString, qint64>::iterator& it) { return nowMs - *it >= kRecentMs; });
    const QString key = keyOf(address);
    if (m_logins.size() >= kMaxRecent && !m_logins.contains(key))
        m_logins.erase(std::min_element(m_logins.begin(), m_logins.end()));
    m_logins.insert(key, nowMs);
}

bool LoginGuard::recent(const QString& address, qint64 nowMs) const
{
    const auto it = m_logins.constFind(keyOf(address));
    return it != m_logins.cend() && nowMs - *it < kRecentMs;
}

bool LoginGuard::anyRecent(qint64 nowMs) const
{
    return std::any_of(m_logins.cbegin(), m_logins.cend(), [nowMs](qint64 at) { return nowMs - at < kRecentMs; });
}

void LoginGuard::forgetOld(qint64 nowMs)
{
    m_entries.removeIf([nowMs](const QHash<QString, Entry>::iterator& it) {
        return nowMs >= it->refusedUntil && nowMs - it->last >= kWindowMs;
    });
}

} // namespace vexlor::remote
