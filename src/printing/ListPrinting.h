#pragma once

#include "printing/ListPage.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

namespace vexlor::platform {
class Clock;
class Dialogs;
class PrintService;
}

namespace vexlor::memory {
class MemoryTables;
}

namespace vexlor::printing {

// The state and actions of the print window, PrintFrm: which list, which
// printer, how many copies, and printing it.
class ListPrinting : public QObject {
    Q_OBJECT
public:
    static constexpr int kMinCopies = 1;
    static constexpr int kMaxCopies = 99;
    // The printer item that writes a PDF file instead.
    static QString pdfItem() { return QStringLiteral("Print to PDF file"); }
    static QStringList bankItems(); // "1" .. "10"

    ListPrinting(const memory::MemoryTables& tables, platform::PrintService& service, platform::Dialogs& dialogs,
        platform::Clock& clock, std::function<PageHead()> head, QObject* parent = nullptr);

    // The window opens: the installed printers and the default one.
    void open();

    bool idMode() const { return m_idMode; }
    QString FreqBankCmb() const { return m_freqBank; }
    QString IDBankCmb() const { return m_idBank; }
    bool idBankEnabled() const { return m_idMode; }
    QString InfoLbl() const;
    QStringList printers() const { return m_printers; }
    QString CmbImprimante() const { return m_printer; }
    QString NbDeCopieBox() const { return m_copiesText; }
    int VScrollCopie() const { return m_copies; }

    void FreqOption_Click();
    void IDOption_Click();
    void FreqBankCmb_Change(const QString& text);
    void IDBankCmb_Change(const QString& text);
    void CmbImprimante_Change(const QString& text);
    void NbDeCopieBox_Change(const QString& text);
    void VScrollCopie_Change(int value);
    // Prints the chosen list; true when it was sent.
    bool PrintCmd_Click();
    // Shows the page as it would print.
    void PreviewCmd_Click();

Q_SIGNALS:
    void changed();
    // The ID list was chosen: its box takes the focus.
    void idBankFocus();
    // The job is being laid out and sent: the window shows the busy pointer.
    void busy(bool on);

private:
    // The listing asked for, after telling the operator what is wrong with it.
    std::optional<Listing> checkedListing();
    std::optional<int> checkedCopies();
    void warn(const QString& text);
    void draw(platform::Printer& printer, const Listing& listing);

    const memory::MemoryTables& m_tables;
    platform::PrintService& m_service;
    platform::Dialogs& m_dialogs;
    platform::Clock& m_clock;
    std::function<PageHead()> m_head;
    bool m_idMode = false;
    QString m_freqBank = QStringLiteral("1");
    QString m_idBank;
    QStringList m_printers;
    QString m_printer;
    QString m_copiesText = QStringLiteral("1");
    int m_copies = 1;
};

} // namespace vexlor::printing
