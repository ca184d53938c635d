#include "app/ui/Start.h"

#include "app/ui/Look.h"
#include "app/ui/Pictures.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexlor::app {

QString Start::caption() { return QStringLiteral("Vexlor - set-up, by the Vexlor developers"); }

Start::Start(StartSetup& setup, const QStringList& devicePaths, QWidget* parent)
    : QDialog(parent)
    , m_setup(setup)
{
    setObjectName(QStringLiteral("Start"));
    setWindowTitle(caption());
    setWindowIcon(pictures::programIcon());
    setModal(true);

    auto* column = new QVBoxLayout(this);
    column->setSpacing(6);
    column->setSizeConstraint(QLayout::SetFixedSize);

    auto* nameGroup = new QGroupBox(QStringLiteral("Your Name or Nick Name"), this);
    auto* nameRow = new QVBoxLayout(nameGroup);
    m_userName = new QLineEdit(nameGroup);
    m_userName->setObjectName(QStringLiteral("UserNameBox"));
    m_userName->setMaxLength(64);
    nameRow->addWidget(m_userName);
    column->addWidget(nameGroup);

    auto* configGroup = new QGroupBox(QStringLiteral("Your Configuration !"), this);
    auto* form = new QFormLayout(configGroup);
    m_port = new QComboBox(configGroup);
    m_port->setObjectName(QStringLiteral("PortCmb"));
    m_port->setEditable(true);
    m_port->setInsertPolicy(QComboBox::NoInsert);
    m_port->addItems(StartSetup::portItems(devicePaths));
    form->addRow(QStringLiteral("Comm Port of your scanner ?"), m_port);
    m_speed = new QComboBox(configGroup);
    m_speed->setObjectName(QStringLiteral("SpeedCmb"));
    m_speed->setEditable(true);
    m_speed->setInsertPolicy(QComboBox::NoInsert);
    m_speed->addItems(StartSetup::speedItems());
    form->addRow(QStringLiteral("Baud Rate (9600 is default)"), m_speed);
    column->addWidget(configGroup);

    auto* messageGroup = new QGroupBox(QStringLiteral("Message !"), this);
    auto* messageRow = new QVBoxLayout(messageGroup);
    auto* text = new QPlainTextEdit(messageGroup);
    text->setObjectName(QStringLiteral("Text1"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setPlainText(StartSetup::messageText());
    const QFontMetrics fm(text->font());
    text->setFixedHeight(fm.lineSpacing() * 6 + 2 * text->frameWidth() + 10);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("Don't forget to put it in REMOTE MODE by")) + 30);
    messageRow->addWidget(text);
    column->addWidget(messageGroup);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKlbl"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelCmd"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &Start::okClicked);
    connect(cancel, &QPushButton::clicked, this, &Start::cancelClicked);

    const StartSetup::Texts t = m_setup.load();
    m_userName->setText(t.userName);
    m_port->setEditText(t.port);
    m_speed->setEditText(t.speed);
    // A device path such as /dev/serial/by-id/usb-... shows whole, in the box and its list.
    qsizetype longest = t.port.size();
    for (int i = 0; i < m_port->count(); ++i)
        longest = std::max(longest, m_port->itemText(i).size());
    m_port->setMinimumContentsLength(int(std::min<qsizetype>(longest, 72)));
    m_port->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

StartOutcome Start::run()
{
    exec();
    return m_outcome;
}

void Start::okClicked()
{
    if (!m_setup.ok({m_userName->text(), m_port->currentText(), m_speed->currentText()}))
        return; // not saved: the operator may try again or cancel
    m_outcome = StartOutcome::EndNow;
    done(QDialog::Accepted);
}

void Start::cancelClicked()
{
    m_outcome = m_setup.cancel();
    done(QDialog::Rejected);
}

void Start::reject()
{
    m_outcome = StartOutcome::ClosedByFrame;
    QDialog::reject();
}

} // namespace vexlor::app

#include "moc_Start.cpp"
