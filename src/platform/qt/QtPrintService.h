#pragma once

#include "platform/PrintService.h"

class QWidget;

namespace vexlor::platform {

// QtPrinter jobs and QPrintPreviewDialog.
class QtPrintService : public PrintService {
public:
    // Previews open over this window once it exists.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    std::unique_ptr<Printer> printer(const QString& pdfFile = {}) override;
    void preview(const std::function<void(Printer&)>& draw) override;

private:
    QWidget* m_parent = nullptr;
};

} // namespace vexlor::platform
