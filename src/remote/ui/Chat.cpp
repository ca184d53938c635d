#include "remote/ui/Chat.h"

#include "remote/ChatSession.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

namespace vexlor::remote {

Chat::Chat(ChatSession& session, QWidget* parent)
    : QDialog(parent), m_session(session)
{
    setObjectName(QStringLiteral("Chat"));
    setWindowTitle(QStringLiteral("Chat with remote"));
    setModal(false);
    resize(420, 300);

    auto* label = new QLabel(QStringLiteral("Write your message in the white window. Press ENTER to send it."), this);
    label->setObjectName(QStringLiteral("Label10"));
    label->setWordWrap(true);
    m_remote = new QPlainTextEdit(this);
    m_remote->setObjectName(QStringLiteral("RemoteBox"));
    m_remote->setReadOnly(true);
    m_remote->setMaximumBlockCount(ChatSession::kMaxLines);
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("UserBox"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(label);
    column->addWidget(m_remote, 1);
    column->addWidget(m_user);

    // Enter ends the line with CR LF, as the line is sent.
    connect(m_user, &QLineEdit::returnPressed, this,
            [this] { userBoxChanged(m_user->text() + QStringLiteral("\r\n")); });
    connect(m_user, &QLineEdit::textEdited, this, &Chat::userBoxChanged);
    connect(&m_session, &ChatSession::lineAdded, this, &Chat::appendLine);
    render();
}

void Chat::userBoxChanged(const QString& text)
{
    const QString now = m_session.UserBox_Change(text);
    if (now != m_user->text())
        m_user->setText(now);
}

void Chat::render()
{
    m_remote->setPlainText(m_session.lines().join(QLatin1Char('\n')));
    placeCursor();
}

void Chat::appendLine(const QString& line)
{
    m_remote->appendPlainText(line);
    placeCursor();
}

void Chat::placeCursor()
{
    // The insertion point goes to the end of the text before the newest line.
    QTextCursor c = m_remote->textCursor();
    c.movePosition(QTextCursor::End);
    c.movePosition(QTextCursor::StartOfBlock);
    c.movePosition(QTextCursor::PreviousCharacter);
    m_remote->setTextCursor(c);
    m_remote->ensureCursorVisible();
}

} // namespace vexlor::remote

#include "moc_Chat.cpp"
