#include "platform/qt/QtPrintService.h"

#include "platform/qt/QtPrinter.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace vexlor::platform {

std::unique_ptr<Printer> QtPrintService::printer(const QString& pdfFile)
{
    return std::make_unique<QtPrinter>(pdfFile);
}

void QtPrintService::preview(const std::function<void(Printer&)>& draw)
{
    QPrinter target(QPrinter::HighResolution);
    QtPrinter::setListMargins(target);
    QPrintPreviewDialog dialog(&target, m_parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&draw](QPrinter* p) {
        QtPrinter job(*p);
        draw(job);
        job.endDoc();
    });
    dialog.exec();
}

} // namespace vexlor::platform
