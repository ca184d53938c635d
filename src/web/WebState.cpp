#include "web/WebState.h"

#include "link/ScannerLink.h"
#include "monitor/MainDisplay.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vexlor::web::state {

namespace {

// Entries 1..10 of a lamp set, as the numbers of those lit.
QJsonArray lit(const std::array<bool, 11>& lamps)
{
    QJsonArray numbers;
    for (int i = 1; i <= 10; ++i) {
        if (lamps[size_t(i)])
            numbers.append(i);
    }
    return numbers;
}

} // namespace

QJsonObject fromDisplay(const monitor::MainDisplayState& d)
{
    const auto& f = d.buttonlbl;
    return {
        {"offline", d.ModeLbl == link::ScannerLink::kOfflineText},
        {"mode", d.ModeLbl},
        {"frequency", d.FrequencyBox},
        {"channel", d.ChLbl},
        {"name", d.NameLbl},
        {"type", d.TypeLbl},
        {"id", d.IDbox},
        {"idName", d.IDNameLbl},
        {"idType", d.IDTypeLbl},
        {"idChannel", d.IDchLbl},
        {"trunkId", d.IDlbl0},
        {"trunkName", d.TrunkingNameLbl},
        {"trunkType", d.TrunkingTypeLbl},
        {"trunkBank", d.FreqBankLbl},
        {"system", d.SystemLbl},
        {"priority", d.PriLbl},
        {"squelchOpen", d.SQopen},
        {"idHeard", d.IDListen},
        {"lamps", QJsonObject {{"data", f[0]}, {"att", f[1]}, {"pri", f[2]}, {"dly", f[3]}, {"lo", f[4]}}},
        {"banks", lit(d.BankLbl)},
        {"lists", lit(d.IDlbl)},
    };
}

QJsonObject changed(const QJsonObject& before, const QJsonObject& after)
{
    QJsonObject out;
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (before.value(it.key()) != it.value())
            out.insert(it.key(), it.value());
    }
    for (auto it = before.begin(); it != before.end(); ++it) {
        if (!after.contains(it.key()))
            out.insert(it.key(), QJsonValue::Null);
    }
    return out;
}

QByteArray message(const char* type, const QJsonObject& data)
{
    return QJsonDocument(QJsonObject {{"type", QLatin1String(type)}, {"data", data}}).toJson(QJsonDocument::Compact);
}

} // namespace vexlor::web::state
