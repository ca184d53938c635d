#pragma once

#include <QLatin1String>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace vexlor::platform {
class Dialogs;
}

namespace vexlor::remote {

class RemoteLink;

// The chat between the operator and the remote user: the transcript and
// the sending of the operator's lines. The Chat window renders it.
class ChatSession : public QObject {
    Q_OBJECT
public:
    static constexpr QLatin1String kNoConnectionText {"Actually no remote connection, you can't chat !"};
    static constexpr QLatin1String kFailedText {"Connection failed !"};
    static constexpr QLatin1String kNotLoggedInText {"The remote user has not given the password yet: your line was not sent."};
    // Oldest lines go first, so a chatty client cannot fill the memory.
    static constexpr int kMaxLines = 1000;

    ChatSession(RemoteLink& link, platform::Dialogs& dialogs, QObject* parent = nullptr);

    // ChatCmd: true when the Chat window is to be shown; otherwise the
    // operator has been told there is nobody to chat with.
    bool ChatCmd();
    // The text of UserBox changed; returns the text it holds afterwards.
    // A text with a CR (Enter) is sent as one line.
    QString UserBox_Change(const QString& text);

    // A line from a web viewer, shown as "<web ADDRESS> " + its text.
    void webLineReceived(const QString& from, const QString& text);
    // How many web viewers would read the operator's lines; none when unset.
    void setWebViewers(std::function<int()> viewers) { m_webViewers = std::move(viewers); }

    // RemoteBox: every line as CR LF + "<you> " or "<remote> " + its text.
    QString RemoteBox() const;
    // The same lines without their line ends, for display.
    QStringList lines() const;

Q_SIGNALS:
    // One more line, as lines() shows it; the oldest goes once there are kMaxLines.
    void lineAdded(const QString& line);
    // Lines came from the remote user: the window must show. Once per turn
    // of the event loop at most, however many lines came.
    void showRequested();
    // The operator's line, for the web viewers.
    void operatorSaid(const QString& text);

private:
    struct Line {
        QString who;
        QString text;
    };
    void append(const QString& who, const QString& text);
    int webViewers() const { return m_webViewers ? m_webViewers() : 0; }
    static QString display(const Line& line);

    RemoteLink& m_link;
    platform::Dialogs& m_dialogs;
    QList<Line> m_lines;
    std::function<int()> m_webViewers;
    QTimer m_show;
};

} // namespace vexlor::remote
