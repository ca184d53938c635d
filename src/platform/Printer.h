#pragma once

#include <QString>
#include <QStringList>

namespace vexlor::platform {

// One print job, on a printer or into a file. Positions and sizes are in twips
// (1/1440 inch) from the top left of the printable area.
class Printer {
public:
    virtual ~Printer() = default;

    // Installed printers in the system's order, and the default one (empty when none).
    virtual QStringList deviceNames() const = 0;
    virtual QString defaultName() const = 0;
    // The printer of that name prints the job; an unknown name keeps the current one.
    virtual void selectPrinter(const QString& name) = 0;
    virtual void setCopies(int copies) = 0;
    // A page narrower than this many twips is scaled down so that the width fits.
    virtual void fitWidth(double twips) = 0;

    virtual void setFont(const QString& family, double size, bool bold, bool italic) = 0;
    virtual double currentX() const = 0;
    virtual double currentY() const = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    virtual double textWidth(const QString& text) const = 0;
    virtual double textHeight(const QString& text) const = 0;
    // The current font's height above the baseline.
    virtual double ascent() const = 0;
    // The printable height of a page; print() goes on to a new page past it.
    virtual double pageHeight() const = 0;
    // Prints at the current position, then moves to the start of the next line.
    virtual void print(const QString& text) = 0;
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    // Ends the page and starts the next at its top left.
    virtual void newPage() = 0;
    // Ends the page and sends the document; false with errorText() when that failed.
    virtual bool endDoc() = 0;
    virtual QString errorText() const = 0;
};

} // namespace vexlor::platform
