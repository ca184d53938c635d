#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QList>
#include <QString>

namespace vexlor::monitor {
struct MainDisplayState;
}

// The messages of the remote link, text in and text out. Every message on
// the wire is single-byte text ended by one CR; the pass phrase's bytes are
// compared as they came (see AccessRules::passwordMatches).
namespace vexlor::remote::protocol {

// What one message from the client asks for.
struct Action {
    enum class Kind { None, Serial, User, Password, Chat };
    Kind kind = Kind::None;
    QString text; // the line for the receiver, the name, the password or the chat line

    bool operator==(const Action&) const = default;
};

// "k=", "dd=", "?u=", "?p=", "chat=", "sb=", compared case-sensitively at
// the start; anything else, and the empty message, asks for nothing.
Action actionFor(const QString& message);

// The displayed reception state that goes to a client.
struct ReceptionStatus {
    bool sq = false;  // SQopen visible
    bool isq = false; // IDListen visible
    QString f;        // FrequencyBox
    QString t;        // TypeLbl
    QString n;        // NameLbl
    QString in;       // IDNameLbl
    QString it;       // IDTypeLbl

    bool operator==(const ReceptionStatus&) const = default;
};

ReceptionStatus receptionStatus(const monitor::MainDisplayState& display);
// "sq=", "isq=", "f=", "t=", "n=", "in=", "it=", in that order, one message each.
QList<QByteArray> statusMessages(const ReceptionStatus& status);
// For a client: applies one status message; false when it is not one.
bool applyStatus(ReceptionStatus& status, const QString& message);

// text + CR, single-byte.
QByteArray message(const QString& text);
// "?u" and "?p", sent right after accepting.
QList<QByteArray> identityRequests();
// The operator's line keeps the CR LF of its Enter key, which ends the message.
QByteArray chatMessage(const QString& line);

inline constexpr QLatin1String kNoConnection {"No connection"};
inline constexpr QLatin1String kListening {"Application now listen to remote user"};
inline constexpr QLatin1String kClosedByYou {"Connection closed by you!"};

// "User : " + name + " ( " + address + " )".
QString userLine(const QString& user, const QString& address);
// The status after a failed attempt to listen, by error number.
QString listenFailureText(int error);
// The status after an error event of the socket, by error number.
QString socketErrorText(int error);

// Status texts of the access control.
QString wrongPasswordText(const QString& address);
QString loginTimeoutText(const QString& address);
QString notAllowedText(const QString& address);
QString guessingText(const QString& address);
QString keptForRecentText(const QString& address);
QString idleText(const QString& address);

} // namespace vexlor::remote::protocol
