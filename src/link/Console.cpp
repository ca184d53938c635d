#include "link/Console.h"

#include "link/ScannerLink.h"

#include <algorithm>

namespace vexlor::link {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::ParagraphSeparator
        || c == QChar::LineSeparator;
}

std::optional<QString> withoutLineBreaks(const QString& text)
{
    if (std::none_of(text.cbegin(), text.cend(), isLineBreak))
        return std::nullopt;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!isLineBreak(c))
            out += c;
    }
    return out;
}

Console::Console(ScannerLink& link, QObject* parent) : QObject(parent), m_link(link)
{
    connect(&m_link, &ScannerLink::writesDropped, this, [this] { Q_EMIT droppedChanged(DroppedLbl()); });
}

QString Console::DroppedLbl() const
{
    const quint64 n = m_link.droppedWrites();
    return n == 0 ? QString() : QStringLiteral("Commands dropped (line busy): %1").arg(n);
}

void Console::CmdToBeSendBox_Change(const QString& text)
{
    const std::optional<QString> typed = withoutLineBreaks(text);
    m_box = typed.value_or(text);
    if (!typed)
        return;
    // Our own edits come back here without a break, so Enter acts once.
    if (!sendBox())
        Q_EMIT boxChanged(m_box);
}

void Console::SndCmd_Click() { sendBox(); }

bool Console::sendBox()
{
    const QString command = m_box.trimmed().toUpper();
    if (command.isEmpty())
        return false;
    send(command);
    m_box.clear();
    Q_EMIT boxChanged(m_box);
    Q_EMIT boxFocusWanted();
    return true;
}

void Console::TxData_DblClick(int row)
{
    if (row < 0 || row >= m_tx.size())
        return;
    const QString command = m_tx.at(row);
    if (command.trimmed().isEmpty())
        return;
    send(command);
}

void Console::Clear_Click()
{
    m_tx.clear();
    Q_EMIT cleared();
}

void Console::send(const QString& command)
{
    m_link.Write(command);
    m_tx.append(command);
    Q_EMIT txAppended(command);
}

} // namespace vexlor::link

#include "moc_Console.cpp"
