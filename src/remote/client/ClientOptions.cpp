#include "remote/client/ClientOptions.h"

namespace vexlor::remote {

ClientOptions ClientOptions::parse(const QStringList& args, const QString& defaultUser,
                                   const QString& defaultPassword)
{
    ClientOptions o;
    o.user = defaultUser;
    o.password = defaultPassword;
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.showHelp = true;
        } else if (a == QLatin1String("--version")) {
            o.showVersion = true;
        } else if (a == QLatin1String("--user") || a == QLatin1String("--password") || a == QLatin1String("--wait")) {
            if (i + 1 >= args.size()) {
                o.error = a + QStringLiteral(" needs a value");
                return o;
            }
            const QString& value = args[++i];
            if (a == QLatin1String("--wait")) {
                bool ok = false;
                o.waitSeconds = value.toInt(&ok);
                if (!ok || o.waitSeconds < 0 || o.waitSeconds > 24 * 3600) {
                    o.error = QStringLiteral("bad --wait ") + value;
                    return o;
                }
            } else {
                (a == QLatin1String("--user") ? o.user : o.password) = value;
            }
        } else if (a.startsWith(QLatin1String("--"))) {
            o.error = QStringLiteral("unknown option ") + a;
            return o;
        } else {
            positional.append(a);
        }
    }
    if (o.showHelp || o.showVersion)
        return o;
    if (positional.isEmpty() || positional.size() > 2) {
        o.error = positional.isEmpty() ? QStringLiteral("no host given") : QStringLiteral("too many arguments");
        return o;
    }
    o.host = positional[0];
    if (positional.size() == 2) {
        bool ok = false;
        const uint port = positional[1].toUInt(&ok);
        if (!ok || port == 0 || port > 65535) {
            o.error = QStringLiteral("bad port ") + positional[1];
            return o;
        }
        o.port = quint16(port);
    }
    return o;
}

QString ClientOptions::helpText()
{
    return QStringLiteral(
        "Usage: vexlor-remote HOST [PORT] [--user NAME] [--password P] [--wait SECONDS]\n"
        "\n"
        "Follows a Vexlor program over its remote link (port 1025 unless given).\n"
        "Prints the receiver's status as one line whenever it changes, and the\n"
        "operator's chat lines. Type a line and Enter to send it:\n"
        "  k=NN       press key NN on the receiver (k=12)\n"
        "  dd=TEXT    send a command line to the receiver (dd=MA001)\n"
        "  chat=TEXT  or any other text: a chat line to the operator\n"
        "\n"
        "  --user NAME     the name shown to the operator (default: $USER)\n"
        "  --password P    the program's RemotePassword (default: $VEXLOR_REMOTE_PASSWORD)\n"
        "  --wait SECONDS  while the link is busy, try again every second for this long\n"
        "                  (default 30; 0 tries once)\n"
        "  --version       print the version and exit\n"
        "  --help          this text\n");
}

} // namespace vexlor::remote
