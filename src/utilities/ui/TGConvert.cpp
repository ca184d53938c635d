#include "utilities/ui/TGConvert.h"

#include "utilities/TalkgroupConverter.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

namespace vexlor::utilities {

namespace {
const QString kInstructions = QStringLiteral("Use this function to convert a \r\n"
                                             "Decimal Talkgroup or \r\n"
                                             "Hexadecimal Talkgroup\r\n"
                                             "to the Uniden AFS Notation\r\n"
                                             "(ex: 283 => 02-033)\r\n");
} // namespace

TGConvert::TGConvert(TalkgroupConverter& converter, QWidget* parent)
    : QDialog(parent), m_converter(converter)
{
    setObjectName(QStringLiteral("TGConvert"));
    setWindowTitle(QStringLiteral("Talkgroup Conversion"));
    setModal(false);

    auto* frame2 = new QGroupBox(QStringLiteral("Instructions"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto* text1 = new QPlainTextEdit(frame2);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setReadOnly(true);
    text1->setPlainText(QString(kInstructions).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Five lines of text and the empty one after the last line break.
    text1->setFixedHeight(text1->fontMetrics().lineSpacing() * 6 + 2 * text1->frameWidth()
                          + 2 * int(text1->document()->documentMargin()));
    auto* frame2Layout = new QVBoxLayout(frame2);
    frame2Layout->addWidget(text1);

    auto* frame1 = new QGroupBox(QStringLiteral("Converter"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    m_decChk = new QRadioButton(QStringLiteral("Dec"), frame1);
    m_decChk->setObjectName(QStringLiteral("decChk"));
    m_hexChk = new QRadioButton(QStringLiteral("Hex"), frame1);
    m_hexChk->setObjectName(QStringLiteral("hexChk"));
    m_decBox = makeEntryBox(QStringLiteral("decBox"), frame1);
    m_hexBox = makeEntryBox(QStringLiteral("hexBox"), frame1);
    auto* label3 = new QLabel(QStringLiteral("=> AFS"), frame1);
    label3->setObjectName(QStringLiteral("Label3"));
    m_afsBox = new QLineEdit(frame1);
    m_afsBox->setObjectName(QStringLiteral("AfsBox"));
    m_afsBox->setReadOnly(true);
    auto* grid = new QGridLayout(frame1);
    grid->addWidget(m_decChk, 0, 0);
    grid->addWidget(m_decBox, 0, 1);
    grid->addWidget(m_hexChk, 1, 0);
    grid->addWidget(m_hexBox, 1, 1);
    grid->addWidget(label3, 2, 0);
    grid->addWidget(m_afsBox, 2, 1);
    m_note = new QLabel(frame1);
    m_note->setObjectName(QStringLiteral("NoteLbl"));
    m_note->setWordWrap(true);
    m_note->setStyleSheet(QStringLiteral("color: #b00000;"));
    grid->addWidget(m_note, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* convert = new QPushButton(QStringLiteral("Convert"), this);
    convert->setObjectName(QStringLiteral("ConvertCmd"));
    convert->setDefault(true);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKCmd"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(convert);
    buttons->addWidget(ok);

    auto* column = new QVBoxLayout(this);
    column->addWidget(frame2);
    column->addWidget(frame1);
    column->addLayout(buttons);

    connect(m_decChk, &QRadioButton::clicked, &m_converter, &TalkgroupConverter::decChk_Click);
    connect(m_hexChk, &QRadioButton::clicked, &m_converter, &TalkgroupConverter::hexChk_Click);
    connect(m_decBox, &QPlainTextEdit::textChanged, this,
            [this] { m_converter.decBox_Change(m_decBox->toPlainText()); });
    connect(m_hexBox, &QPlainTextEdit::textChanged, this,
            [this] { m_converter.hexBox_Change(m_hexBox->toPlainText()); });
    connect(convert, &QPushButton::clicked, &m_converter, &TalkgroupConverter::Convert);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_converter, &TalkgroupConverter::changed, this, &TGConvert::render);
    render();
}

QPlainTextEdit* TGConvert::makeEntryBox(const QString& name, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab moves on: the box only takes Enter, which converts.
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() + 2 * box->frameWidth()
                        + 2 * int(box->document()->documentMargin()));
    return box;
}

void TGConvert::renderBox(QPlainTextEdit* box, const QString& text, bool editable)
{
    if (box->toPlainText() != text) {
        // The box's change handler calls the converter, which would render again.
        const QSignalBlocker block(box);
        box->setPlainText(text);
        box->moveCursor(QTextCursor::End);
    }
    box->setReadOnly(!editable);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, palette().color(editable ? QPalette::Base : QPalette::Window));
    box->setPalette(p);
}

void TGConvert::render()
{
    m_decChk->setChecked(m_converter.decChk());
    m_hexChk->setChecked(m_converter.hexChk());
    renderBox(m_decBox, m_converter.decBox(), m_converter.decChk());
    renderBox(m_hexBox, m_converter.hexBox(), m_converter.hexChk());
    if (m_afsBox->text() != m_converter.AfsBox())
        m_afsBox->setText(m_converter.AfsBox());
    m_note->setText(m_converter.Note());
    m_note->setVisible(!m_converter.Note().isEmpty());
}

} // namespace vexlor::utilities

#include "moc_TGConvert.cpp"
