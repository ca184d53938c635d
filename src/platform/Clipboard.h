#pragma once

#include <QString>

namespace vexlor::platform {

// The system clipboard as plain text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
};

} // namespace vexlor::platform
