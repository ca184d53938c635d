#include "simulator/ActivityScript.h"

#include "simulator/MemoryState.h"
#include "simulator/TextFile.h"

#include <cmath>

namespace vexlor::simulator {

namespace {

constexpr int kMaxMs = 24 * 3600 * 1000;
constexpr int kMaxSteps = 100000;
constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

bool readMs(const QByteArray& word, int* ms)
{
    bool ok = false;
    const int v = word.toInt(&ok);
    if (!ok || v < 0 || v > kMaxMs)
        return false;
    *ms = v;
    return true;
}

} // namespace

std::optional<ActivityScript> ActivityScript::parse(const QByteArray& text, QString* error)
{
    ActivityScript script;
    const QList<QByteArray> rows = text.split('\n');
    int number = 0;
    for (QByteArray row : rows) {
        ++number;
        row = row.trimmed();
        if (row.isEmpty() || row.startsWith('#'))
            continue;
        const auto fail = [&](const char* why) {
            if (error)
                *error = QStringLiteral("line %1: %2").arg(number).arg(QLatin1String(why));
            return std::nullopt;
        };
        if (script.m_loop)
            return fail("nothing may follow \"loop\"");
        if (script.m_steps.size() >= kMaxSteps)
            return fail("too many steps");
        const QList<QByteArray> w = row.simplified().split(' ');
        Step step;
        if (w[0] == "loop" && w.size() == 1) {
            if (script.m_steps.isEmpty())
                return fail("\"loop\" needs a step before it");
            script.m_loop = true;
            continue;
        }
        if (w[0] == "line") {
            step.kind = Step::Line;
            step.text = row.mid(4).trimmed();
            if (step.text.isEmpty() || step.text.contains('\r'))
                return fail("\"line\" needs a text");
        } else if (w[0] == "gap" && w.size() == 2) {
            step.kind = Step::Gap;
            if (!readMs(w[1], &step.ms))
                return fail("bad duration");
        } else if (w[0] == "channel" && w.size() == 3) {
            step.kind = Step::Channel;
            bool ok = false;
            step.value = w[1].toInt(&ok);
            if (!ok || step.value < 1 || step.value > MemoryState::kChannels)
                return fail("channel must be 1 to 300");
            if (!readMs(w[2], &step.ms))
                return fail("bad duration");
        } else if (w[0] == "frequency" && w.size() == 3) {
            step.kind = Step::Frequency;
            bool ok = false;
            const double mhz = w[1].toDouble(&ok);
            if (!ok || !std::isfinite(mhz) || mhz <= 0 || mhz >= 10000)
                return fail("bad frequency");
            step.units = qint32(std::lround(mhz * 10000.0));
            if (!readMs(w[2], &step.ms))
                return fail("bad duration");
        } else if (w[0] == "talkgroup" && w.size() == 3) {
            step.kind = Step::Talkgroup;
            bool ok = false;
            step.value = w[1].toInt(&ok);
            if (!ok || step.value < 1 || step.value > MemoryState::kMaxId)
                return fail("talkgroup must be 1 to 999999");
            if (!readMs(w[2], &step.ms))
                return fail("bad duration");
        } else {
            return fail("unknown step");
        }
        script.m_steps.append(step);
    }
    if (script.m_loop) {
        // A loop of nothing but instant lines would never let time pass.
        bool takesTime = false;
        for (const Step& s : script.m_steps)
            takesTime = takesTime || (s.kind != Step::Line && s.ms > 0);
        if (!takesTime) {
            if (error)
                *error = QStringLiteral("a looping script needs a step that lasts");
            return std::nullopt;
        }
    }
    return script;
}

std::optional<ActivityScript> ActivityScript::load(const QString& path, QString* error)
{
    return loadTextFile<ActivityScript>(path, kMaxFileSize, QStringLiteral("script"), &ActivityScript::parse, error);
}

} // namespace vexlor::simulator
