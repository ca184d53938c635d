#include "FakeDialogs.h"

#include <QStringList>

namespace vexlor::fakes {

platform::Dialogs::Button FakeDialogs::message(const Message& m)
{
    messages.append(m);
    if (onMessage)
        onMessage(m);
    if (!answers.empty()) {
        const Button b = answers.front();
        answers.pop_front();
        return b;
    }
    switch (m.buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
    case Buttons::SaveDiscardCancel: return Button::No;
    case Buttons::OkCancel: return Button::Cancel;
    case Buttons::Ok: break;
    }
    return Button::Ok;
}

std::optional<QString> FakeDialogs::openFile(const FileRequest& request)
{
    fileRequests.append(request);
    if (onFile)
        onFile(request);
    std::optional<QString> a;
    if (!fileAnswers.empty()) {
        a.swap(fileAnswers.front());
        fileAnswers.pop_front();
    }
    return a;
}

std::optional<QFont> FakeDialogs::chooseFont(const QFont&)
{
    std::optional<QFont> a;
    if (!fontAnswers.empty()) {
        a.swap(fontAnswers.front());
        fontAnswers.pop_front();
    }
    return a;
}

QStringList FakeDialogs::texts() const
{
    QStringList t;
    for (const auto& m : messages)
        t.append(m.text);
    return t;
}

} // namespace vexlor::fakes
