#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace vexlor::remote {

class ChatSession;

// "Chat with remote": the operator's line and the transcript.
class Chat : public QDialog {
    Q_OBJECT
public:
    explicit Chat(ChatSession& session, QWidget* parent = nullptr);

private:
    void userBoxChanged(const QString& text);
    void render();
    // One line at the end: a flood costs one line's work per line, not the whole transcript's.
    void appendLine(const QString& line);
    void placeCursor();

    ChatSession& m_session;
    QLineEdit* m_user = nullptr;
    QPlainTextEdit* m_remote = nullptr;
};

} // namespace vexlor::remote
