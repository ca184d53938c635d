#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace vexlor::remote {

// Counts wrong passwords by address: five within ten minutes shut that
// address out for ten minutes, so guessing costs hours instead of seconds.
class LoginGuard {
public:
    static constexpr int kMaxFailures = 5;
    static constexpr qint64 kWindowMs = 10 * 60 * 1000;
    static constexpr qint64 kRefuseMs = 10 * 60 * 1000;
    // Addresses remembered at most; a spread of sources cannot fill the memory.
    static constexpr qsizetype kMaxAddresses = 4096;

    // Records a wrong password; true when the address is refused from now on.
    bool failed(const QString& address, qint64 nowMs);
    bool refused(const QString& address, qint64 nowMs) const;
    qsizetype size() const { return m_entries.size(); }

private:
    struct Entry {
        QList<qint64> failures; // within the window, oldest first
        qint64 refusedUntil = 0;
        qint64 last = 0;
    };
    void forgetOld(qint64 nowMs);

    QHash<QString, Entry> m_entries;
};

} // namespace vexlor::remote
