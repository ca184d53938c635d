#pragma once

#include "platform/Printer.h"

#include <QFont>
#include <QPainter>
#include <memory>

class QPrinter;

namespace vexlor::platform {

// A print job on QPrinter. The painter begins at the first drawing, once the
// printer, the copies and the output file are settled.
class QtPrinter : public Printer {
public:
    // The system's default printer, or the PDF file pdfFile when it is given.
    explicit QtPrinter(const QString& pdfFile = {});
    // Draws on a printer owned elsewhere, such as a preview's.
    explicit QtPrinter(QPrinter& target);
    ~QtPrinter() override;

    // Narrow margins: a listing is nearly eight inches wide.
    static void setListMargins(QPrinter& printer);

    QStringList deviceNames() const override;
    QString defaultName() const override;
    void selectPrinter(const QString& name) override;
    void setCopies(int copies) override;
    void fitWidth(double twips) override;

    void setFont(const QString& family, double size, bool bold, bool italic) override;
    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setCurrentX(double x) override { m_x = x; }
    void setCurrentY(double y) override { m_y = y; }
    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    double ascent() const override;
    double pageHeight() const override;
    void print(const QString& text) override;
    void line(double x1, double y1, double x2, double y2) override;
    void newPage() override;
    bool endDoc() override;
    QString errorText() const override { return m_error; }

private:
    bool begin();
    // Device units per twip, the fitting scale included.
    double unit() const;
    void applyFont();

    std::unique_ptr<QPrinter> m_own;
    QPrinter* m_printer;
    QPainter m_painter;
    QFont m_font;
    double m_size = 12;
    double m_fit = 1;
    double m_x = 0;
    double m_y = 0;
    bool m_failed = false;
    bool m_ended = false;
    QString m_error;
};

} // namespace vexlor::platform
