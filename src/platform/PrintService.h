#pragma once

#include "platform/Printer.h"

#include <functional>
#include <memory>

namespace vexlor::platform {

// Makes print jobs and previews them.
class PrintService {
public:
    virtual ~PrintService() = default;
    // A job for the default printer, or one writing the PDF file pdfFile when it is given.
    virtual std::unique_ptr<Printer> printer(const QString& pdfFile = {}) = 0;
    // Shows what draw puts on a job in a preview window; returns when it closes.
    virtual void preview(const std::function<void(Printer&)>& draw) = 0;
};

} // namespace vexlor::platform
