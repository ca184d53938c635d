#include "simulator/SimulatorOptions.h"

#include <cmath>
#include <limits>

namespace vexlor::simulator {

namespace {

constexpr int kMaxMs = 24 * 3600 * 1000;

bool toInt(const QString& text, int lo, int hi, int* out)
{
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < lo || v > hi)
        return false;
    *out = int(v);
    return true;
}

bool toFraction(const QString& text, double* out)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < 0 || v > 1)
        return false;
    *out = v;
    return true;
}

} // namespace

std::optional<SimulatorOptions> SimulatorOptions::parse(const QStringList& args, QString* error)
{
    SimulatorOptions o;
    bool rxBufferGiven = false;
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString name = args[i];
        QString value;
        bool hasValue = false;
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            o.showHelp = true;
            continue;
        }
        if (name == QLatin1String("--version")) {
            o.showVersion = true;
            continue;
        }
        if (name == QLatin1String("--no-activity")) {
            o.activity = false;
            continue;
        }
        if (!name.startsWith(QLatin1String("--")))
            return fail(QStringLiteral("unexpected argument \"%1\"").arg(name));
        static const QStringList kWithValue = {
            QStringLiteral("--link"),         QStringLiteral("--script"),       QStringLiteral("--state"),
            QStringLiteral("--trace"),
            QStringLiteral("--seed"),         QStringLiteral("--baud"),         QStringLiteral("--rx-buffer"),
            QStringLiteral("--latency-ms"),
            QStringLiteral("--silent-after"), QStringLiteral("--silent-for"),   QStringLiteral("--ng-fraction"),
            QStringLiteral("--err-fraction"), QStringLiteral("--split"),        QStringLiteral("--split-gap-ms"),
            QStringLiteral("--garbage"),      QStringLiteral("--drop-after"),   QStringLiteral("--drop-for"),
        };
        if (!kWithValue.contains(name))
            return fail(QStringLiteral("unknown option %1").arg(name));
        if (!hasValue) {
            if (i + 1 >= args.size())
                return fail(QStringLiteral("%1 needs a value").arg(name));
            value = args[++i];
        }
        const auto bad = [&]() { return fail(QStringLiteral("bad value \"%1\" for %2").arg(value, name)); };
        FaultOptions& f = o.faults;
        if (name == QLatin1String("--link")) {
            o.linkPath = value;
        } else if (name == QLatin1String("--script")) {
            o.scriptFile = value;
        } else if (name == QLatin1String("--state")) {
            o.stateFile = value;
        } else if (name == QLatin1String("--trace")) {
            o.traceFile = value;
        } else if (name == QLatin1String("--seed")) {
            bool ok = false;
            const qulonglong v = value.toULongLong(&ok);
            if (!ok || v > std::numeric_limits<quint32>::max())
                return bad();
            o.seed = quint32(v);
            o.seedGiven = true;
        } else if (name == QLatin1String("--baud")) {
            if (!toInt(value, 0, 4000000, &f.baud))
                return bad();
        } else if (name == QLatin1String("--rx-buffer")) {
            if (!toInt(value, 1, 1 << 20, &f.rxBuffer))
                return bad();
            rxBufferGiven = true;
        } else if (name == QLatin1String("--latency-ms")) {
            if (!toInt(value, 0, 60000, &f.latencyMs))
                return bad();
        } else if (name == QLatin1String("--silent-after")) {
            if (!toInt(value, 0, kMaxMs, &f.silentAfterMs))
                return bad();
        } else if (name == QLatin1String("--silent-for")) {
            if (!toInt(value, 0, kMaxMs, &f.silentForMs))
                return bad();
        } else if (name == QLatin1String("--ng-fraction")) {
            if (!toFraction(value, &f.ngFraction))
                return bad();
        } else if (name == QLatin1String("--err-fraction")) {
            if (!toFraction(value, &f.errFraction))
                return bad();
        } else if (name == QLatin1String("--split")) {
            if (!toInt(value, 0, 4096, &f.splitBytes))
                return bad();
        } else if (name == QLatin1String("--split-gap-ms")) {
            if (!toInt(value, 0, 10000, &f.splitGapMs))
                return bad();
        } else if (name == QLatin1String("--garbage")) {
            if (!toFraction(value, &f.garbage))
                return bad();
        } else if (name == QLatin1String("--drop-after")) {
            if (!toInt(value, 0, kMaxMs, &f.dropAfterMs))
                return bad();
        } else if (name == QLatin1String("--drop-for")) {
            if (!toInt(value, 0, kMaxMs, &f.dropForMs))
                return bad();
        }
    }
    if (rxBufferGiven && o.faults.baud == 0)
        return fail(QStringLiteral("--rx-buffer goes with --baud"));
    if (o.faults.ngFraction + o.faults.errFraction > 1.0)
        return fail(QStringLiteral("--ng-fraction and --err-fraction add up to more than 1"));
    if ((o.faults.silentForMs > 0) != (o.faults.silentAfterMs > 0))
        return fail(QStringLiteral("--silent-after and --silent-for go together"));
    if ((o.faults.dropForMs > 0) != (o.faults.dropAfterMs > 0))
        return fail(QStringLiteral("--drop-after and --drop-for go together"));
    return o;
}

