#include "printing/ui/PrintFrm.h"

#include "printing/ListPrinting.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vexlor::printing {

namespace {

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* button(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

PrintFrm::PrintFrm(ListPrinting& printing, QWidget* parent) : QDialog(parent), m_printing(printing)
{
    setObjectName(QStringLiteral("PrintFrm"));
    setWindowTitle(QStringLiteral("BC245 - Print List..."));

    auto* what = new QGroupBox(QStringLiteral("Print"), this);
    what->setObjectName(QStringLiteral("WhatFrame"));
    m_freqOption = new QRadioButton(QStringLiteral("Freq"), what);
    m_freqOption->setObjectName(QStringLiteral("FreqOption"));
    m_idOption = new QRadioButton(QStringLiteral("IDs"), what);
    m_idOption->setObjectName(QStringLiteral("IDOption"));
    m_freqBank = makeCombo(QStringLiteral("FreqBankCmb"), true);
    m_idBank = makeCombo(QStringLiteral("IDBankCmb"), true);
    m_freqBank->addItems(ListPrinting::bankItems());
    m_idBank->addItems(ListPrinting::bankItems());
    m_info = label(QStringLiteral("InfoLbl"), QString(), what);
    auto* whatGrid = new QGridLayout(what);
    whatGrid->addWidget(m_freqOption, 0, 0);
    whatGrid->addWidget(label(QStringLiteral("FreqBankLbl"), QStringLiteral("Freq Bank"), what), 0, 1);
    whatGrid->addWidget(m_freqBank, 0, 2);
    whatGrid->addWidget(m_idOption, 1, 0);
    whatGrid->addWidget(label(QStringLiteral("IDBankLbl"), QStringLiteral("ID Bank"), what), 1, 1);
    whatGrid->addWidget(m_idBank, 1, 2);
    whatGrid->addWidget(m_info, 2, 0, 1, 3);

    auto* printerFrame = new QGroupBox(QStringLiteral("Printer"), this);
    printerFrame->setObjectName(QStringLiteral("PrinterFrame"));
    m_printer = makeCombo(QStringLiteral("CmbImprimante"), false);
    m_copies = new QLineEdit(printerFrame);
    m_copies->setObjectName(QStringLiteral("NbDeCopieBox"));
    m_copies->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    m_copiesBar = new QScrollBar(Qt::Vertical, printerFrame);
    m_copiesBar->setObjectName(QStringLiteral("VScrollCopie"));
    // Negated, so that the upper arrow adds a copy.
    m_copiesBar->setRange(-ListPrinting::kMaxCopies, -ListPrinting::kMinCopies);
    m_copiesBar->setFixedHeight(m_copies->sizeHint().height());
    auto* copiesRow = new QHBoxLayout;
    copiesRow->addWidget(label(QStringLiteral("CopiesLbl"), QStringLiteral("How many copy :"), printerFrame));
    copiesRow->addWidget(m_copies);
    copiesRow->addWidget(m_copiesBar);
    copiesRow->addStretch();
    auto* printerBox = new QVBoxLayout(printerFrame);
    printerBox->addWidget(m_printer);
    printerBox->addLayout(copiesRow);

    auto* print = button(QStringLiteral("PrintCmd"), QStringLiteral("Print"), this);
    auto* preview = button(QStringLiteral("PreviewCmd"), QStringLiteral("Preview"), this);
    auto* cancel = button(QStringLiteral("CancelCmd"), QStringLiteral("Cancel"), this);
    print->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(preview);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addWidget(printerFrame);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(m_freqOption, &QRadioButton::clicked, &m_printing, &ListPrinting::FreqOption_Click);
    connect(m_idOption, &QRadioButton::clicked, &m_printing, &ListPrinting::IDOption_Click);
    connect(m_freqBank, &QComboBox::currentTextChanged, &m_printing, &ListPrinting::FreqBankCmb_Change);
    connect(m_idBank, &QComboBox::currentTextChanged, &m_printing, &ListPrinting::IDBankCmb_Change);
    connect(m_printer, &QComboBox::currentTextChanged, &m_printing, &ListPrinting::CmbImprimante_Change);
    connect(m_copies, &QLineEdit::textEdited, &m_printing, &ListPrinting::NbDeCopieBox_Change);
    connect(m_copiesBar, &QScrollBar::valueChanged, this, [this](int v) { m_printing.VScrollCopie_Change(-v); });
    // A list sent to the printer is done with; after a failure the window stays for another try.
    // A list sent to the printer is done with; after a failure the window stays for another try.
    connect(print, &QPushButton::clicked, this, [this] {
        if (m_printing.PrintCmd_Click())
            close();
    });
    connect(preview, &QPushButton::clicked, &m_printing, &ListPrinting::PreviewCmd_Click);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_printing, &ListPrinting::changed, this, &PrintFrm::render);
    connect(&m_printing, &ListPrinting::busy, this, [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(&m_printing, &ListPrinting::idBankFocus, m_idBank, [this] { m_idBank->setFocus(); });
    render();
}

QComboBox* PrintFrm::makeCombo(const QString& name, bool editable)
{
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->setEditable(editable);
    return c;
}

void PrintFrm::render()
{
    const QSignalBlocker b1(m_freqBank), b2(m_idBank), b3(m_printer), b4(m_copiesBar), b5(m_freqOption),
        b6(m_idOption);
    m_freqOption->setChecked(!m_printing.idMode());
    m_idOption->setChecked(m_printing.idMode());
    m_info->setText(m_printing.InfoLbl());
    if (m_freqBank->currentText() != m_printing.FreqBankCmb())
        m_freqBank->setEditText(m_printing.FreqBankCmb());
    m_idBank->setEnabled(m_printing.idBankEnabled());
    if (m_idBank->currentText() != m_printing.IDBankCmb())
        m_idBank->setEditText(m_printing.IDBankCmb());
    QStringList items;
    for (int i = 0; i < m_printer->count(); ++i)
        items << m_printer->itemText(i);
    if (items != m_printing.printers()) {
        m_printer->clear();
        m_printer->addItems(m_printing.printers());
    }
    m_printer->setCurrentIndex(m_printer->findText(m_printing.CmbImprimante()));
    if (m_copies->text() != m_printing.NbDeCopieBox())
        m_copies->setText(m_printing.NbDeCopieBox());
    m_copiesBar->setValue(-m_printing.VScrollCopie());
}

} // namespace vexlor::printing

#include "moc_PrintFrm.cpp"
