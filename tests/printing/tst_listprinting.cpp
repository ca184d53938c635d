#include "FakeClock.h"
#include "FakeDialogs.h"
#include "memory/MemoryTables.h"
#include "platform/qt/QtPrintService.h"
#include "printing/ListPrinting.h"
#include "TestSuite.h"

#include <QFile>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace tst_listprinting {
namespace {

using namespace vexlor;
using memory::MemoryTables;

// Printing lists into real PDF files, read back with pdftotext.
class TestListPrinting : public QObject {
    Q_OBJECT
private:
    MemoryTables m_tables;
    platform::QtPrintService m_service;
    fakes::FakeDialogs m_dialogs;
    fakes::FakeClock m_clock;
    std::unique_ptr<QTemporaryDir> m_dir;
    printing::PageHead m_head;
    std::unique_ptr<printing::ListPrinting> m_printing;

    QString path(const QString& name) const { return m_dir->filePath(name); }

    // Chooses the PDF item and answers the file dialog with name.
    void toPdf(const std::optional<QString>& name)
    {
        m_printing->CmbImprimante_Change(printing::ListPrinting::pdfItem());
        m_dialogs.fileAnswers.push_back(name);
    }

    static QString pdfText(const QString& file)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        if (!p.waitForFinished(20000) || p.exitCode() != 0)
            return QStringLiteral("pdftotext failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(), "poppler-utils is needed");
        for (int ch = 241; ch <= 300; ++ch) {
            m_tables.Channels.set(ch, MemoryTables::kChCh, ch);
            m_tables.Channels.set(ch, MemoryTables::kChFrequency, QStringLiteral("%1.0000").arg(ch + 100));
            m_tables.Channels.set(ch, MemoryTables::kChType, QStringLiteral("POL"));
            m_tables.Channels.set(ch, MemoryTables::kChName, QStringLiteral("Unit %1").arg(ch));
            m_tables.Channels.set(ch, MemoryTables::kChMode, ch % 2 ? QStringLiteral("Trunk") : QStringLiteral("Normal"));
        }
        m_tables.BankNames.set(10, QStringLiteral("Coast"));
        m_tables.BankNames.set(3, QStringLiteral("City"));
        const auto setSlot = [this](int slot, const QStringList& cells) {
            for (int col = 0; col < cells.size(); ++col)
                m_tables.IDs.set(3, slot, col, cells[col]);
        };
        setSlot(11, {"2-1", "001234", "FDP", "Dispatch"});
        setSlot(12, {"2-2", QString(6, QChar(0)), QString(3, QChar(0)), QString(40, QChar(0))});
        m_clock.setLocalDateTime(QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)));
    }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = fakes::FakeDialogs();
        m_head = {"Printed by Vexlor 2.4.3", "https://example.org/vexlor", "Kestrel", "ops@example.org", "Good listening!"};
        m_printing = std::make_unique<printing::ListPrinting>(
            m_tables, m_service, m_dialogs, m_clock, [this] { return m_head; });
        m_printing->open();
    }

    // Every opening starts afresh, whatever the last one left.
    void open()
    {
        m_printing->IDOption_Click();
        m_printing->IDBankCmb_Change(QStringLiteral("4"));
        m_printing->FreqBankCmb_Change(QStringLiteral("7"));
        m_printing->NbDeCopieBox_Change(QStringLiteral("12"));
        m_printing->CmbImprimante_Change(printing::ListPrinting::pdfItem());
        m_printing->open();
        QVERIFY(!m_printing->idMode());
        QCOMPARE(m_printing->IDBankCmb() + '|' + m_printing->FreqBankCmb() + '|' + m_printing->NbDeCopieBox(),
                 QStringLiteral("|1|1"));
        const QStringList items = m_printing->printers();
        QCOMPARE(items.last(), printing::ListPrinting::pdfItem());
        QVERIFY(items.contains(m_printing->CmbImprimante()));
    }

    void options()
    {
        QSignalSpy focus(m_printing.get(), &printing::ListPrinting::idBankFocus);
        QVERIFY(!m_printing->idBankEnabled());
        m_printing->IDOption_Click();
        QVERIFY(m_printing->idBankEnabled());
        QCOMPARE(focus.count(), 1);
        QCOMPARE(m_printing->InfoLbl(), QStringLiteral("Only ID's Will be Print!"));
        m_printing->IDBankCmb_Change(QStringLiteral("4"));
        m_printing->FreqOption_Click();
        QVERIFY(!m_printing->idBankEnabled());
        QCOMPARE(m_printing->IDBankCmb(), QString());
        QCOMPARE(m_printing->InfoLbl(), QStringLiteral("Only Freq's Will be Print!"));
    }

    void copies_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("bar");
        QTest::newRow("number") << "5" << 5;
        QTest::newRow("zero keeps the bar") << "0" << 1;
        QTest::newRow("beyond the range") << "500" << printing::ListPrinting::kMaxCopies;
    }
    void copies()
    {
        QFETCH(QString, box);
        m_printing->NbDeCopieBox_Change(box);
        QTEST(m_printing->VScrollCopie(), "bar");
        m_printing->VScrollCopie_Change(7);
        QCOMPARE(m_printing->NbDeCopieBox(), QStringLiteral("7"));
    }

    // Nothing is printed after a warning; the ID box counts only for an ID list.
    void checks_data()
    {
        QTest::addColumn<QString>("freqBank");
        QTest::addColumn<bool>("ids");
        QTest::addColumn<QString>("idBank");
        QTest::addColumn<QString>("copies");
        QTest::addColumn<QString>("message");
        const QString freq = QStringLiteral("Invalid Freq Bank!");
        const QString id = QStringLiteral("Invalid ID Bank!");
        const QString copies = QStringLiteral("Invalid number of copies! Type a number from 1 to 99.");
        QTest::newRow("freq 0") << "0" << false << "" << "1" << freq;
        QTest::newRow("freq empty") << "" << false << "" << "1" << freq;
        QTest::newRow("freq 11") << "11" << false << "" << "1" << freq;
        QTest::newRow("freq abc") << "abc" << false << "" << "1" << freq;
        QTest::newRow("freq checked first") << "0" << true << "0" << "1" << freq;
        QTest::newRow("id empty") << "2" << true << "" << "1" << id;
        QTest::newRow("id 11") << "2" << true << "11" << "1" << id;
        QTest::newRow("id box ignored for a bank") << "2" << false << "abc" << "1" << QString();
        QTest::newRow("copies 0") << "2" << false << "" << "0" << copies;
        QTest::newRow("copies negative") << "2" << false << "" << "-3" << copies;
        QTest::newRow("copies text") << "2" << false << "" << "two" << copies;
        QTest::newRow("id list prints") << "2" << true << "10" << "2" << QString();
    }
    void checks()
    {
        QFETCH(QString, freqBank);
        QFETCH(bool, ids);
        QFETCH(QString, idBank);
        QFETCH(QString, copies);
        QFETCH(QString, message);
        if (ids)
            m_printing->IDOption_Click();
        m_printing->FreqBankCmb_Change(freqBank);
        m_printing->IDBankCmb_Change(idBank);
        m_printing->NbDeCopieBox_Change(copies);
        toPdf(path(QStringLiteral("list.pdf")));
        QSignalSpy busy(m_printing.get(), &printing::ListPrinting::busy);
        QCOMPARE(m_printing->PrintCmd_Click(), message.isEmpty());
        // The busy pointer only while a job runs, and always given back.
        QCOMPARE(busy.count(), message.isEmpty() ? 2 : 0);
        QCOMPARE(QFile::exists(path(QStringLiteral("list.pdf"))), message.isEmpty());
        if (message.isEmpty()) {
            QVERIFY(m_dialogs.messages.isEmpty());
        } else {
            QCOMPARE(m_dialogs.texts(), QStringList {message});
            QCOMPARE(m_dialogs.messages.first().title, QStringLiteral("Watch out!"));
        }
    }

    void pdfFile_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QString>("written");
        QTest::newRow("cancelled") << std::optional<QString>() << QString();
        QTest::newRow("suffix added") << std::optional<QString>(QStringLiteral("bank")) << "bank.pdf";
        QTest::newRow("suffix kept") << std::optional<QString>(QStringLiteral("bank.pdf")) << "bank.pdf";
    }
    void pdfFile()
    {
        QFETCH(std::optional<QString>, answer);
        QFETCH(QString, written);
        toPdf(answer ? std::optional<QString>(path(*answer)) : answer);
        QCOMPARE(m_printing->PrintCmd_Click(), !written.isEmpty());
        QCOMPARE(m_dialogs.fileRequests.size(), 1);
        QVERIFY(m_dialogs.fileRequests.first().newName);
        QCOMPARE(m_dialogs.fileRequests.first().filter, QStringLiteral("PDF Files (*.pdf)|*.pdf"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), written.isEmpty() ? QStringList() : QStringList {written});
        QVERIFY(m_dialogs.messages.isEmpty());
    }

    void failureReported()
    {
        const QString file = path(QStringLiteral("missing/folder/list.pdf"));
        toPdf(file);
        QVERIFY(!m_printing->PrintCmd_Click());
        QCOMPARE(m_dialogs.texts(), QStringList {QStringLiteral("The list could not be printed.")});
        QVERIFY2(m_dialogs.messages.first().informative.contains(file), qPrintable(m_dialogs.messages.first().informative));
    }

    // Each listed line must be on the page (regular expressions), each absent one must not.
    void page_data()
    {
        QTest::addColumn<QString>("freqBank");
        QTest::addColumn<QString>("idList");
        QTest::addColumn<bool>("links");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("bank 10") << "10" << "" << true
                                 << QStringList {"Freq Bank 10: Coast", "^\\s*Ch 271\\s+371\\.0000 MHz\\s+Trunk\\s+POL\\s+Unit 271$",
                                        "^\\s*Ch 300\\s+400\\.0000 MHz\\s+Normal\\s+POL\\s+Unit 300$",
                                        "Printed by Vexlor 2\\.4\\.3", "^Vexlor\\s", "Kestrel", "https://example\\.org/vexlor",
                                        "ops@example\\.org", "09:26", "Good listening!"}
                                 << QStringList {"Ch 270\\b", "Ch 301\\b", "ID Bank"};
        QTest::newRow("ID list") << "3" << "2" << false
                                 << QStringList {"Freq Bank 3: City", "ID Bank 2", "^\\s*Ch 2-1\\s+001234\\s+FDP\\s+Dispatch$",
                                        "^\\s*Ch 2-2$", "^\\s*Ch$"}
                                 << QStringList {"MHz", "example\\.org", "Ch 2-3"};
    }
    void page()
    {
        QFETCH(QString, freqBank);
        QFETCH(QString, idList);
        QFETCH(bool, links);
        if (!links)
            m_head.webSite = m_head.mailAddress = QString();
        m_printing->FreqBankCmb_Change(freqBank);
        if (!idList.isEmpty()) {
            m_printing->IDOption_Click();
            m_printing->IDBankCmb_Change(idList);
        }
        toPdf(path(QStringLiteral("page.pdf")));
        QVERIFY(m_printing->PrintCmd_Click());
        const QString text = pdfText(path(QStringLiteral("page.pdf")));
        const auto lines = text.split(QLatin1Char('\n'));
        QFETCH(QStringList, present);
        for (const QString& p : present)
            QVERIFY2(text.contains(QRegularExpression(p, QRegularExpression::MultilineOption)), qPrintable(p + "\n" + text));
        QFETCH(QStringList, absent);
        for (const QString& a : absent)
            QVERIFY2(!text.contains(QRegularExpression(a, QRegularExpression::MultilineOption)), qPrintable(a + "\n" + text));
        const int rows = int(lines.filter(QRegularExpression(QStringLiteral("^\\s*Ch\\b"))).size());
        QCOMPARE(rows, idList.isEmpty() ? 30 : 10);
        // One page: the form feed pdftotext puts between pages appears only at the end.
        QCOMPARE(text.count(QLatin1Char('\f')), 1);
    }

    // The longest texts, as the PDF holds them: every word inside the page and
    // clear of the others, every text whole.
    void longestTextsInThePdf_data()
    {
        QTest::addColumn<QString>("idList");
        QTest::newRow("frequencies") << "";
        QTest::newRow("ID list") << "1";
    }
    void longestTextsInThePdf()
    {
        QFETCH(QString, idList);
        const QString bankName = QStringLiteral("Regional Interoperability Mutual Aid Channels - Northwest Zone").left(61);
        const QString wide(40, QLatin1Char('W'));
        m_tables.BankNames.set(9, bankName);
        for (int ch = 241; ch <= 270; ++ch)
            m_tables.Channels.set(ch, MemoryTables::kChName, wide);
        for (int slot = 1; slot <= 10; ++slot) {
            const QStringList cells {MemoryTables::slotLabel(slot), "999999", "MMM", wide};
            for (int col = 0; col < cells.size(); ++col)
                m_tables.IDs.set(9, slot, col, cells[col]);
        }
        m_head.userName = QStringLiteral("Wilhelmina Quigley-Dzhugashvili, Night Operator, Pittsburgh");
        m_head.webSite = QStringLiteral("https://www.example.org/community/receivers/vexlor/index.html");
        m_head.mailAddress = QStringLiteral("wilhelmina.quigley.nightdesk@example.org");
        m_printing->FreqBankCmb_Change(QStringLiteral("9"));
        if (!idList.isEmpty()) {
            m_printing->IDOption_Click();
            m_printing->IDBankCmb_Change(idList);
        }
        toPdf(path(QStringLiteral("long.pdf")));
        QVERIFY(m_printing->PrintCmd_Click());

        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path(QStringLiteral("long.pdf")), QStringLiteral("-")});
        QVERIFY(p.waitForFinished(20000) && p.exitCode() == 0);
        const QString html = QString::fromUtf8(p.readAllStandardOutput());
        const auto page = QRegularExpression(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\"")).match(html);
        QVERIFY(page.hasMatch());
        const QRectF sheet(0, 0, page.captured(1).toDouble(), page.captured(2).toDouble());
        QString all;
        const QRegularExpression word(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
        // Forty wide letters in each of 30 rows may take a second page.
        for (const QString& onePage : html.split(QStringLiteral("<page "))) {
            QList<std::pair<QString, QRectF>> words;
            for (auto it = word.globalMatch(onePage); it.hasNext();) {
                const auto m = it.next();
                const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()), QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
                QVERIFY2(sheet.contains(box), qPrintable(m.captured(5)));
                for (const auto& [other, otherBox] : std::as_const(words))
                    QVERIFY2(!box.adjusted(0.2, 0.2, -0.2, -0.2).intersects(otherBox), qPrintable(m.captured(5) + " / " + other));
                words.append({m.captured(5), box});
                all += m.captured(5);
            }
        }
        for (const QString& whole : {bankName, wide, m_head.webSite, m_head.userName, m_head.mailAddress})
            QVERIFY2(all.contains(QString(whole).remove(QLatin1Char(' '))), qPrintable(whole));
    }

    // A PDF file holds every copy asked for, each on pages of its own.
    void pdfCopies()
    {
        m_printing->NbDeCopieBox_Change(QStringLiteral("3"));
        toPdf(path(QStringLiteral("copies.pdf")));
        QVERIFY(m_printing->PrintCmd_Click());
        const QString text = pdfText(path(QStringLiteral("copies.pdf")));
        QCOMPARE(text.count(QLatin1Char('\f')), 3);
        QCOMPARE(text.count(QStringLiteral("Good listening!")), 3);
    }
};

VEXLOR_TEST_MAIN(TestListPrinting)

} // namespace
} // namespace tst_listprinting

#include "tst_listprinting.moc"
