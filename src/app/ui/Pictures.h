#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vexlor::app {

// Pictures of the main window, drawn here so nothing depends on image files.
namespace pictures {

enum class Light { On, Automatic, Off };

// A receiver key cap carrying the key's caption.
QPixmap keyCap(const QString& caption, QSize size = {38, 24});
QPixmap keypad(QSize size = {24, 24});
QPixmap backlight(Light state, QSize size = {24, 24});
// Loudspeaker with sound waves: the squelch is open.
QPixmap squelchOpen(QSize size = {20, 18});
// Speech bubble marked ID: a talkgroup call is heard.
QPixmap talkgroupHeard(QSize size = {22, 18});
// Two plug halves, apart or joined.
QPixmap remoteLink(bool connected, QSize size = {28, 20});
QIcon programIcon();

} // namespace pictures
} // namespace vexlor::app
