#include "remote/ChatSession.h"

#include "platform/Dialogs.h"
#include "remote/Protocol.h"
#include "remote/RemoteLink.h"

namespace vexlor::remote {

namespace {
const QLatin1String kYou {"<you> "};
const QLatin1String kRemote {"<remote> "};
const QLatin1String kCrLf {"\r\n"};

// Socket errors, as opposed to success or a failure of something else.
bool isSocketError(int e) { return e > 10000 && e < 42000; }
} // namespace

ChatSession::ChatSession(RemoteLink& link, platform::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_link(link), m_dialogs(dialogs)
{
    connect(&m_link, &RemoteLink::chatReceived, this, [this](const QString& text) {
        append(kRemote, text);
        Q_EMIT showRequested();
    });
}

bool ChatSession::ChatCmd()
{
    if (m_link.connected())
        return true;
    m_dialogs.message({kNoConnectionText});
    return false;
}

QString ChatSession::UserBox_Change(const QString& text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    append(kYou, text.chopped(1));
    const int e = m_link.send(protocol::chatMessage(text));
    if (isSocketError(e))
        m_dialogs.message({kFailedText});
    return {};
}

void ChatSession::append(QLatin1String who, const QString& text)
{
    m_lines.append({who, text});
    if (m_lines.size() > kMaxLines)
        m_lines.removeFirst();
    Q_EMIT transcriptChanged();
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
    for (const Line& l : m_lines) {
        QString t = l.who + l.text;
        while (t.endsWith(QLatin1Char('\r')) || t.endsWith(QLatin1Char('\n')))
            t.chop(1);
        out.append(t);
    }
    return out;
}

} // namespace vexlor::remote
