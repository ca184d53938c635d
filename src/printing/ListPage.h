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

private:
    void head(const PageHead& head, const QDateTime& printed);
    void frequencies(const memory::MemoryTables& tables, int bank);
    void idList(const memory::MemoryTables& tables, int bank, int list);

    platform::Printer& m_printer;
};

} // namespace vexlor::printing
