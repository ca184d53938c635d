#include "web/WebCommands.h"

#include "controls/DirectEntry.h"
#include "controls/Keypad.h"
#include "link/FrequencyPlan.h"

#include <QJsonValue>

#include <cmath>

namespace vexlor::web {

namespace {

// A number the page sent, as text or as a number; nullopt for anything else.
std::optional<double> numberOf(const QJsonValue& v)
{
    bool ok = v.isDouble();
    const double n = ok ? v.toDouble() : v.toString().trimmed().toDouble(&ok);
    return ok && std::isfinite(n) ? std::optional<double>(n) : std::nullopt;
}

} // namespace

WebCommands::WebCommands(controls::KeypadSender& keys, controls::DirectEntry& entry) : m_keys(keys), m_entry(entry) {}

QString WebCommands::run(const QJsonObject& command)
{
    const QString type = command.value("type").toString();
    if (type == QLatin1String("key")) {
        const QString key = command.value("key").toString().trimmed();
        if (key.size() == 1 && key[0].isDigit()) {
            m_keys.key_Click(key[0].digitValue());
            return {};
        }
        for (int i = 0; i < controls::kDkeyCount; ++i) {
            if (controls::isDkey(i) && controls::dkeyCaption(i).remove(QLatin1Char('&')).compare(key, Qt::CaseInsensitive) == 0) {
                m_keys.dkey_Click(i);
                return {};
            }
        }
        return QStringLiteral("No such key: \"%1\".").arg(key.left(20));
    }
    if (type == QLatin1String("frequency")) {
        const std::optional<double> mhz = numberOf(command.value("frequency"));
        const qint64 units = mhz ? std::llround(*mhz * 10000) : 0;
        if (!mhz || units <= 0 || units > 99999999)
            return QStringLiteral("Give a frequency in MHz, such as 154.43.");
        if (const QString why = link::plan::refusal(units); !why.isEmpty())
            return why;
        m_entry.DirectFrequencyBox_Change(QString::number(*mhz, 'f', 4) + QLatin1Char('\r'));
        return {};
    }
    if (type == QLatin1String("channel") || type == QLatin1String("bank")) {
        const bool channel = type == QLatin1String("channel");
        const std::optional<double> n = numberOf(command.value(type));
        const int last = channel ? 300 : 10;
        if (!n || *n != std::floor(*n) || *n < 1 || *n > last)
            return channel ? QStringLiteral("A channel is 1 to 300.") : QStringLiteral("A bank is 1 to 10.");
        if (channel)
            m_entry.ChannelBox_Change(QString::number(int(*n)) + QLatin1Char('\r'));
        else
            m_entry.BankLbl_Click(int(*n));
        return {};
    }
    return QStringLiteral("No such command.");
}

} // namespace vexlor::web
