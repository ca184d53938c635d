#include "recording/RecordingSetup.h"

#include <QRegularExpression>

#include <algorithm>

namespace vexlor::recording {

RecordingSetup::RecordingSetup(Hooks hooks, QObject* parent) : QObject(parent), m_hooks(std::move(hooks)) {}

bool RecordingSetup::parseMarked(const QString& text, QSet<int>* channels, QSet<QString>* talkgroups, QString* bad)
{
    static const QRegularExpression talkgroup(QStringLiteral("^[0-9A-Fa-f]{6}$|^[0-9]{1,2}-[0-9]{2,3}$"));
    for (const QString& entry : text.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts)) {
        bool number = false;
        const int channel = entry.toInt(&number);
        if (number && entry.size() <= 3 && channel >= 1 && channel <= 300)
            channels->insert(channel);
        else if (talkgroup.match(entry).hasMatch())
            talkgroups->insert(entry.toUpper());
        else {
            *bad = entry;
            return false;
        }
    }
    return true;
}

void RecordingSetup::open()
{
    m_settings = m_hooks.load ? m_hooks.load() : Settings();
    m_inputs = m_hooks.inputs ? m_hooks.inputs() : QList<QPair<QString, QString>>();
    // A configured input that is not there now is still shown, so Apply does not lose it.
    const bool known = std::any_of(m_inputs.begin(), m_inputs.end(), [this](const auto& i) { return i.first == m_settings.device; });
    if (!m_settings.device.isEmpty() && !known)
        m_inputs.append({m_settings.device, m_settings.device + QStringLiteral(" (not there now)")});
    m_inputs.prepend({QString(), QStringLiteral("The system's default input")});
    m_status = m_hooks.status ? m_hooks.status() : QString();
    Q_EMIT changed();
}

void RecordingSetup::EnabledChk_Click(bool on)
{
    m_settings.enabled = on;
    Q_EMIT changed();
}

void RecordingSetup::DeviceBox_Click(int index)
{
    if (index >= 0 && index < m_inputs.size())
        m_settings.device = m_inputs[index].first;
    Q_EMIT changed();
}

void RecordingSetup::FormatBox_Click(int index)
{
    m_settings.opus = index == 1;
    Q_EMIT changed();
}

void RecordingSetup::PolicyBox_Click(int index)
{
    m_settings.policy = Policy(std::clamp(index, 0, 2));
    Q_EMIT changed();
}

void RecordingSetup::MarkedBox_Change(const QString& text) { m_settings.marked = text; }

void RecordingSetup::MinimumBox_Change(int ms) { m_settings.minimumMs = std::clamp(ms, 0, 60000); }

void RecordingSetup::HangBox_Change(int ms) { m_settings.hangMs = std::clamp(ms, 0, 10000); }

void RecordingSetup::LimitGbBox_Change(int gb) { m_settings.limitGb = std::clamp(gb, 0, 10000); }

void RecordingSetup::LimitDaysBox_Change(int days) { m_settings.limitDays = std::clamp(days, 0, 36500); }

bool RecordingSetup::ApplyCmd_Click()
{
    QSet<int> channels;
    QSet<QString> talkgroups;
    QString bad;
    if (!parseMarked(m_settings.marked, &channels, &talkgroups, &bad)) {
        m_status = QStringLiteral("\"%1\" is neither a channel (1-300) nor a talkgroup ID.").arg(bad);
        Q_EMIT changed();
        return false;
    }
    m_settings.marked = m_settings.marked.simplified();
    m_status = m_hooks.apply ? m_hooks.apply(m_settings) : QString();
    Q_EMIT changed();
    return true;
}

} // namespace vexlor::recording
