#include "recording/ui/RecordingSetupWindow.h"

#include "recording/RecordingSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vexlor::recording {

RecordingSetupWindow::RecordingSetupWindow(RecordingSetup& setup, QWidget* parent) : QDialog(parent), m_setup(setup)
{
    setObjectName(QStringLiteral("RecordingSetup"));
    setWindowTitle(QStringLiteral("Recordings"));
    setModal(false);

    m_enabled = new QCheckBox(QStringLiteral("Record transmissions"), this);
    m_enabled->setObjectName(QStringLiteral("EnabledChk"));
    m_device = new QComboBox(this);
    m_device->setObjectName(QStringLiteral("DeviceBox"));
    m_device->setToolTip(QStringLiteral("The sound input the receiver's audio cable is plugged into"));
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("FormatBox"));
    m_format->addItems({QStringLiteral("FLAC (lossless)"), QStringLiteral("Ogg/Opus (small)")});
    m_policy = new QComboBox(this);
    m_policy->setObjectName(QStringLiteral("PolicyBox"));
    m_policy->addItems({QStringLiteral("Everything"), QStringLiteral("Only the channels and talkgroups below"),
                        QStringLiteral("Everything but locked-out channels")});
    m_marked = new QLineEdit(this);
    m_marked->setObjectName(QStringLiteral("MarkedBox"));
    m_marked->setPlaceholderText(QStringLiteral("12, 45, 002032"));
    m_marked->setToolTip(QStringLiteral("Channel numbers and talkgroup IDs, separated by commas"));
    m_minimum = spin("MinimumBox", 60000, QStringLiteral(" ms"), &RecordingSetup::MinimumBox_Change);
    m_hang = spin("HangBox", 10000, QStringLiteral(" ms"), &RecordingSetup::HangBox_Change);
    m_limitGb = spin("LimitGbBox", 10000, QStringLiteral(" GB"), &RecordingSetup::LimitGbBox_Change);
    m_limitDays = spin("LimitDaysBox", 36500, QStringLiteral(" days"), &RecordingSetup::LimitDaysBox_Change);
    m_minimum->setSingleStep(100);
    m_hang->setSingleStep(100);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLbl"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* apply = new QPushButton(QStringLiteral("Apply"), this);
    apply->setObjectName(QStringLiteral("ApplyCmd"));
    apply->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseCmd"));

    auto* form = new QFormLayout;
    form->addRow(m_enabled);
    form->addRow(QStringLiteral("Sound input"), m_device);
    form->addRow(QStringLiteral("Format"), m_format);
    form->addRow(QStringLiteral("Record"), m_policy);
    form->addRow(QStringLiteral("Marked"), m_marked);
    form->addRow(QStringLiteral("Shortest kept"), m_minimum);
    form->addRow(QStringLiteral("Hang time"), m_hang);
    form->addRow(QStringLiteral("Keep at most"), m_limitGb);
    form->addRow(QStringLiteral("and for at most"), m_limitDays);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(close);
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetMinimumSize);
    column->addLayout(form);
    column->addWidget(m_status);
    column->addLayout(buttons);
    setMinimumWidth(460);

    connect(m_enabled, &QCheckBox::clicked, &m_setup, &RecordingSetup::EnabledChk_Click);
    connect(m_device, &QComboBox::activated, &m_setup, &RecordingSetup::DeviceBox_Click);
    connect(m_format, &QComboBox::activated, &m_setup, &RecordingSetup::FormatBox_Click);
    connect(m_policy, &QComboBox::activated, &m_setup, &RecordingSetup::PolicyBox_Click);
    connect(m_marked, &QLineEdit::textEdited, &m_setup, &RecordingSetup::MarkedBox_Change);
    connect(apply, &QPushButton::clicked, &m_setup, &RecordingSetup::ApplyCmd_Click);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_setup, &RecordingSetup::changed, this, &RecordingSetupWindow::render);
    render();
}

QSpinBox* RecordingSetupWindow::spin(const char* name, int max, const QString& suffix, void (RecordingSetup::*changed)(int))
{
    auto* box = new QSpinBox(this);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, max);
    box->setSuffix(suffix);
    connect(box, &QSpinBox::valueChanged, &m_setup, changed);
    return box;
}

void RecordingSetupWindow::render()
{
    const RecordingSetup::Settings& s = m_setup.settings();
    m_enabled->setChecked(s.enabled);
    {
        const QSignalBlocker block(m_device);
        m_device->clear();
        for (const auto& [id, description] : m_setup.inputs())
            m_device->addItem(description, id);
        m_device->setCurrentIndex(std::max(0, m_device->findData(s.device)));
    }
    m_format->setCurrentIndex(s.opus ? 1 : 0);
    m_policy->setCurrentIndex(int(s.policy));
    m_marked->setEnabled(s.policy == RecordingSetup::Policy::MarkedOnly);
    if (m_marked->text() != s.marked) {
        const QSignalBlocker block(m_marked);
        m_marked->setText(s.marked);
    }
    for (const auto& [box, value] : {std::pair {m_minimum, s.minimumMs}, std::pair {m_hang, s.hangMs}, std::pair {m_limitGb, s.limitGb},
                                     std::pair {m_limitDays, s.limitDays}}) {
        const QSignalBlocker block(box);
        box->setValue(value);
    }
    m_status->setText(m_setup.StatusLbl());
}

} // namespace vexlor::recording
