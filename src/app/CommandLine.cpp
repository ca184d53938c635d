#include "app/CommandLine.h"

#include "app/Version.h"
#include "web/WebRemoteSetup.h"

namespace vexlor::app {

namespace {
// Takes the value of "--name VALUE" or "--name=VALUE"; false when it is missing.
bool takeValue(const QStringList& args, int& i, const QString& name, QString& out, QString& error)
{
    const QString& a = args[i];
    if (a.startsWith(name + QLatin1Char('='))) {
        out = a.mid(name.size() + 1);
    } else if (i + 1 < args.size()) {
        out = args[++i];
    } else {
        error = QStringLiteral("%1 needs a value").arg(name);
        return false;
    }
    if (out.isEmpty()) {
        error = QStringLiteral("%1 needs a value").arg(name);
        return false;
    }
    return true;
}

constexpr int kMaxLineWait = 3600;

bool isOption(const QString& arg, const QString& name)
{
    return arg == name || arg.startsWith(name + QLatin1Char('='));
}
} // namespace

CommandLine CommandLine::parse(const QStringList& args)
{
    CommandLine c;
    for (int i = 0; i < args.size() && c.error.isEmpty(); ++i) {
        const QString& a = args[i];
        if (isOption(a, QStringLiteral("--port")))
            takeValue(args, i, QStringLiteral("--port"), c.port, c.error);
        else if (isOption(a, QStringLiteral("--data-dir")))
            takeValue(args, i, QStringLiteral("--data-dir"), c.dataDir, c.error);
        else if (isOption(a, QStringLiteral("--export")))
            takeValue(args, i, QStringLiteral("--export"), c.exportFile, c.error);
        else if (isOption(a, QStringLiteral("--import")))
            takeValue(args, i, QStringLiteral("--import"), c.importFile, c.error);
        else if (isOption(a, QStringLiteral("--backup")))
            takeValue(args, i, QStringLiteral("--backup"), c.backupFile, c.error);
        else if (isOption(a, QStringLiteral("--trace")))
            takeValue(args, i, QStringLiteral("--trace"), c.traceFile, c.error);
        else if (isOption(a, QStringLiteral("--web"))) {
            QString address;
            int port = 0;
            if (takeValue(args, i, QStringLiteral("--web"), c.web, c.error) && !web::parseListen(c.web, &address, &port))
                c.error = QStringLiteral("--web takes [ADDRESS:]PORT, such as 8080 or 0.0.0.0:8080");
        }
        else if (isOption(a, QStringLiteral("--line-wait"))) {
            QString value;
            bool ok = false;
            if (takeValue(args, i, QStringLiteral("--line-wait"), value, c.error))
                c.lineWaitSeconds = value.toInt(&ok);
            if (c.error.isEmpty() && (!ok || c.lineWaitSeconds < 0 || c.lineWaitSeconds > kMaxLineWait))
                c.error = QStringLiteral("--line-wait takes whole seconds from 0 to %1").arg(kMaxLineWait);
        } else if (a == QLatin1String("--upload"))
            c.upload = true;
        else if (a == QLatin1String("--simulate"))
            c.simulate = true;
        else if (a == QLatin1String("--fast"))
            c.fast = true;
        else if (a == QLatin1String("--desktop"))
            c.desktop = true;
        else if (a == QLatin1String("--version") || a == QLatin1String("-v"))
            c.showVersion = true;
        else if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            c.showHelp = true;
        else
            c.error = QStringLiteral("unknown argument: %1").arg(a);
    }
    if (c.error.isEmpty() && c.simulate && !c.port.isEmpty())
        c.error = QStringLiteral("--simulate and --port cannot be used together");
    if (c.error.isEmpty() && c.fast && !c.simulate)
        c.error = QStringLiteral("--fast goes with --simulate");
    if (c.error.isEmpty() && c.desktop && !c.dataDir.isEmpty())
        c.error = QStringLiteral("--desktop and --data-dir cannot be used together");
    const int operations = !c.exportFile.isEmpty() + !c.importFile.isEmpty() + !c.backupFile.isEmpty();
    if (c.error.isEmpty() && operations > 1)
        c.error = QStringLiteral("--export, --import and --backup cannot be used together");
    if (c.error.isEmpty() && c.upload && c.importFile.isEmpty())
        c.error = QStringLiteral("--upload goes with --import");
    return c;
}

QString CommandLine::versionLine() { return QStringLiteral("Vexlor ") + versionText(); }


QString CommandLine::helpText()
{
    return QStringLiteral(
        "Usage: vexlor [OPTION]...\n"
        "  or:  vexlor --export FILE [--data-dir DIR]\n"
        "  or:  vexlor --import FILE [--upload] [--port DEVICE | --simulate [--fast]] [--data-dir DIR]\n"
        "  or:  vexlor --backup FILE [--port DEVICE | --simulate [--fast]] [--data-dir DIR]\n"
        "\n"
        "Remote control and monitor for a BC245XLT scanner on a serial port.\n"
        "\n"
        "  --port DEVICE   use this serial port for this run only (a number N means\n"
        "                  /dev/ttyS(N-1); anything else is a device path such as\n"
        "                  /dev/ttyUSB0). The configured port is not changed.\n"
        "  --data-dir DIR  keep every file (qorvanix.ini, bank.dat, idbank.dat, the\n"
        "                  activity log) in DIR instead of the current directory;\n"
        "                  made when missing, but never by --export, --import or\n"
        "                  --backup.\n"
        "  --desktop       keep every file in the user's data folder instead:\n"
        "                  $XDG_DATA_HOME/vexlor, normally ~/.local/share/vexlor,\n"
        "                  made on first start. The desktop menu entry uses it.\n"
        "  --simulate      run on the built-in receiver simulator instead of a port.\n"
        "                  It answers at the configured speed (9600 baud: 960 bytes\n"
        "                  a second each way), one command at a time, and loses what\n"
        "                  its 64-byte input buffer cannot hold, as a receiver on a\n"
        "                  cable would. Its memories are kept in the data directory\n"
        "                  (simulator-memories.txt; delete it to start afresh).\n"
        "  --fast          with --simulate: answer at once, without pacing the line.\n"
        "  --web [ADDRESS:]PORT  serve the web remote on PORT for this run (0 picks a\n"
        "                  free one, printed on standard output); see README.\n"
        "  --trace FILE    write every byte sent to and received from the scanner to\n"
        "                  FILE (replaced), one line per chunk: milliseconds, out/in,\n"
        "                  the bytes (CR as \\r). Works with every mode of running.\n"
        "  --export FILE   write the memories kept in the data directory (bank.dat,\n"
        "                  idbank.dat) to FILE as tagged text, then exit.\n"
        "  --import FILE   read the tagged text FILE into the data directory's\n"
        "                  memories, then exit without touching the scanner.\n"
        "  --upload        with --import: also send what was imported to the\n"
        "                  scanner on the configured port (or --port, --simulate).\n"
        "  --backup FILE   read every channel and the ID lists of the trunked banks\n"
        "                  from the scanner and write them to FILE as tagged text;\n"
        "                  names and types come from the data directory. Restore by\n"
        "                  --import FILE --upload.\n"
        "                  These three run without a window. Exit status: 0 done,\n"
        "                  1 the work failed or was interrupted (reason on stderr),\n"
        "                  2 usage error.\n"
        "  --line-wait SECONDS  when the serial line drops during an exchange, wait\n"
        "                  this long (default 30) at the end for it to return, to\n"
        "                  release the scanner.\n"
        "  --version       print the version and exit.\n"
        "  --help          print this help and exit.\n");
}

} // namespace vexlor::app
