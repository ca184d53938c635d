#pragma once

#include "monitor/PollCycle.h"
#include "remote/AccessRules.h"
#include "remote/MessageFramer.h"

#include <QObject>
#include <QString>
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

    struct Hooks {
        std::function<bool()> autoListen;          // "&Auto Listen" checked
        std::function<void(bool)> setAutoListen;
        std::function<AccessRules()> access;       // read at every listen and accept
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

    QString userName() const { return m_user; }
    QString remotePassword() const { return m_remotePassword; }
    bool authorised() const { return m_authorised; }
    quint16 ForwardTickCount() const { return m_forwardTicks; }
    int TCPstatut() const { return m_tcpStatut; }
    qsizetype pendingInput() const { return m_framer.pendingSize(); }

Q_SIGNALS:
    // A "chat=" line from the remote user.
    void chatReceived(const QString& text);

private:
    void tcp1_ConnectionRequest(int requestId, const QString& address);
    void tcp1_DataArrival();
    void tcp1_Error(int number);

    AccessRules access() const;
    int listen();
    // Closes the socket and forgets the session.
    void closeLink();
    // Closes the session for an access reason and shows it.
    void refuse(const QString& text);
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

    QString m_user;
    QString m_remotePassword;
    QString m_expectedPassword;
    bool m_authorised = false;
    qint64 m_acceptedMs = 0;
    qint64 m_noticeUntilMs = 0;
    quint64 m_session = 0; // changes whenever the connection ends or begins
    quint16 m_forwardTicks = 0;
    int m_tcpStatut = 0;
};

} // namespace vexlor::remote
