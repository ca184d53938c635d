#include "recording/ui/Log.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <QVBoxLayout>

namespace vexlor::recording {

namespace {

// Refuses keystrokes that the configuration file could not keep.
class StorableNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return LogSetup::isStorableName(input) ? Acceptable : Invalid;
    }
};

struct CheckRow {
    const char* name;
    const char* caption;
};

// LogWhat order; the first sits in its own frame.
const CheckRow kChecks[9] = {
    {"LogEnableChk", "LOG ENABLE"},
    {"DateChk", "Date   (YYYYmmmDD)"},
    {"TimeChk", "Time   (HH:MM:SS)"},
    {"FrequencyChk", "Frequency   (000,0000 MHz)"},
    {"FreqTypeChk", "Freq Type   (AMB, FDP, POL)"},
    {"FreqNameChk", "Freq Name   (Alpha Tag)"},
    {"IDChk", "ID   (04-023 or  405-12)"},
    {"IDTypeChk", "ID Type   (AMB, FDP, POL)"},
    {"IDNameChk", "ID Name   (Alpha Tag)"},
};

// Leaves room for ".log" within a file name's 255 bytes, even with two-byte characters.
constexpr int kMaxNameLength = 120;

} // namespace

Log::Log(LogSetup& setup, QWidget* parent)
    : QDialog(parent)
    , m_setup(setup)
{
    setObjectName(QStringLiteral("Log"));
    setWindowTitle(QStringLiteral("General Log Setup"));
    setModal(false);

    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);

    for (int i = 0; i < 9; ++i) {
        m_checks[i] = new QCheckBox(QString::fromLatin1(kChecks[i].caption));
        m_checks[i]->setObjectName(QString::fromLatin1(kChecks[i].name));
    }
    QFont bold = m_checks[0]->font();
    bold.setBold(true);
    m_checks[0]->setFont(bold);

    auto* enableFrame = new QGroupBox(this);
    enableFrame->setObjectName(QStringLiteral("Frame3"));
    auto* enableRow = new QHBoxLayout(enableFrame);
    enableRow->addWidget(m_checks[0]);
    column->addWidget(enableFrame);

    auto* dataFrame = new QGroupBox(QStringLiteral("Data to log"), this);
    dataFrame->setObjectName(QStringLiteral("Frame2"));
    auto* dataColumn = new QVBoxLayout(dataFrame);
    for (int i = 1; i < 9; ++i)
        dataColumn->addWidget(m_checks[i]);
    column->addWidget(dataFrame);

    auto* nameFrame = new QGroupBox(QStringLiteral("File Name"), this);
    nameFrame->setObjectName(QStringLiteral("Frame1"));
    auto* nameColumn = new QVBoxLayout(nameFrame);
    auto* specificRow = new QHBoxLayout;
    m_specific = new QRadioButton(QStringLiteral("Specific Name :"), nameFrame);
    m_specific->setObjectName(QStringLiteral("Option1"));
    m_fileName = new QLineEdit(nameFrame);
    m_fileName->setObjectName(QStringLiteral("FileNameBox"));
    m_fileName->setMaxLength(kMaxNameLength);
    m_fileName->setValidator(new StorableNameValidator(m_fileName));
    m_fileName->setMinimumWidth(m_fileName->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    auto* suffix = new QLabel(QStringLiteral(".log"), nameFrame);
    specificRow->addWidget(m_specific);
    specificRow->addWidget(m_fileName, 1);
    specificRow->addWidget(suffix);
    nameColumn->addLayout(specificRow);
    // "&&" shows as a single "&" on a button.
    m_automatic = new QRadioButton(QStringLiteral("Automatic Log Name   (date&&time.log)"), nameFrame);
    m_automatic->setObjectName(QStringLiteral("Option2"));
    nameColumn->addWidget(m_automatic);
    auto* choice = new QButtonGroup(this);
    choice->addButton(m_specific);
    choice->addButton(m_automatic);
    column->addWidget(nameFrame);
    column->addSpacing(4);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKCmd"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelCmd"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);

    // A name typed while "automatic" is chosen would be thrown away on OK.
    connect(m_fileName, &QLineEdit::textEdited, m_specific, [this] { m_specific->setChecked(true); });
    connect(ok, &QPushButton::clicked, this, &Log::okClicked);
    connect(cancel, &QPushButton::clicked, this, &Log::reject);
}

LogSetup::Checks Log::checks() const
{
    LogSetup::Checks c {};
    for (std::size_t i = 0; i < c.size(); ++i)
        c[i] = m_checks[i]->isChecked();
    return c;
}

void Log::showSetup()
{
    // Loaded as into fresh, unchecked boxes: the window is reused, and boxes left
    // from a cancelled edit or from before "&Log Enable" was toggled would show
    // fields as logged that are not, and a later OK would switch them on.
    const LogSetup::State s = m_setup.load(LogSetup::Checks {});
    (s.specificName ? m_specific : m_automatic)->setChecked(true);
    m_fileName->setText(s.fileName);
    for (std::size_t i = 0; i < s.checks.size(); ++i)
        m_checks[i]->setChecked(s.checks[i]);
    show();
    raise();
    activateWindow();
}

void Log::okClicked()
{
    const bool checked = m_setup.ok({m_specific->isChecked(), m_fileName->text(), checks()});
    Q_EMIT logOnOFFChecked(checked);
    accept();
}

} // namespace vexlor::recording

#include "moc_Log.cpp"
