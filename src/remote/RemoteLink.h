#pragma once

#include "monitor/PollCycle.h"
#include "remote/AccessRules.h"
#include "remote/LoginGuard.h"
#include "remote/MessageFramer.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace vexlor::platform {
class Clock;
class RemoteSocket;
}
namespace vexlor::link {
class ScannerLink;
}
namespace vexlor::monitor {
class MainDisplay;
}

namespace vexlor::remote {

// The one remote client: listening, accepting, closing, the status readout
// of the main window, the messages both ways, and the access control.
// The poll tick drives the forwarding and the upkeep.
class RemoteLink : public QObject, public monitor::PollRemote {
    Q_OBJECT
public:
    static constexpr int kDefaultPort = 1025;
    static constexpr int kForwardEvery = 8;
    // An access-control text stays this long before the tick's texts return,
    // so the operator can read why a client went.
    static constexpr qint64 kNoticeMs = 5000;
    // A client that sends nothing for this long gives the only slot back.
    static constexpr qint64 kIdleLimitMs = 5 * 60 * 1000;
    // After a client that did not log in, the slot waits this long for one from an
    // address that logged in lately, so a client that keeps coming back without the
    // password cannot keep such a user out (vexlor-remote tries again every second).
    static constexpr qint64 kKeptForRecentMs = 5000;
    // Messages handled in one turn of the event loop; the rest wait for the
    // next turn, so a flood cannot hold up the poll, the timers or a signal.
    static constexpr int kMessagesPerTurn = 64;
    // and no longer than this, on a slow machine or a slow chat window.
    static constexpr qint64 kTurnBudgetMs = 10;

    struct Hooks {
        std::function<bool()> autoListen;          // "&Auto Listen" checked
        std::function<void(bool)> setAutoListen;
        std::function<AccessRules()> access;       // read at every listen and accept
        // One line about a refused address or a wrong password; standard error when unset.
        std::function<void(const QString&)> report;
    };

    RemoteLink(platform::RemoteSocket& tcp1, link::ScannerLink& link, monitor::MainDisplay& display,
               platform::Clock& clock, Hooks hooks, QObject* parent = nullptr);

    // Poll tick, steps 1 and 2.
    void forwardTick() override;
    void statusUpkeep() override;

    // ConnectCmd of TCPConnection: listen on the port typed.
    void ConnectCmd(const QString& portText);
    // The operator closes the connection.
    void TCPConnectOnCmd();
    void CloseTCPmnu();
    void AutoListenOnTCP();

    // One message to the client; 0 when sent, else the socket's error number.
    int send(const QByteArray& message);
    bool connected() const;
    // The operator's chat line; refused (kWrongState) before the client gave the password.
    int sendChat(const QString& line);
    // The warning for settings that let anyone in; empty when they do not.
    QString openWarning() const;

    QString userName() const { return m_user; }
    QString remotePassword() const { return m_remotePassword; }
    bool authorised() const { return m_authorised; }
    quint16 ForwardTickCount() const { return m_forwardTicks; }
    int TCPstatut() const { return m_tcpStatut; }
    qsizetype pendingInput() const { return m_framer.pendingSize(); }
    qsizetype waitingMessages() const { return m_waiting.size(); }

Q_SIGNALS:
    // A "chat=" line from the remote user.
    void chatReceived(const QString& text);

private:
    void tcp1_ConnectionRequest(int requestId, const QString& address);
    void tcp1_DataArrival();
    void tcp1_Error(int number);
    // Handles the messages waiting, up to kMessagesPerTurn, and fetches more when none wait.
    void drain();
    void handle(const QByteArray& message);
    void checkDeadlines();
    void wrongPassword();
    void loginTimedOut();
    // The client failed to log in, or went before it did: counted against its
    // address. True when that shuts the address out.
    bool failedLogin(const QString& what);
    // The client went while the password was owed: failedLogin for it.
    bool leftWithoutLogin();

    AccessRules access() const;
    // listen() on settings it cannot use; the reason is shown.
    static constexpr int kUnusableSettings = -1;
    // Shows its own failure, held for kNoticeMs.
    int listen();
    // Closes the socket and forgets the session.
    void closeLink();
    // Closes the session for an access reason and shows it.
    void refuse(const QString& text);
    // A status text held for kNoticeMs.
    void notice(const QString& text);
    void report(const QString& what);
    bool loginExpired() const;
    void showConnected(bool on);
    // Texts of the tick wait while an access notice is shown.
    void tickStatus(const QString& text);
    void setStatus(const QString& text);

    platform::RemoteSocket& m_tcp1;
    link::ScannerLink& m_link;
    monitor::MainDisplay& m_display;
    platform::Clock& m_clock;
    Hooks m_hooks;
    MessageFramer m_framer;
    LoginGuard m_guard;
    QList<QByteArray> m_waiting;
    bool m_moreArrived = false;
    QTimer m_drain;
    QTimer m_deadlines;

    QString m_user;
    QString m_remotePassword;
    QString m_expectedPassword;
    QString m_peer; // the client's address, still known once its socket is closed
    bool m_authorised = false;
    bool m_loginOwed = false; // a password is asked and has not come yet
    qint64 m_keptUntilMs = 0;
    qint64 m_acceptedMs = 0;
    qint64 m_lastMessageMs = 0;
    qint64 m_noticeUntilMs = 0;
    quint64 m_session = 0; // changes whenever the connection ends or begins
    quint16 m_forwardTicks = 0;
    int m_tcpStatut = 0;
};

} // namespace vexlor::remote
