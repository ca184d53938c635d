#include "remote/Protocol.h"

#include "monitor/MainDisplay.h"
#include "platform/RemoteSocket.h"
#include "remote/AccessRules.h"

#include <array>
#include <utility>

namespace vexlor::remote::protocol {

using platform::RemoteSocket;

namespace {

struct Prefix {
    QLatin1String text;
    Action::Kind kind;
};

// In this order; "k=" writes KEY + the message's last two characters.
const std::array<Prefix, 6> kPrefixes {{
    {QLatin1String("k="), Action::Kind::Serial},
    {QLatin1String("dd="), Action::Kind::Serial},
    {QLatin1String("?u="), Action::Kind::User},
    {QLatin1String("?p="), Action::Kind::Password},
    {QLatin1String("chat="), Action::Kind::Chat},
    {QLatin1String("sb="), Action::Kind::Serial},
}};

QLatin1String flag(bool on) { return on ? QLatin1String("t") : QLatin1String("f"); }

bool isWrongState(int error)
{
    return error == RemoteSocket::kInvalidOperation || error == RemoteSocket::kWrongState;
}

} // namespace

Action actionFor(const QString& message)
{
    for (const Prefix& p : kPrefixes) {
        if (!message.startsWith(p.text))
            continue;
        if (p.text == QLatin1String("k="))
            return {p.kind, QStringLiteral("KEY") + message.right(2)};
        return {p.kind, message.mid(p.text.size())};
    }
    return {};
}

ReceptionStatus receptionStatus(const monitor::MainDisplayState& d)
{
    return {d.SQopen, d.IDListen, d.FrequencyBox, d.TypeLbl, d.NameLbl, d.IDNameLbl, d.IDTypeLbl};
}

QList<QByteArray> statusMessages(const ReceptionStatus& s)
{
    return {
        message(QStringLiteral("sq=") + flag(s.sq)),
        message(QStringLiteral("isq=") + flag(s.isq)),
        message(QStringLiteral("f=") + s.f),
        message(QStringLiteral("t=") + s.t),
        message(QStringLiteral("n=") + s.n),
        message(QStringLiteral("in=") + s.in),
        message(QStringLiteral("it=") + s.it),
    };
}

bool applyStatus(ReceptionStatus& s, const QString& m)
{
    const qsizetype eq = m.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    const QStringView key = QStringView(m).left(eq);
    const QString value = m.mid(eq + 1);
    const std::pair<QLatin1String, QString*> texts[] = {
        {QLatin1String("f"), &s.f},   {QLatin1String("t"), &s.t},   {QLatin1String("n"), &s.n},
        {QLatin1String("in"), &s.in}, {QLatin1String("it"), &s.it},
    };
    for (const auto& [name, field] : texts) {
        if (key == name) {
            *field = value;
            return true;
        }
    }
    if (key == QLatin1String("sq") || key == QLatin1String("isq")) {
        (key == QLatin1String("sq") ? s.sq : s.isq) = value == QLatin1String("t");
        return true;
    }
    return false;
}

QByteArray message(const QString& text) { return text.toLatin1() + '\r'; }

QList<QByteArray> identityRequests() { return {message(QStringLiteral("?u")), message(QStringLiteral("?p"))}; }

QByteArray chatMessage(const QString& line) { return (QStringLiteral("chat=") + line).toLatin1(); }

QString userLine(const QString& user, const QString& address)
{
    return QStringLiteral("User : ") + user + QStringLiteral(" ( ") + address + QStringLiteral(" )");
}

QString listenFailureText(int error)
{
    if (isWrongState(error))
        return QStringLiteral("Connection failed");
    if (error == RemoteSocket::kAddressInUse)
        return QStringLiteral("IP Address or Port already in used ");
    return QStringLiteral("Error of communications : ") + QString::number(error);
}

QString socketErrorText(int error)
{
    if (isWrongState(error))
        return QStringLiteral("Connection failed!");
    if (error == RemoteSocket::kResetByPeer)
        return QStringLiteral("Connection Closed By Remote !");
    if (error == RemoteSocket::kAddressInUse)
        return QStringLiteral("IP Address or Port already used !");
    return QStringLiteral("Error of communications : ") + QString::number(error);
}

QString wrongPasswordText(const QString& address)
{
    return QStringLiteral("Connection closed: wrong password from ") + address;
}

QString loginTimeoutText(const QString& address)
{
    return QStringLiteral("Connection closed: no password from %1 within %2 s").arg(address).arg(AccessRules::kLoginLimitMs / 1000);
}

QString notAllowedText(const QString& address)
{
    return QStringLiteral("Connection refused to ") + address + QStringLiteral(": not in RemoteAllow");
}

QString guessingText(const QString& address)
{
    return QStringLiteral("Connection refused to ") + address + QStringLiteral(": too many wrong passwords, wait 10 minutes");
}

QString keptForRecentText(const QString& address)
{
    return QStringLiteral("Connection refused to ") + address + QStringLiteral(": kept a few seconds for a user who logged in lately");
}

QString idleText(const QString& address)
{
    return QStringLiteral("Connection closed: nothing from ") + address + QStringLiteral(" for 5 minutes");
}

} // namespace vexlor::remote::protocol
