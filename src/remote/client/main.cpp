// vexlor-remote: a small command-line client for Vexlor's remote link.
#include "remote/client/ClientOptions.h"
#include "remote/client/ClientSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

using vexlor::remote::ClientOptions;
using vexlor::remote::ClientSession;

namespace {
void printLine(const QString& line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const ClientOptions options = ClientOptions::parse(
        app.arguments().mid(1), qEnvironmentVariable("USER", QStringLiteral("remote")),
        qEnvironmentVariable("VEXLOR_REMOTE_PASSWORD"));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "vexlor-remote: %s\n\n%s", qPrintable(options.error), qPrintable(ClientOptions::helpText()));
        return 2;
    }
    if (options.showHelp) {
        std::fputs(qPrintable(ClientOptions::helpText()), stdout);
        return 0;
    }
    if (options.showVersion) {
        std::puts("vexlor-remote " VEXLOR_VERSION);
        return 0;
    }

    ClientSession session(options.user, options.password);
    QTcpSocket socket;
    // The link serves one client at a time: while another holds it, the connection is
    // refused, or taken and dropped before the link asks anything. Try again every
    // second until --wait runs out; a client holding the link without the password
    // is sent away within seconds, and one that logged in lately gets the next turn.
    QElapsedTimer waiting;
    waiting.start();
    bool asked = false;
    bool toldWaiting = false;
    auto tryAgainOrFail = [&](const QString& why) {
        if (waiting.elapsed() >= qint64(options.waitSeconds) * 1000) {
            std::fprintf(stderr, "vexlor-remote: %s\n", qPrintable(why));
            app.exit(1);
            return;
        }
        if (!toldWaiting) {
            std::fprintf(stderr, "vexlor-remote: %s; trying again for up to %d s\n", qPrintable(why), options.waitSeconds);
            toldWaiting = true;
        }
        QTimer::singleShot(1000, &socket, [&] { socket.connectToHost(options.host, options.port); });
    };
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        if (!asked)
            std::fprintf(stderr, "vexlor-remote: connected to %s:%u\n", qPrintable(options.host), unsigned(options.port));
        asked = true;
        const ClientSession::Reply r = session.received(socket.readAll());
        for (const QByteArray& m : r.send)
            socket.write(m);
        for (const QString& line : r.print)
            printLine(line);
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] {
        if (!asked) {
            tryAgainOrFail(QStringLiteral("the link closed the connection at once (busy, not allowed, or shut out)"));
            return;
        }
        std::fprintf(stderr, "vexlor-remote: the connection was closed\n");
        app.exit(0);
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, [&](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError)
            return; // followed by disconnected()
        if (e == QAbstractSocket::ConnectionRefusedError && !asked) {
            tryAgainOrFail(socket.errorString());
            return;
        }
        std::fprintf(stderr, "vexlor-remote: %s\n", qPrintable(socket.errorString()));
        app.exit(1);
    });

    // The typed lines, read as they come without blocking the socket.
    QByteArray typed;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false); // end of input: keep following the status
            return;
        }
        typed.append(buffer, n);
        qsizetype nl;
        while ((nl = typed.indexOf('\n')) >= 0) {
            const QByteArray m = ClientSession::typed(QString::fromLocal8Bit(typed.left(nl)));
            typed.remove(0, nl + 1);
            if (!m.isEmpty() && socket.state() == QAbstractSocket::ConnectedState)
                socket.write(m);
        }
        if (typed.size() > 64 * 1024)
            typed.clear(); // no line is that long
    });

    // The server closes a client silent for five minutes: an empty message, which asks
    // for nothing, keeps one that only follows the receiver.
    QTimer keepAlive;
    keepAlive.setInterval(ClientSession::kKeepAliveMs);
    QObject::connect(&keepAlive, &QTimer::timeout, [&] {
        if (socket.state() == QAbstractSocket::ConnectedState)
            socket.write(ClientSession::keepAlive());
    });
    keepAlive.start();

    socket.connectToHost(options.host, options.port);
    return app.exec();
}
