#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace vexlor::remote {

// Who may use the remote link: the settings RemotePassword, RemoteAllow and
// RemoteBind. The defaults (all empty) let anyone who reaches the port in.
struct AccessRules {
    // A client that has not sent the password within this time is closed. Short, so
    // one that only holds the only place cannot keep it: vexlor-remote answers at once.
    static constexpr qint64 kLoginLimitMs = 10000;

    QString password;  // empty: no password asked
    QStringList allow; // client addresses; empty: any
    QString bind;      // address to listen on; empty: every interface

    // allow is the comma-separated setting; blanks around entries are dropped.
    static AccessRules fromSettings(const QString& password, const QString& allow, const QString& bind);

    bool locked() const { return !password.isEmpty(); }
    // Why the settings cannot be used as they stand; empty when they can.
    // Listening on settings half understood could open more than was meant.
    QString problem() const;
    // No password, no address list, and reachable from other machines.
    bool openToOthers() const;
    // An entry that is not an address matches nobody, so a typo locks out
    // rather than opens.
    bool allows(const QString& peerAddress) const;

    // given is the bytes the client sent: the phrase in UTF-8, or in single-byte text
    // when each of its characters has one. Compares in time that depends only on
    // the length of what was given.
    static bool passwordMatches(const QString& expected, QByteArrayView given);
    // The address in one spelling (IPv6 compressed, lower case), IPv4-mapped
    // IPv6 written as IPv4; empty when the text is not an address.
    static QString canonicalAddress(const QString& text);
};

} // namespace vexlor::remote
