#include "remote/client/ClientSession.h"

#include <QRegularExpression>

namespace vexlor::remote {

using protocol::message;

namespace {
// What the server sends is printed on a terminal: an escape sequence in it
// could move the cursor, retitle the window or worse, so no control gets through.
QString terminalSafe(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const ushort u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f))
            c = QLatin1Char('?');
    }
    return out;
}
} // namespace

ClientSession::ClientSession(QString user, QString password)
    : m_user(std::move(user)), m_password(std::move(password))
{
}

ClientSession::Reply ClientSession::received(QByteArrayView bytes)
{
    Reply r;
    for (const QByteArray& raw : m_framer.feed(bytes)) {
        const QString m = QString::fromLatin1(raw);
        if (m == QLatin1String("?u")) {
            r.send.append(message(QStringLiteral("?u=") + m_user));
        } else if (m == QLatin1String("?p")) {
            // UTF-8, as the program reads the phrase from its configuration.
            r.send.append("?p=" + m_password.toUtf8() + '\r');
        } else if (m.startsWith(QLatin1String("chat="))) {
            r.print.append(terminalSafe(QStringLiteral("<operator> ") + m.mid(5)));
        } else if (protocol::applyStatus(m_status, m) && m.startsWith(QLatin1String("it="))) {
            // "it=" ends every status batch.
            const QString line = statusLine(m_status);
            if (line != m_lastLine) {
                m_lastLine = line;
                r.print.append(terminalSafe(line));
            }
        }
    }
    return r;
}

QByteArray ClientSession::typed(const QString& input)
{
    QString line = input;
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    if (line.trimmed().isEmpty())
        return {};
    // A one-digit key would reach the receiver as "KEY=5".
    static const QRegularExpression oneDigitKey(QStringLiteral("^k=(\\d)$"));
    if (const auto k = oneDigitKey.match(line); k.hasMatch())
        return message(QStringLiteral("k=0") + k.captured(1));
    for (const char* prefix : {"k=", "dd=", "sb=", "chat="}) {
        if (line.startsWith(QLatin1String(prefix)))
            return message(line);
    }
    return message(QStringLiteral("chat=") + line);
}

QString ClientSession::statusLine(const protocol::ReceptionStatus& s)
{
    return QStringLiteral("%1  squelch %2  ID %3  | ch %4 %5 | tg %6 %7")
        .arg(s.f.isEmpty() ? QStringLiteral("-") : s.f, s.sq ? QStringLiteral("open") : QStringLiteral("closed"),
             s.isq ? QStringLiteral("heard") : QStringLiteral("-"), s.t, s.n, s.it, s.in)
        .simplified();
}

} // namespace vexlor::remote
