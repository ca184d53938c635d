#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace vexlor::platform {

QString QtClipboard::text() const { return QGuiApplication::clipboard()->text(); }

void QtClipboard::setText(const QString& text)
{
    QClipboard* board = QGuiApplication::clipboard();
    board->clear();
    board->setText(text);
}

} // namespace vexlor::platform
