#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <deque>
#include <functional>

namespace vexlor::fakes {

// Records every box and answers from a script (Ok or No when the script is empty).
class FakeDialogs : public platform::Dialogs {
public:
    Button message(const Message& m) override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;

    QStringList texts() const;

    QList<Message> messages;
    std::deque<Button> answers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    QList<FileRequest> fileRequests;
    // Runs while the file dialog is "open", as a real one may change the working directory.
    std::function<void(const FileRequest&)> onFile;
    // Runs while a box is "open", as the nested loop of a real box would let events run.
    std::function<void(const Message&)> onMessage;
};

} // namespace vexlor::fakes
