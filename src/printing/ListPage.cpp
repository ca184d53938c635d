#include "printing/ListPage.h"

#include "memory/MemoryTables.h"
#include "platform/Printer.h"

#include <QLocale>

#include <algorithm>

namespace vexlor::printing {

namespace {

using memory::MemoryTables;

constexpr double kRowX = 1300;
constexpr double kGap = 60;         // the least room between two texts of a line
constexpr double kRowFloor = 7;     // a row's smallest type
constexpr double kTitleFloor = 14;  // a title's smallest type
constexpr double kHeadScale = 0.7;  // a head text's smallest type, as a share of its size
constexpr double kHeadPad = 40;     // between the head's last line and its lower rules
constexpr double kHeadRules = 2900; // where the lower rules stand when the head has room

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

void ListPage::setFont(double size, int style)
{
    m_printer.setFont(QStringLiteral("Arial"), size, style & Bold, style & Italic);
}

QStringList ListPage::wrapped(const QString& text, double width)
{
    QStringList lines;
    QString line;
    for (QString word : text.split(QLatin1Char(' '))) {
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (m_printer.textWidth(joined) <= width) {
            line = joined;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        // A word wider than the room is broken where it must be.
        while (word.size() > 1 && m_printer.textWidth(word) > width) {
            qsizetype n = word.size() - 1;
            while (n > 1 && m_printer.textWidth(word.left(n)) > width)
                --n;
            if (n > 1 && word[n - 1].isHighSurrogate())
                --n;
            lines << word.left(n);
            word = word.mid(n);
        }
        line = word;
    }
    lines << line;
    return lines;
}

ListPage::Fitted ListPage::fit(const QString& text, double size, double minSize, int style, double width)
{
    double s = size;
    setFont(s, style);
    while (s > minSize && m_printer.textWidth(text) > width) {
        s = std::max(minSize, s - 0.5);
        setFont(s, style);
    }
    return {s, wrapped(text, width)};
}

void ListPage::printFitted(const Fitted& f, int style, double position)
{
    for (const QString& line : f.lines)
        printText(line, f.size, style, position, NextLine);
}

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
    // The head sits in a frame of a thick and a thin rule above and below;
    // the lower ones move down when its texts need the room.
    rule(1900, kWidth, 50);
    rule(2000, 11300, 20);
    const QString when = QLocale::system().toString(printed.date(), QLocale::ShortFormat) + QStringLiteral("  ")
        + printed.time().toString(QStringLiteral("HH:mm"));
    double y = m_printer.currentY() + 75;
    y = headLine(y, {QStringLiteral("Vexlor"), 14}, {when, 18}, {h.credit, 14});
    y = headLine(y, {h.webSite, 12}, {h.userName, 18}, {h.mailAddress, 12});
    const double below = std::max(kHeadRules, y + kHeadPad);
    rule(below, 11300, 20);
    rule(below + 100, kWidth, 50);
    m_printer.setCurrentY(m_printer.currentY() + 350);
}

double ListPage::headLine(double y, const Item& left, const Item& centre, const Item& right)
{
    // Texts on one line share their baseline.
    const auto line = [this](double top, QList<Item> items) {
        double up = 0, down = 0;
        for (const Item& i : items) {
            setFont(i.size, Bold);
            up = std::max(up, m_printer.ascent());
            down = std::max(down, m_printer.textHeight(i.text) - m_printer.ascent());
        }
        for (const Item& i : items) {
            setFont(i.size, Bold);
            m_printer.setCurrentY(top + up - m_printer.ascent());
            printText(i.text, i.size, Bold, i.x, NextLine);
        }
        return top + up + down;
    };
    const auto width = [this](const Item& i, double scale) {
        setFont(i.size * scale, Bold);
        return i.text.isEmpty() ? 0.0 : m_printer.textWidth(i.text);
    };
    for (double scale = 1; scale >= kHeadScale; scale -= 0.05) {
        const double l = width(left, scale), c = width(centre, scale), r = width(right, scale);
        const bool fits = c == 0 ? l + kGap + r <= kWidth
                                 : l + kGap <= kCentre - c / 2 && kCentre + c / 2 + kGap <= kWidth - r && c <= kWidth;
        if (fits) {
            return line(y, {{left.text, left.size * scale, Left}, {centre.text, centre.size * scale, Centred},
                            {right.text, right.size * scale, Right}});
        }
    }
    // Too long for one line: the centre text alone, then the two sides.
    const Fitted middle = fit(centre.text, centre.size, centre.size * kHeadScale, Bold, kWidth);
    for (const QString& text : middle.lines)
        y = line(y, {{text, middle.size, Centred}});
    if (width(left, 1) + kGap + width(right, 1) <= kWidth)
        return line(y, {{left.text, left.size, Left}, {right.text, right.size, Right}});
    for (const auto& [side, position] : {std::pair {&left, Left}, std::pair {&right, Right}}) {
        const Fitted f = fit(side->text, side->size, side->size * kHeadScale, Bold, kWidth);
        for (const QString& text : f.lines)
            y = line(y, {{text, f.size, position}});
    }
    return y;
}

void ListPage::row(const QList<Item>& cells)
{
    QList<Fitted> fitted;
    double up = 0, height = 0;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        // The room runs to the nearest column on the right, or to the edge.
        double end = kWidth;
        for (qsizetype j = i + 1; j < cells.size(); ++j) {
            if (cells[j].x > cells[i].x)
                end = std::min(end, cells[j].x - kGap);
        }
        fitted << fit(cells[i].text, cells[i].size, std::min(cells[i].size, kRowFloor), Bold, end - cells[i].x);
        up = std::max(up, m_printer.ascent());
    }
    for (const Fitted& f : fitted) {
        setFont(f.size, Bold);
        height = std::max(height, up - m_printer.ascent() + f.lines.size() * m_printer.textHeight(QString()));
    }
    double top = m_printer.currentY();
    if (top > 0 && top + height > m_printer.pageHeight()) {
        m_printer.newPage();
        top = 0;
    }
    for (qsizetype i = 0; i < cells.size(); ++i) {
        setFont(fitted[i].size, Bold);
        m_printer.setCurrentY(top + up - m_printer.ascent());
        printFitted(fitted[i], Bold, cells[i].x);
    }
    m_printer.setCurrentY(top + height);
}

void ListPage::frequencies(const MemoryTables& tables, int bank)
{
    printFitted(fit(bankTitle(tables, bank), 24, kTitleFloor, Bold, kWidth), Bold, Centred);
    m_printer.setCurrentY(m_printer.currentY() + 350);
    const int last = bank * MemoryTables::kChannelsPerBank;
    for (int ch = last - MemoryTables::kChannelsPerBank + 1; ch <= last; ++ch) {
        const auto text = [&](int col) { return tables.Channels.text(ch, col); };
        row({{QStringLiteral("Ch ") + text(MemoryTables::kChCh), 11, kRowX},
             {text(MemoryTables::kChFrequency) + QStringLiteral(" MHz"), 11, 2400},
             {text(MemoryTables::kChMode), 11, 4300},
             {text(MemoryTables::kChType), 11, 5500},
             {text(MemoryTables::kChName), 11, 6400}});
    }
}

void ListPage::idList(const MemoryTables& tables, int bank, int list)
{
    printFitted(fit(bankTitle(tables, bank), 20, kTitleFloor, Bold, kWidth), Bold, Centred);
    m_printer.setCurrentY(m_printer.currentY() + 100);
    printText(QStringLiteral("ID Bank %1").arg(list), 24, Bold, Centred, NextLine);
    for (int pos = 1; pos <= MemoryTables::kSlotsPerList; ++pos) {
        const auto cell = [&](int col) -> const memory::Cell& {
            return tables.IDs.at(bank, MemoryTables::slotOf(list, pos), col);
        };
        QList<Item> cells {{QStringLiteral("Ch ") + cell(MemoryTables::kIdCh).display(), 12, kRowX}};
        if (!isNulFilled(cell(MemoryTables::kIdId), 6))
            cells.append({cell(MemoryTables::kIdId).display(), 12, 2400});
        if (!isNulFilled(cell(MemoryTables::kIdType), 3))
            cells.append({cell(MemoryTables::kIdType).display(), 12, 3600});
        if (isNulFilled(cell(MemoryTables::kIdName), 40))
            cells.append({QString(), 12, 3500});
        else
            cells.append({cell(MemoryTables::kIdName).display(), 12, 4500});
        row(cells);
    }
}

} // namespace vexlor::printing
