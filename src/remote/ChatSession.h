#pragma once

#include <QLatin1String>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

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
    // Oldest lines go first, so a chatty client cannot fill the memory.
    static constexpr int kMaxLines = 1000;

    ChatSession(RemoteLink& link, platform::Dialogs& dialogs, QObject* parent = nullptr);

    // ChatCmd: true when the Chat window is to be shown; otherwise the
    // operator has been told there is nobody to chat with.
    bool ChatCmd();
    // The text of UserBox changed; returns the text it holds afterwards.
    // A text with a CR (Enter) is sent as one line.
    QString UserBox_Change(const QString& text);

    // RemoteBox: every line as CR LF + "<you> " or "<remote> " + its text.
    QString RemoteBox() const;
    // The same lines without their line ends, for display.
    QStringList lines() const;

Q_SIGNALS:
    void transcriptChanged();
    // A line came from the remote user: the window must show.
    void showRequested();

private:
    struct Line {
        QLatin1String who;
        QString text;
    };
    void append(QLatin1String who, const QString& text);

    RemoteLink& m_link;
    platform::Dialogs& m_dialogs;
    QList<Line> m_lines;
};

} // namespace vexlor::remote
