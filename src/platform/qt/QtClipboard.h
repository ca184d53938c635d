#pragma once

#include "platform/Clipboard.h"

namespace vexlor::platform {

class QtClipboard : public Clipboard {
public:
    QString text() const override;
    void setText(const QString& text) override;
};

} // namespace vexlor::platform
