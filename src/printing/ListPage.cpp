#include "printing/ListPage.h"

#include "memory/MemoryTables.h"
#include "platform/Printer.h"

#include <QLocale>

namespace vexlor::printing {

namespace {

using memory::MemoryTables;

constexpr double kRowX = 1300;

// A cell the store read as zero bytes: there is nothing to print.
bool isNulFilled(const memory::Cell& cell, int width)
{
    return cell.isText() && cell.text() == QString(width, QChar(0));
}

QString bankTitle(const MemoryTables& tables, int bank)
{
    return QStringLiteral("Freq Bank %1: %2").arg(bank).arg(tables.bankName(bank));
}

} // namespace

ListPage::ListPage(platform::Printer& printer) : m_printer(printer) { }

void ListPage::printText(const QString& text, double size, int style, double position, double advance)
{
    m_printer.setFont(QStringLiteral("Arial"), size, style & Bold, style & Italic);
    if (position == Left)
        m_printer.setCurrentX(0);
    else if (position == Centred)
        m_printer.setCurrentX(kCentre - m_printer.textWidth(text) / 2);
    else if (position == Right)
        m_printer.setCurrentX(kWidth - m_printer.textWidth(text));
    else
        m_printer.setCurrentX(position);
    const double height = m_printer.textHeight(text);
    m_printer.print(text);
    if (advance == SameLine)
        m_printer.setCurrentY(m_printer.currentY() - height);
    else if (advance != NextLine)
        m_printer.setCurrentY(m_printer.currentY() + advance);
}

void ListPage::rule(double y, double width, double thickness)
{
    for (int i = 1; i <= int(thickness); ++i)
        m_printer.line(kCentre - width / 2, y + i, kCentre + width / 2, y + i);
    m_printer.setCurrentX(0);
    m_printer.setCurrentY(y + thickness);
}

void ListPage::draw(const MemoryTables& tables, const Listing& listing, const PageHead& h, const QDateTime& printed)
{
    m_printer.fitWidth(kWidth);
    head(h, printed);
    if (listing.list == 0)
        frequencies(tables, listing.bank);
    else
        idList(tables, listing.bank, listing.list);
    m_printer.setCurrentY(m_printer.currentY() + 400);
    printText(h.motto, 12, Bold, Centred, NextLine);
}

void ListPage::head(const PageHead& h, const QDateTime& printed)
{
    // The head sits in a frame of a thick and a thin rule above and below.
    rule(1900, kWidth, 50);
    rule(2000, 11300, 20);
    m_printer.setCurrentY(m_printer.currentY() + 75);
    const QString when = QLocale::system().toString(printed.date(), QLocale::ShortFormat) + QStringLiteral("  ")
        + printed.time().toString(QStringLiteral("HH:mm"));
    printText(h.credit, 14, Bold, Right, SameLine);
    printText(when, 18, Bold, Centred, SameLine);
    printText(QStringLiteral("Vexlor"), 14, Bold, Left, NextLine);
    printText(h.webSite, 12, Bold, Left, SameLine);
    printText(h.userName, 18, Bold, Centred, SameLine);
    printText(h.mailAddress, 12, Bold, Right, NextLine);
    rule(2900, 11300, 20);
    rule(3000, kWidth, 50);
    m_printer.setCurrentY(m_printer.currentY() + 350);
}

void ListPage::frequencies(const MemoryTables& tables, int bank)
{
    printText(bankTitle(tables, bank), 24, Bold, Centred, 350);
    const int last = bank * MemoryTables::kChannelsPerBank;
    for (int ch = last - MemoryTables::kChannelsPerBank + 1; ch <= last; ++ch) {
        const auto text = [&](int col) { return tables.Channels.text(ch, col); };
        printText(QStringLiteral("Ch ") + text(MemoryTables::kChCh), 11, Bold, kRowX, SameLine);
        printText(text(MemoryTables::kChFrequency) + QStringLiteral(" MHz"), 11, Bold, 2400, SameLine);
        printText(text(MemoryTables::kChMode), 11, Bold, 4300, SameLine);
        printText(text(MemoryTables::kChType), 11, Bold, 5500, SameLine);
        printText(text(MemoryTables::kChName), 11, Bold, 6400, NextLine);
    }
}

void ListPage::idList(const MemoryTables& tables, int bank, int list)
{
    printText(bankTitle(tables, bank), 20, Bold, Centred, 100);
    printText(QStringLiteral("ID Bank %1").arg(list), 24, Bold, Centred, NextLine);
    for (int pos = 1; pos <= MemoryTables::kSlotsPerList; ++pos) {
        const auto cell = [&](int col) -> const memory::Cell& {
            return tables.IDs.at(bank, MemoryTables::slotOf(list, pos), col);
        };
        printText(QStringLiteral("Ch ") + cell(MemoryTables::kIdCh).display(), 12, Bold, kRowX, SameLine);
        if (!isNulFilled(cell(MemoryTables::kIdId), 6))
            printText(cell(MemoryTables::kIdId).display(), 12, Bold, 2400, SameLine);
        if (!isNulFilled(cell(MemoryTables::kIdType), 3))
            printText(cell(MemoryTables::kIdType).display(), 12, Bold, 3600, SameLine);
        if (isNulFilled(cell(MemoryTables::kIdName), 40))
            printText(QString(), 12, Bold, 3500, NextLine);
        else
            printText(cell(MemoryTables::kIdName).display(), 12, Bold, 4500, NextLine);
    }
}

} // namespace vexlor::printing
