#include "memory/MemoryTables.h"
#include "platform/Printer.h"
#include "printing/ListPage.h"
#include "TestSuite.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLineF>
#include <QTest>

namespace tst_listpage {
namespace {

using namespace vexlor;
using printing::ListPage;

namespace {

// Text 100 twips a character wide and twenty times its size high; records what is drawn.
class RecordingPrinter : public platform::Printer {
public:
    QStringList deviceNames() const override { return {}; }
    QString defaultName() const override { return {}; }
    void selectPrinter(const QString&) override { }
    void setCopies(int) override { }
    void fitWidth(double) override { }
    void setFont(const QString&, double size, bool, bool) override { m_size = size; }
    double currentX() const override { return x; }
    double currentY() const override { return y; }
    void setCurrentX(double v) override { x = v; }
    void setCurrentY(double v) override { y = v; }
    double textWidth(const QString& text) const override { return 100.0 * text.size(); }
    double textHeight(const QString&) const override { return 20 * m_size; }
    double ascent() const override { return 16 * m_size; }
    double pageHeight() const override { return 1e9; }
    void print(const QString& text) override
    {
        printedAt = x;
        printed.append({text, x});
        x = 0;
        y += 20 * m_size;
    }
    void line(double x1, double y1, double x2, double y2) override { lines.append(QLineF(x1, y1, x2, y2)); }
    void newPage() override { x = y = 0; }
    bool endDoc() override { return true; }
    QString errorText() const override { return {}; }

    double x = 0;
    double y = 1000;
    double printedAt = -1;
    QList<QLineF> lines;
    QList<std::pair<QString, double>> printed;

private:
    double m_size = 10;
};

// Real type at 1440 dots an inch, so that a pixel is a twip; records each text's box.
class MeasuringPrinter : public RecordingPrinter {
public:
    MeasuringPrinter()
    {
        m_device.setDotsPerMeterX(56693);
        m_device.setDotsPerMeterY(56693);
    }
    void setFont(const QString& family, double size, bool bold, bool) override
    {
        m_font = QFont(family);
        m_font.setPointSizeF(size);
        m_font.setBold(bold);
    }
    double textWidth(const QString& text) const override { return QFontMetricsF(m_font, &m_device).horizontalAdvance(text); }
    double textHeight(const QString&) const override { return QFontMetricsF(m_font, &m_device).height(); }
    double ascent() const override { return QFontMetricsF(m_font, &m_device).ascent(); }
    void print(const QString& text) override
    {
        if (!text.isEmpty())
            boxes.append({text, QRectF(x, y, textWidth(text), textHeight(text))});
        x = 0;
        y += textHeight(text);
    }
    QList<std::pair<QString, QRectF>> boxes;

private:
    QImage m_device {1, 1, QImage::Format_RGB32};
    QFont m_font;
};

} // namespace

class TestListPage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Size 10 text "abcd": 400 wide, 200 high, printed from y 1000.
    void printText_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("advance");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("left, next line") << 0.0 << 0.0 << 0.0 << 1200.0;
        QTest::newRow("centred, same line") << 1.0 << 1.0 << 5550.0 << 1000.0;
        QTest::newRow("right") << 2.0 << 0.0 << 11100.0 << 1200.0;
        QTest::newRow("absolute, then down 350") << 1300.0 << 350.0 << 1300.0 << 1550.0;
    }
    void printText()
    {
        QFETCH(double, position);
        QFETCH(double, advance);
        RecordingPrinter printer;
        printer.x = 77;
        ListPage(printer).printText(QStringLiteral("abcd"), 10, ListPage::Bold, position, advance);
        QTEST(printer.printedAt, "x");
        QTEST(printer.y, "y");
    }

    void rule()
    {
        RecordingPrinter printer;
        ListPage(printer).rule(2000, 11300, 20);
        QCOMPARE(printer.lines.size(), 20);
        QCOMPARE(printer.lines.first(), QLineF(100, 2001, 11400, 2001));
        QCOMPARE(printer.lines.last(), QLineF(100, 2020, 11400, 2020));
        // What follows starts below the rule.
        QCOMPARE(printer.y, 2020.0);
    }