QString SimulatorOptions::helpText()
{
    return QStringLiteral(
        "Usage: vexlor-sim [--link PATH] [options]\n"
        "\n"
        "Plays a BC245XLT receiver in remote mode on a pseudo-terminal. Prints the\n"
        "slave device (and every new one after a line drop) on standard output and\n"
        "serves until SIGINT or SIGTERM.\n"
        "\n"
        "  --link PATH          keep a symlink to the slave at PATH; open PATH as the port\n"
        "  --seed N             make the receptions and faults of a run repeatable\n"
        "  --script FILE        take the receptions from FILE (format below)\n"
        "  --state FILE         load the memories from FILE and save them back there;\n"
        "                       without it every run starts from the factory memories\n"
        "  --no-activity        hear nothing unless a script says so\n"
        "  --trace FILE         write every byte read and written to FILE (replaced), one\n"
        "                       line per chunk: milliseconds, in/out, the bytes escaped\n"
        "\n"
        "Faults (durations in milliseconds, fractions from 0 to 1):\n"
        "  --baud N             pace the line at N/10 bytes a second each way (9600: 960 bytes/s);\n"
        "                       the receiver then carries out one command at a time and\n"
        "                       keeps what arrives meanwhile in its input buffer\n"
        "  --rx-buffer N        that buffer's size in bytes (default 64); bytes that arrive\n"
        "                       while it is full are lost, counted, marked in the trace and\n"
        "                       reported at exit\n"
        "  --latency-ms MS      wait MS before each reply\n"
        "  --silent-after MS    after MS of service go silent ...\n"
        "  --silent-for MS      ... for MS: nothing is answered or written; repeats\n"
        "  --ng-fraction F      refuse this share of commands with NG\n"
        "  --err-fraction F     answer this share of commands with ERR\n"
        "  --split N            write replies in pieces of N bytes ...\n"
        "  --split-gap-ms MS    ... MS apart (default 20)\n"
        "  --garbage F          put a few random bytes before this share of lines\n"
        "  --drop-after MS      after MS of service hang up the line ...\n"
        "  --drop-for MS        ... for MS, then come back on a new pseudo-terminal and\n"
        "                       re-point the link; repeats\n"
        "  --version            print the version and exit\n"
        "  --help               this text\n"
        "\n"
        "Script format: one step a line, \"#\" starts a comment line.\n"
        "  gap MS               nothing is heard for MS\n"
        "  channel N MS         memory channel N is heard for MS (\"+\", \"C\", \"W\" ... \"-\")\n"
        "  frequency MHZ MS     a frequency without a channel is heard for MS\n"
        "  talkgroup ID MS      a talkgroup call of MS (\"ID S \" ... \"ID E \")\n"
        "  line TEXT            TEXT is written as one line, as it stands\n"
        "  loop                 as the last step: start again from the top\n"
        "The script plays whatever the mode; QUF and IDF still silence it.\n");
}

} // namespace vexlor::simulator
