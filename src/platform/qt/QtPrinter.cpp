#include "platform/qt/QtPrinter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace vexlor::platform {

namespace {

constexpr double kTwipsPerInch = 1440;

} // namespace

QtPrinter::QtPrinter(const QString& pdfFile)
    : m_own(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_printer(m_own.get())
{
    if (!pdfFile.isEmpty()) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(pdfFile);
    }
    setListMargins(*m_printer);
    applyFont();
}

QtPrinter::QtPrinter(QPrinter& target) : m_printer(&target) { applyFont(); }

QtPrinter::~QtPrinter()
{
    if (m_painter.isActive())
        m_painter.end();
}

void QtPrinter::setListMargins(QPrinter& printer)
{
    printer.setPageMargins(QMarginsF(6, 6, 6, 6), QPageLayout::Millimeter);
}

QStringList QtPrinter::deviceNames() const { return QPrinterInfo::availablePrinterNames(); }

QString QtPrinter::defaultName() const { return QPrinterInfo::defaultPrinterName(); }

void QtPrinter::selectPrinter(const QString& name)
{
    if (m_painter.isActive() || m_printer->outputFormat() != QPrinter::NativeFormat)
        return;
    if (QPrinterInfo::availablePrinterNames().contains(name))
        m_printer->setPrinterName(name);
}

void QtPrinter::setCopies(int copies)
{
    if (!m_painter.isActive())
        m_printer->setCopyCount(std::max(1, copies));
}

void QtPrinter::fitWidth(double twips)
{
    const double width = m_printer->pageLayout().paintRect(QPageLayout::Inch).width() * kTwipsPerInch;
    m_fit = (twips > 0 && width > 0 && width < twips) ? width / twips : 1.0;
    applyFont();
}

void QtPrinter::setFont(const QString& family, double size, bool bold, bool italic)
{
    m_font = QFont(family);
    m_size = size;
    m_font.setBold(bold);
    m_font.setItalic(italic);
    applyFont();
}

void QtPrinter::applyFont()
{
    m_font.setPointSizeF(m_size * m_fit);
    if (m_painter.isActive())
        m_painter.setFont(m_font);
}

double QtPrinter::unit() const { return m_printer->resolution() / kTwipsPerInch * m_fit; }

double QtPrinter::pageHeight() const
{
    return m_printer->pageLayout().paintRect(QPageLayout::Inch).height() * kTwipsPerInch / m_fit;
}

double QtPrinter::textWidth(const QString& text) const
{
    return QFontMetricsF(m_font, m_printer).horizontalAdvance(text) / unit();
}

double QtPrinter::textHeight(const QString&) const { return QFontMetricsF(m_font, m_printer).height() / unit(); }

double QtPrinter::ascent() const { return QFontMetricsF(m_font, m_printer).ascent() / unit(); }

bool QtPrinter::begin()
{
    if (m_painter.isActive())
        return true;
    if (m_failed || m_ended)
        return false;
    if (!m_painter.begin(m_printer)) {
        m_failed = true;
        m_error = m_printer->outputFormat() == QPrinter::PdfFormat
            ? QStringLiteral("The file %1 could not be written.").arg(m_printer->outputFileName())
            : QStringLiteral("The printer %1 could not start the job.").arg(m_printer->printerName());
        return false;
    }
    m_painter.setFont(m_font);
    return true;
}

void QtPrinter::print(const QString& text)
{
    if (!begin())
        return;
    const double height = textHeight(text);
    // Text that would pass the bottom of the page goes to the top of the next one.
    if (m_y > 0 && m_y + height > pageHeight()) {
        m_printer->newPage();
        m_y = 0;
    }
    const QFontMetricsF metrics(m_font, m_printer);
    m_painter.drawText(QPointF(m_x * unit(), m_y * unit() + metrics.ascent()), text);
    m_x = 0;
    m_y += height;
}

void QtPrinter::line(double x1, double y1, double x2, double y2)
{
    if (!begin())
        return;
    QPen pen(Qt::black, std::max(1.0, unit()));
    pen.setCapStyle(Qt::FlatCap);
    m_painter.setPen(pen);
    m_painter.drawLine(QPointF(x1 * unit(), y1 * unit()), QPointF(x2 * unit(), y2 * unit()));
}

void QtPrinter::newPage()
{
    if (!begin())
        return;
    m_printer->newPage();
    m_x = m_y = 0;
}

bool QtPrinter::endDoc()
{
    // A job with nothing drawn still makes its (empty) page.
    begin();
    if (m_painter.isActive() && !m_painter.end() && !m_failed) {
        m_failed = true;
        m_error = QStringLiteral("The document could not be sent to the printer.");
    }
    m_ended = true;
    return !m_failed;
}

} // namespace vexlor::platform
