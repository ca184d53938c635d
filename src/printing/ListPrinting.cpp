#include "printing/ListPrinting.h"

#include "memory/MemoryTables.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/PrintService.h"

#include <QFileInfo>

namespace vexlor::printing {

namespace {

using platform::Dialogs;

// A bank or list number 1..10; nothing for any other text.
std::optional<int> bankNumber(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > memory::MemoryTables::kBanks)
        return std::nullopt;
    return n;
}

} // namespace

QStringList ListPrinting::bankItems()
{
    QStringList items;
    for (int i = 1; i <= memory::MemoryTables::kBanks; ++i)
        items << QString::number(i);
    return items;
}

ListPrinting::ListPrinting(const memory::MemoryTables& tables, platform::PrintService& service,
    platform::Dialogs& dialogs, platform::Clock& clock, std::function<PageHead()> head, QObject* parent)
    : QObject(parent), m_tables(tables), m_service(service), m_dialogs(dialogs), m_clock(clock),
      m_head(std::move(head))
{
}

void ListPrinting::open()
{
    // Fresh each time: "Freq", bank 1, one copy, and the printers as they are now.
    m_idMode = false;
    m_freqBank = QStringLiteral("1");
    m_idBank.clear();
    m_copiesText = QStringLiteral("1");
    m_copies = 1;
    const auto probe = m_service.printer();
    // The PDF item is always there, so a machine without printers can still print.
    m_printers = probe->deviceNames();
    m_printers << pdfItem();
    const QString current = probe->defaultName();
    m_printer = current.isEmpty() ? pdfItem() : current;
    Q_EMIT changed();
}

QString ListPrinting::InfoLbl() const
{
    return m_idMode ? QStringLiteral("Only ID's Will be Print!") : QStringLiteral("Only Freq's Will be Print!");
}

void ListPrinting::FreqOption_Click()
{
    m_idMode = false;
    m_idBank.clear();
    Q_EMIT changed();
}

void ListPrinting::IDOption_Click()
{
    m_idMode = true;
    Q_EMIT changed();
    Q_EMIT idBankFocus();
}

void ListPrinting::FreqBankCmb_Change(const QString& text)
{
    m_freqBank = text;
    Q_EMIT changed();
}

void ListPrinting::IDBankCmb_Change(const QString& text)
{
    m_idBank = text;
    Q_EMIT changed();
}

void ListPrinting::CmbImprimante_Change(const QString& text)
{
    m_printer = text;
    Q_EMIT changed();
}

void ListPrinting::NbDeCopieBox_Change(const QString& text)
{
    m_copiesText = text;
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (ok && n != 0)
        m_copies = std::clamp(n, kMinCopies, kMaxCopies);
    Q_EMIT changed();
}

void ListPrinting::VScrollCopie_Change(int value)
{
    m_copies = std::clamp(value, kMinCopies, kMaxCopies);
    m_copiesText = QString::number(m_copies);
    Q_EMIT changed();
}

void ListPrinting::warn(const QString& text)
{
    m_dialogs.message(Dialogs::Message(text, QStringLiteral("Watch out!"), Dialogs::Buttons::Ok));
}

std::optional<Listing> ListPrinting::checkedListing()
{
    const auto bank = bankNumber(m_freqBank);
    if (!bank) {
        warn(QStringLiteral("Invalid Freq Bank!"));
        return std::nullopt;
    }
    Listing listing {*bank, 0};
    if (m_idMode) {
        const auto list = bankNumber(m_idBank);
        if (!list) {
            warn(QStringLiteral("Invalid ID Bank!"));
            return std::nullopt;
        }
        listing.list = *list;
    }
    return listing;
}

std::optional<int> ListPrinting::checkedCopies()
{
    bool ok = false;
    const int n = m_copiesText.trimmed().toInt(&ok);
    if (!ok || n < kMinCopies || n > kMaxCopies) {
        warn(QStringLiteral("Invalid number of copies! Type a number from %1 to %2.").arg(kMinCopies).arg(kMaxCopies));
        return std::nullopt;
    }
    return n;
}

void ListPrinting::draw(platform::Printer& printer, const Listing& listing)
{
    ListPage(printer).draw(m_tables, listing, m_head(), m_clock.localDateTime());
}

bool ListPrinting::PrintCmd_Click()
{
    const auto listing = checkedListing();
    if (!listing)
        return false;
    const auto copies = checkedCopies();
    if (!copies)
        return false;
    QString pdfFile;
    if (m_printer == pdfItem()) {
        Dialogs::FileRequest request;
        request.title = pdfItem();
        request.filter = QStringLiteral("PDF Files (*.pdf)|*.pdf");
        request.newName = true;
        const auto chosen = m_dialogs.openFile(request);
        if (!chosen || chosen->isEmpty())
            return false;
        pdfFile = *chosen;
        if (QFileInfo(pdfFile).suffix().isEmpty())
            pdfFile += QStringLiteral(".pdf");
    }
    Q_EMIT busy(true);
    const auto printer = m_service.printer(pdfFile);
    if (pdfFile.isEmpty())
        printer->selectPrinter(m_printer);
    // A PDF file has no copy count a viewer honours: each copy is written out, from a new page.
    const int passes = pdfFile.isEmpty() ? 1 : *copies;
    printer->setCopies(pdfFile.isEmpty() ? *copies : 1);
    for (int pass = 0; pass < passes; ++pass) {
        if (pass > 0)
            printer->newPage();
        draw(*printer, *listing);
    }
    const bool sent = printer->endDoc();
    Q_EMIT busy(false);
    if (!sent) {
        Dialogs::Message m(QStringLiteral("The list could not be printed."), QStringLiteral("Watch out!"),
            Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
        m.informative = printer->errorText();
        m_dialogs.message(m);
        return false;
    }
    return true;
}

void ListPrinting::PreviewCmd_Click()
{
    const auto listing = checkedListing();
    if (!listing)
        return;
    m_service.preview([this, l = *listing](platform::Printer& printer) { draw(printer, l); });
}

} // namespace vexlor::printing

#include "moc_ListPrinting.cpp"
