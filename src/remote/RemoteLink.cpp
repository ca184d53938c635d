#include "remote/RemoteLink.h"

#include "link/Commands.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "monitor/MainDisplay.h"
#include "platform/Clock.h"
#include "platform/RemoteSocket.h"
#include "remote/Protocol.h"

namespace vexlor::remote {

using platform::RemoteSocket;
using protocol::Action;

RemoteLink::RemoteLink(platform::RemoteSocket& tcp1, link::ScannerLink& link, monitor::MainDisplay& display,
                       platform::Clock& clock, Hooks hooks, QObject* parent)
    : QObject(parent), m_tcp1(tcp1), m_link(link), m_display(display), m_clock(clock), m_hooks(std::move(hooks))
{
    // Auto Listen before the operator ever chose a port.
    if (m_tcp1.state() == RemoteSocket::Closed && m_tcp1.localPort() == 0)
        m_tcp1.setLocalPort(kDefaultPort);
    connect(&m_tcp1, &RemoteSocket::connectionRequest, this, &RemoteLink::tcp1_ConnectionRequest);
    connect(&m_tcp1, &RemoteSocket::dataArrival, this, &RemoteLink::tcp1_DataArrival);
    connect(&m_tcp1, &RemoteSocket::error, this, [this](int number, const QString&) { tcp1_Error(number); });
}

bool RemoteLink::connected() const { return m_tcp1.state() == RemoteSocket::Connected; }

AccessRules RemoteLink::access() const { return m_hooks.access ? m_hooks.access() : AccessRules(); }

int RemoteLink::send(const QByteArray& message) { return m_tcp1.sendData(message); }

void RemoteLink::forwardTick()
{
    if (m_tcp1.state() != RemoteSocket::Connected)
        return;
    ++m_forwardTicks;
    if (m_forwardTicks % kForwardEvery != 0)
        return;
    m_forwardTicks = 0;
    // Nothing about the receiver goes to a client that has not given the password.
    if (m_authorised) {
        m_link.Write(link::cmd::kSB);
        for (const QByteArray& m : protocol::statusMessages(protocol::receptionStatus(m_display.s)))
            m_tcp1.sendData(m);
    }
    m_tcpStatut = m_tcp1.state();
}

void RemoteLink::statusUpkeep()
{
    if (m_tcp1.state() == RemoteSocket::Connected && loginExpired())
        refuse(protocol::loginTimeoutText(m_tcp1.remoteHostIP()));

    if (m_tcp1.state() == RemoteSocket::Closed) {
        tickStatus(protocol::kNoConnection);
        showConnected(false);
        m_display.publish();
        if (m_hooks.autoListen && m_hooks.autoListen())
            listen();
    }
    if (m_tcp1.state() == RemoteSocket::Listening) {
        tickStatus(protocol::kListening);
        m_display.publish();
    }
    if (m_tcp1.state() == RemoteSocket::Connected) {
        tickStatus(protocol::userLine(m_user, m_tcp1.remoteHostIP()));
        showConnected(true);
        m_display.publish();
    }
    if (m_tcp1.state() == RemoteSocket::Closing)
        closeLink();
}

int RemoteLink::listen()
{
    m_tcp1.setBindAddress(access().bind);
    return m_tcp1.listen();
}

void RemoteLink::ConnectCmd(const QString& portText)
{
    int failure = RemoteSocket::kOk;
    const double port = link::wire::leadingNumber(portText);
    const int e1 = port >= -0.5 && port < 65535.5 ? m_tcp1.setLocalPort(qRound(port)) : RemoteSocket::kInvalidValue;
    if (e1 != RemoteSocket::kOk)
        failure = e1;
    if (const int e2 = listen(); e2 != RemoteSocket::kOk)
        failure = e2;
    setStatus(protocol::kListening);
    if (failure != RemoteSocket::kOk)
        setStatus(protocol::listenFailureText(failure));
    m_display.publish();
}

void RemoteLink::TCPConnectOnCmd()
{
    closeLink();
    setStatus(protocol::kClosedByYou);
    showConnected(false);
    m_display.publish();
}

void RemoteLink::CloseTCPmnu()
{
    closeLink();
    if (m_hooks.setAutoListen)
        m_hooks.setAutoListen(false);
}

void RemoteLink::AutoListenOnTCP()
{
    const bool was = m_hooks.autoListen && m_hooks.autoListen();
    if (m_hooks.setAutoListen)
        m_hooks.setAutoListen(!was);
    if (was && m_tcp1.state() != RemoteSocket::Connected)
        closeLink();
}

void RemoteLink::tcp1_ConnectionRequest(int requestId, const QString& address)
{
    const AccessRules rules = access();
    if (!rules.allows(address)) {
        // Not accepted: the socket refuses it and goes on listening.
        setStatus(protocol::notAllowedText(address));
        m_noticeUntilMs = m_clock.monotonicMs() + kNoticeMs;
        m_display.publish();
        return;
    }
    if (m_tcp1.state() != RemoteSocket::Closed)
        m_tcp1.close();
    ++m_session;
    m_framer.reset();
    m_user.clear();
    m_remotePassword.clear();
    m_expectedPassword = rules.password;
    m_authorised = !rules.locked();
    m_acceptedMs = m_clock.monotonicMs();
    m_noticeUntilMs = 0;
    if (const int e = m_tcp1.accept(requestId); e != RemoteSocket::kOk) {
        tcp1_Error(e);
        return;
    }
    for (const QByteArray& m : protocol::identityRequests())
        m_tcp1.sendData(m);
    showConnected(true);
    m_display.publish();
}

void RemoteLink::tcp1_DataArrival()
{
    const QByteArray bytes = m_tcp1.getData();
    const int state = m_tcp1.state();
    if (state != RemoteSocket::Connected && state != RemoteSocket::Closing)
        return;
    if (loginExpired()) {
        refuse(protocol::loginTimeoutText(m_tcp1.remoteHostIP()));
        return;
    }
    const quint64 session = m_session;
    for (const QByteArray& m : m_framer.feed(bytes)) {
        const Action a = protocol::actionFor(QString::fromLatin1(m));
        switch (a.kind) {
        case Action::Kind::None:
            break;
        case Action::Kind::Serial:
            if (m_authorised)
                m_link.Write(a.text);
            break;
        case Action::Kind::User:
            m_user = a.text;
            setStatus(protocol::userLine(m_user, m_tcp1.remoteHostIP()));
            m_display.publish();
            break;
        case Action::Kind::Password:
            m_remotePassword = a.text;
            if (!m_expectedPassword.isEmpty()) {
                if (AccessRules::passwordMatches(m_expectedPassword, a.text))
                    m_authorised = true;
                else
                    refuse(protocol::wrongPasswordText(m_tcp1.remoteHostIP()));
            }
            break;
        case Action::Kind::Chat:
            if (m_authorised)
                Q_EMIT chatReceived(a.text);
            break;
        }
        // The rest of the arrival belonged to a connection that is gone.
        if (session != m_session)
            return;
    }
}

void RemoteLink::tcp1_Error(int number)
{
    setStatus(protocol::socketErrorText(number));
    closeLink();
    showConnected(false);
    m_display.publish();
}

void RemoteLink::closeLink()
{
    m_tcp1.close();
    ++m_session;
    m_authorised = false;
    m_framer.reset();
}

void RemoteLink::refuse(const QString& text)
{
    closeLink();
    setStatus(text);
    m_noticeUntilMs = m_clock.monotonicMs() + kNoticeMs;
    showConnected(false);
    m_display.publish();
}

bool RemoteLink::loginExpired() const
{
    return !m_authorised && m_clock.monotonicMs() - m_acceptedMs >= AccessRules::kLoginLimitMs;
}

void RemoteLink::showConnected(bool on)
{
    m_display.s.TCPConnectionCmd = !on;
    m_display.s.TCPConnectOnCmd = on;
}

void RemoteLink::tickStatus(const QString& text)
{
    if (m_clock.monotonicMs() >= m_noticeUntilMs)
        m_display.s.TcpstatusBox = text;
}

void RemoteLink::setStatus(const QString& text)
{
    m_display.s.TcpstatusBox = text;
    m_noticeUntilMs = 0;
}

} // namespace vexlor::remote
