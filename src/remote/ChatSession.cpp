#include "remote/ChatSession.h"

#include "platform/Dialogs.h"
#include "remote/RemoteLink.h"

namespace vexlor::remote {

namespace {
const QLatin1String kYou {"<you> "};
const QLatin1String kRemote {"<remote> "};
const QLatin1String kCrLf {"\r\n"};

// Socket errors, as opposed to success or a failure of something else.
bool isSocketError(int e) { return e > 10000 && e < 42000; }

// A remote line is shown on one line as it came: a line feed in it must not
// start a line of its own that looks like the operator's.
QString printable(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return out;
}
} // namespace

ChatSession::ChatSession(RemoteLink& link, platform::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_link(link), m_dialogs(dialogs)
{
    m_show.setSingleShot(true);
    m_show.setInterval(0);
    connect(&m_show, &QTimer::timeout, this, &ChatSession::showRequested);
    connect(&m_link, &RemoteLink::chatReceived, this, [this](const QString& text) {
        append(kRemote, printable(text));
        if (!m_show.isActive())
            m_show.start();
    });
}

bool ChatSession::ChatCmd()
{
    if (m_link.connected() || webViewers() > 0)
        return true;
    m_dialogs.message({kNoConnectionText});
    return false;
}

QString ChatSession::UserBox_Change(const QString& text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    append(kYou, text.chopped(1));
    if (webViewers() > 0) {
        Q_EMIT operatorSaid(text.chopped(1));
        // Web viewers alone: there is no link to send it on, and no failure to report.
        if (!m_link.connected())
            return {};
    }
    // Nothing goes to a client that has not given the password.
    if (m_link.connected() && !m_link.authorised()) {
        m_dialogs.message({kNotLoggedInText});
        return {};
    }
    const int e = m_link.sendChat(text);
    if (isSocketError(e))
        m_dialogs.message({kFailedText});
    return {};
}

void ChatSession::webLineReceived(const QString& from, const QString& text)
{
    append(QStringLiteral("<web %1> ").arg(from), printable(text));
    if (!m_show.isActive())
        m_show.start();
}

void ChatSession::append(const QString& who, const QString& text)
{
    m_lines.append({who, text});
    if (m_lines.size() > kMaxLines)
        m_lines.removeFirst();
    Q_EMIT lineAdded(display(m_lines.last()));
}

QString ChatSession::display(const Line& line)
{
    QString t = line.who + line.text;
    while (t.endsWith(QLatin1Char('\r')) || t.endsWith(QLatin1Char('\n')))
        t.chop(1);
    return t;
}

QString ChatSession::RemoteBox() const
{
    QString out;
    for (const Line& l : m_lines)
        out += kCrLf + l.who + l.text;
    return out;
}

QStringList ChatSession::lines() const
{
    QStringList out;
    for (const Line& l : m_lines)
        out.append(display(l));
    return out;
}

} // namespace vexlor::remote

#include "moc_ChatSession.cpp"