    // The longest texts each field takes stay inside the page, clear of each
    // other and of the head's rules, and are printed whole.
    void longestTextsKeepTheirPlaces_data()
    {
        QTest::addColumn<int>("list");
        QTest::newRow("frequencies") << 0;
        QTest::newRow("ID list") << 10;
    }
    void longestTextsKeepTheirPlaces()
    {
        QFETCH(int, list);
        using memory::MemoryTables;
        MemoryTables tables;
        const QString bankName = QStringLiteral("Regional Interoperability Mutual Aid Channels - Northwest Zone").left(61);
        const QString wide(40, QLatin1Char('W'));
        tables.BankNames.set(10, bankName);
        for (int ch = 271; ch <= 300; ++ch) {
            for (const auto& [col, text] : {std::pair {MemoryTables::kChCh, QString::number(ch)}, {MemoryTables::kChFrequency, QStringLiteral("956.0000")},
                                            {MemoryTables::kChType, QStringLiteral("MMM")}, {MemoryTables::kChName, wide},
                                            {MemoryTables::kChMode, QStringLiteral("Normal")}})
                tables.Channels.set(ch, col, text);
        }
        for (int slot = 91; slot <= 100; ++slot) {
            const QStringList cells {MemoryTables::slotLabel(slot), "999999", "MMM", wide};
            for (int col = 0; col < cells.size(); ++col)
                tables.IDs.set(10, slot, col, cells[col]);
        }
        const printing::PageHead head {"Printed by Vexlor 2.4.3", "https://www.example.org/community/receivers/vexlor/index.html",
                                       "Wilhelmina Quigley-Dzhugashvili, Night Operator, Pittsburgh",
                                       "wilhelmina.quigley.nightdesk@example.org", "Good listening!"};
        MeasuringPrinter printer;
        ListPage(printer).draw(tables, {10, list}, head, QDateTime(QDate(2026, 12, 31), QTime(23, 59)));

        QString all;
        for (qsizetype i = 0; i < printer.boxes.size(); ++i) {
            const auto& [text, box] = printer.boxes[i];
            all += text;
            QVERIFY2(box.left() >= 0 && box.right() <= ListPage::kWidth + 0.5, qPrintable(text));
            for (qsizetype j = 0; j < i; ++j)
                QVERIFY2(!box.adjusted(0.5, 0.5, -0.5, -0.5).intersects(printer.boxes[j].second), qPrintable(text + " / " + printer.boxes[j].first));
            for (const QLineF& rule : printer.lines)
                QVERIFY2(rule.y1() <= box.top() || rule.y1() >= box.bottom(), qPrintable(text));
        }
        all.remove(QLatin1Char(' '));
        for (const QString& whole : {bankName, wide, head.webSite, head.userName, head.mailAddress, head.credit})
            QVERIFY2(all.contains(QString(whole).remove(QLatin1Char(' '))), qPrintable(whole));
    }

    // Cells the store read as zero bytes print nothing; a NUL name leaves an empty text at 3500.
    void nulCells()
    {
        using memory::MemoryTables;
        MemoryTables tables;
        const QStringList nuls {"1-1", QString(6, QChar(0)), QString(3, QChar(0)), QString(40, QChar(0))};
        const QStringList values {"1-2", "000042", "POL", "Patrol"};
        for (int col = 0; col < 4; ++col) {
            tables.IDs.set(1, 1, col, nuls[col]);
            tables.IDs.set(1, 2, col, values[col]);
        }
        RecordingPrinter printer;
        ListPage(printer).draw(tables, {1, 1}, {}, QDateTime());
        using Row = QList<std::pair<QString, double>>;
        const auto first = printer.printed.indexOf(std::pair<QString, double>(QStringLiteral("Ch 1-1"), 1300));
        QVERIFY(first > 0);
        QCOMPARE(printer.printed.mid(first, 6),
            (Row {{"Ch 1-1", 1300}, {"", 3500}, {"Ch 1-2", 1300}, {"000042", 2400}, {"POL", 3600}, {"Patrol", 4500}}));
    }
};

VEXLOR_TEST_MAIN(TestListPage)

} // namespace
} // namespace tst_listpage

#include "tst_listpage.moc"
