#pragma once

#include <QJsonObject>
#include <QString>

namespace vexlor::controls {
class DirectEntry;
class KeypadSender;
}

namespace vexlor::web {

// What a logged-in browser may do, as the main window does it: a key of the
// keypad, a frequency or a channel, a bank's lamp. The receiver's answer,
// not the command, changes what the page shows.
class WebCommands {
public:
    WebCommands(controls::KeypadSender& keys, controls::DirectEntry& entry);

    // {"type": "key", "key": "SCAN" | "MAN" | ... | "0".."9"}, {"type": "frequency", "frequency": "154.43"},
    // {"type": "channel", "channel": 12}, {"type": "bank", "bank": 3}. Empty when sent, else why not.
    QString run(const QJsonObject& command);

private:
    controls::KeypadSender& m_keys;
    controls::DirectEntry& m_entry;
};

} // namespace vexlor::web
