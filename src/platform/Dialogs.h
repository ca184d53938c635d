#pragma once

#include <QFont>
#include <QString>
#include <optional>

namespace vexlor::platform {

// Message boxes and the common dialogs. Logic never shows a box itself.
class Dialogs {
public:
    // SaveDiscardCancel answers Yes for Save and No for Discard.
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, SaveDiscardCancel };
    enum class Button { Ok, Cancel, Yes, No };
    enum class Icon { None, Information, Warning, Question, Critical };

    struct Message {
        Message() = default;
        Message(QString t, QString ti = {}, Buttons b = Buttons::Ok, Icon i = Icon::None)
            : text(std::move(t)), title(std::move(ti)), buttons(b), icon(i)
        {
        }

        QString text;
        QString title; // empty: the program's title
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        QString informative; // second paragraph, such as the system's reason
    };

    struct FileRequest {
        QString title;
        // Pairs of description and pattern joined by "|":
        // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*".
        QString filter;
        int filterIndex = 1; // 1-based: the pair preselected
        bool newName = false; // a name that does not exist yet may be typed
    };

    virtual ~Dialogs() = default;

    virtual Button message(const Message& m) = 0;
    // An open-file dialog; nullopt when the operator cancels.
    virtual std::optional<QString> openFile(const FileRequest& request) = 0;
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
};

// The title of a message box that states none.
inline QString programTitle() { return QStringLiteral("Vexlor"); }

} // namespace vexlor::platform
