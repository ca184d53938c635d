#include "app/ui/EntryBox.h"

#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>

namespace vexlor::app {

EntryBox::EntryBox(const QString& name, int chars, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_chars(chars)
{
    setObjectName(name);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    document()->setDocumentMargin(1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void EntryBox::setTextQuietly(const QString& text)
{
    if (toPlainText() == text)
        return;
    const QSignalBlocker block(this);
    setPlainText(text);
    moveCursor(QTextCursor::End);
}

QSize EntryBox::sizeHint() const
{
    const QFontMetrics fm(font());
    const int frame = 2 * frameWidth();
    return {fm.horizontalAdvance(QString(m_chars, QLatin1Char('0'))) + frame + 6, fm.lineSpacing() + frame + 4};
}

QSize EntryBox::minimumSizeHint() const { return sizeHint(); }

} // namespace vexlor::app

#include "moc_EntryBox.cpp"
