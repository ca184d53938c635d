#pragma once

#include <QDateTime>
#include <QString>

namespace vexlor::platform {
class Printer;
}

namespace vexlor::memory {
class MemoryTables;
}

namespace vexlor::printing {

// The texts of the page head and foot, filled by whoever knows the configuration.
struct PageHead {
    QString credit;
    QString webSite;
    QString userName;
    QString mailAddress;
    QString motto;
};

// What one page lists: a frequency bank, or one ID list of a bank.
struct Listing {
    int bank = 1;
    int list = 0; // 0: the bank's channels
};

// The printed page of a bank or an ID list, in twips on a page 11500 wide.
// Every text is measured with its font: one too wide for its place is set
// smaller, down to a floor, and then broken into lines, never past an edge.
class ListPage {
public:
    static constexpr double kWidth = 11500;
    static constexpr double kCentre = 5750;
    // Positions of printText besides an absolute x.
    static constexpr double Left = 0;
    static constexpr double Centred = 1;
    static constexpr double Right = 2;
    // Advances of printText besides a number of twips.
    static constexpr double NextLine = 0;
    static constexpr double SameLine = 1;
    enum Style { Plain = 0, Bold = 1, Italic = 2, BoldItalic = 3 };

    explicit ListPage(platform::Printer& printer);

    // The whole page; the caller ends the document.
    void draw(const memory::MemoryTables& tables, const Listing& listing, const PageHead& head,
        const QDateTime& printed);

    void printText(const QString& text, double size, int style, double position, double advance);
    // Lines one twip apart below y, centred on the page, leaving the position under them.
    void rule(double y, double width, double thickness);

    // A text of a line of the head or of a row: what, its type size, and its place.
    struct Item {
        QString text;
        double size = 12;
        double x = 0; // a row's column; unused in the head
    };
    // Lines of text no wider than width in the current font, broken at blanks where it can.
    QStringList wrapped(const QString& text, double width);

private:
    // A fitted text: the size it is set in and its lines.
    struct Fitted {
        double size = 0;
        QStringList lines;
    };
    void setFont(double size, int style);
    Fitted fit(const QString& text, double size, double minSize, int style, double width);
    void printFitted(const Fitted& f, int style, double position);
    // Left, centred and right texts on one line when they fit, else stacked; returns the y below them.
    double headLine(double y, const Item& left, const Item& centre, const Item& right);
    // One row of cells at their columns, each fitted to the room before the next; the page breaks before a row that would not fit.
    void row(const QList<Item>& cells);
    void head(const PageHead& head, const QDateTime& printed);
    void frequencies(const memory::MemoryTables& tables, int bank);
    void idList(const memory::MemoryTables& tables, int bank, int list);

    platform::Printer& m_printer;
};

} // namespace vexlor::printing
