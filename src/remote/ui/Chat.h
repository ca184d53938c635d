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

    ChatSession& m_session;
    QLineEdit* m_user = nullptr;
    QPlainTextEdit* m_remote = nullptr;
};

} // namespace vexlor::remote
