#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace vexlor::remote {

// Counts failed logins by address: five within ten minutes shut that
// address out for ten minutes, so guessing costs hours instead of seconds.
// Also remembers who logged in lately, for the link to prefer them.
class LoginGuard {
public:
    static constexpr int kMaxFailures = 5;
    static constexpr qint64 kWindowMs = 10 * 60 * 1000;
    static constexpr qint64 kRefuseMs = 10 * 60 * 1000;
    // Addresses remembered at most; a spread of sources cannot fill the memory.
    static constexpr qsizetype kMaxAddresses = 4096;

    // Records a failed login; true when the address is refused from now on.
    bool failed(const QString& address, qint64 nowMs);
    bool refused(const QString& address, qint64 nowMs) const;
    qsizetype size() const { return m_entries.size(); }

    static constexpr qint64 kRecentMs = 24 * 60 * 60 * 1000;
    // Only the password makes an address recent, so few ever are.
    static constexpr qsizetype kMaxRecent = 64;
    void loggedIn(const QString& address, qint64 nowMs);
    // Logged in within kRecentMs.
    bool recent(const QString& address, qint64 nowMs) const;
    bool anyRecent(qint64 nowMs) const;

private:
    struct Entry {
        QList<qint64> failures; // within the window, oldest first
        qint64 refusedUntil = 0;
        qint64 last = 0;
    };
    void forgetOld(qint64 nowMs);

    QHash<QString, Entry> m_entries;
    QHash<QString, qint64> m_logins; // the last login of each address
};

} // namespace vexlor::remote
