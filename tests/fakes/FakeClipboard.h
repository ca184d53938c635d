#pragma once

#include "platform/Clipboard.h"

namespace vexlor::fakes {

class FakeClipboard : public platform::Clipboard {
public:
    QString text() const override { return content; }
    void setText(const QString& text) override { content = text; }

    QString content;
};

} // namespace vexlor::fakes
