#include "remote/RemoteLink.h"

#include "link/Commands.h"
#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "monitor/MainDisplay.h"
#include "platform/Clock.h"
#include "platform/RemoteSocket.h"
#include "remote/Protocol.h"

#include <QElapsedTimer>

#include <cstdio>

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
    m_drain.setSingleShot(true);
    m_drain.setInterval(0);
    connect(&m_drain, &QTimer::timeout, this, &RemoteLink::drain);
    // The login and idle limits run on their own, not on the poll, which a bank transfer stops.
    m_deadlines.setInterval(1000);
    connect(&m_deadlines, &QTimer::timeout, this, &RemoteLink::checkDeadlines);
    connect(&m_clock, &platform::Clock::jumped, this, &RemoteLink::checkDeadlines);
}

bool RemoteLink::connected() const { return m_tcp1.state() == RemoteSocket::Connected; }

AccessRules RemoteLink::access() const { return m_hooks.access ? m_hooks.access() : AccessRules(); }

int RemoteLink::send(const QByteArray& message) { return m_tcp1.sendData(message); }

int RemoteLink::sendChat(const QString& line)
{
    if (!connected() || !m_authorised)
        return RemoteSocket::kWrongState;
    return m_tcp1.sendData(protocol::chatMessage(line));
}

QString RemoteLink::openWarning() const
{
    if (!access().openToOthers())
        return {};
    return QStringLiteral("No password is set: anyone who reaches the port can drive the receiver.");
}

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
        protocol::ReceptionStatus status = protocol::receptionStatus(m_display.s);
        // What the display last showed is stale once the receiver is gone.
        if (m_link.ScannerOffline())
            status.sq = status.isq = false;
        for (const QByteArray& m : protocol::statusMessages(status))
            m_tcp1.sendData(m);
    }
    m_tcpStatut = m_tcp1.state();
}

void RemoteLink::statusUpkeep()
{
    checkDeadlines();

    if (m_tcp1.state() == RemoteSocket::Closed) {
        tickStatus(protocol::kNoConnection);
        showConnected(false);
        m_display.publish();
        if (m_hooks.autoListen && m_hooks.autoListen())
            listen();
    }
    if (m_tcp1.state() == RemoteSocket::Listening) {
        const QString warning = openWarning();
        tickStatus(warning.isEmpty() ? QString(protocol::kListening) : protocol::kListening + QStringLiteral(". ") + warning);
        m_display.publish();
    }
    if (m_tcp1.state() == RemoteSocket::Connected) {
        tickStatus(protocol::userLine(m_user, m_tcp1.remoteHostIP()));
        showConnected(true);
        m_display.publish();
    }
    if (m_tcp1.state() == RemoteSocket::Closing) {
        const bool shutOut = leftWithoutLogin();
        closeLink();
        if (shutOut) {
            notice(protocol::guessingText(m_peer));
            m_display.publish();
        }
    }
}

int RemoteLink::listen()
{
    const AccessRules rules = access();
    // Never open on settings only half understood: say why and stay closed.
    if (const QString why = rules.problem(); !why.isEmpty()) {
        notice(why);
        return kUnusableSettings;
    }
    m_tcp1.setBindAddress(rules.bind);
    const int e = m_tcp1.listen();
    if (e != RemoteSocket::kOk)
        notice(protocol::listenFailureText(e));
    return e;
}

void RemoteLink::ConnectCmd(const QString& portText)
{
    int failure = RemoteSocket::kOk;
    const double port = link::wire::leadingNumber(portText);
    const int e1 = port >= -0.5 && port < 65535.5 ? m_tcp1.setLocalPort(qRound(port)) : RemoteSocket::kInvalidValue;
    if (e1 != RemoteSocket::kOk)
        failure = e1;
    const int e2 = listen();
    if (e2 == kUnusableSettings) {
        m_display.publish(); // its reason is showing
        return;
    }
    if (e2 != RemoteSocket::kOk)
        failure = e2;
    if (failure == RemoteSocket::kOk)
        setStatus(protocol::kListening);
    else
        notice(protocol::listenFailureText(failure));
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
    // Not accepted: the socket refuses it and goes on listening.
    if (!rules.allows(address)) {
        notice(protocol::notAllowedText(address));
        m_display.publish();
        return;
    }
    const qint64 now = m_clock.monotonicMs();
    if (m_guard.refused(address, now)) {
        report(QStringLiteral("connection refused to %1 after repeated wrong passwords").arg(address));
        notice(protocol::guessingText(address));
        m_display.publish();
        return;
    }
    const bool recent = m_guard.recent(address, now);
    if (now < m_keptUntilMs && !recent) {
        notice(protocol::keptForRecentText(address));
        m_display.publish();
        return;
    }
    if (m_tcp1.state() != RemoteSocket::Closed)
        m_tcp1.close();
    ++m_session;
    m_framer.reset();
    m_user.clear();
    m_remotePassword.clear();
    m_loginOwed = false;
    m_expectedPassword = rules.password;
    m_authorised = !rules.locked();
    m_waiting.clear();
    m_acceptedMs = m_lastMessageMs = m_clock.monotonicMs();
    // A notice still showing (a wrong password, a refusal) stays its full time.
    if (const int e = m_tcp1.accept(requestId); e != RemoteSocket::kOk) {
        tcp1_Error(e);
        return;
    }
    m_peer = address;
    m_loginOwed = rules.locked();
    if (recent)
        m_keptUntilMs = 0;
    for (const QByteArray& m : protocol::identityRequests())
        m_tcp1.sendData(m);
    m_deadlines.start();
    showConnected(true);
    m_display.publish();
}

void RemoteLink::tcp1_DataArrival()
{
    // Messages still waiting from an earlier arrival go first; drain fetches the rest.
    if (m_waiting.isEmpty())
        drain();
    else
        m_moreArrived = true;
}

void RemoteLink::drain()
{
    const int state = m_tcp1.state();
    if (state != RemoteSocket::Connected && state != RemoteSocket::Closing) {
        m_waiting.clear();
        m_tcp1.getData();
        return;
    }
    if (m_waiting.isEmpty()) {
        m_moreArrived = false;
        m_waiting = m_framer.feed(m_tcp1.getData());
    }
    if (loginExpired()) {
        loginTimedOut();
        return;
    }
    const quint64 session = m_session;
    QElapsedTimer turn;
    turn.start();
    for (int n = 0; n < kMessagesPerTurn && !m_waiting.isEmpty() && turn.elapsed() < kTurnBudgetMs; ++n) {
        handle(m_waiting.takeFirst());
        // The rest of the arrival belonged to a connection that is gone.
        if (session != m_session)
            return;
    }
    // Bytes that came meanwhile raised their signal while messages waited: fetch them too.
    if (!m_waiting.isEmpty() || m_moreArrived)
        m_drain.start();
}

void RemoteLink::handle(const QByteArray& message)
{
    m_lastMessageMs = m_clock.monotonicMs();
    const Action a = protocol::actionFor(QString::fromLatin1(message));
    switch (a.kind) {
    case Action::Kind::None:
        break;
    case Action::Kind::Serial:
        if (m_authorised)
            m_link.Write(a.text);
        break;
    case Action::Kind::User:
        m_user = a.text;
        // At once, unless a notice about the last client is still being read.
        tickStatus(protocol::userLine(m_user, m_tcp1.remoteHostIP()));
        m_display.publish();
        break;
    case Action::Kind::Password:
        m_remotePassword = a.text;
        if (!m_expectedPassword.isEmpty()) {
            // The bytes as they came.
            if (AccessRules::passwordMatches(m_expectedPassword, a.text.toLatin1())) {
                m_authorised = true;
                m_loginOwed = false;
                m_guard.loggedIn(m_peer, m_clock.monotonicMs());
            } else {
                wrongPassword();
            }
        }
        break;
    case Action::Kind::Chat:
        if (m_authorised)
            Q_EMIT chatReceived(a.text);
        break;
    }
}

void RemoteLink::wrongPassword()
{
    const bool shutOut = failedLogin(QStringLiteral("wrong password from %1"));
    refuse(shutOut ? protocol::guessingText(m_peer) : protocol::wrongPasswordText(m_peer));
}

void RemoteLink::loginTimedOut()
{
    const bool shutOut = failedLogin(QStringLiteral("no password from %1 in time"));
    refuse(shutOut ? protocol::guessingText(m_peer) : protocol::loginTimeoutText(m_peer));
}

bool RemoteLink::failedLogin(const QString& what)
{
    m_loginOwed = false;
    const qint64 now = m_clock.monotonicMs();
    const bool shutOut = m_guard.failed(m_peer, now);
    report(what.arg(m_peer));
    if (shutOut)
        report(QStringLiteral("%1 refused for 10 minutes after %2 failed logins").arg(m_peer).arg(LoginGuard::kMaxFailures));
    if (m_guard.anyRecent(now))
        m_keptUntilMs = now + kKeptForRecentMs;
    return shutOut;
}

bool RemoteLink::leftWithoutLogin()
{
    return m_loginOwed && failedLogin(QStringLiteral("connection from %1 ended without the password"));
}

void RemoteLink::checkDeadlines()
{
    if (m_tcp1.state() != RemoteSocket::Connected)
        return;
    const qint64 now = m_clock.monotonicMs();
    if (loginExpired())
        loginTimedOut();
    else if (now - m_lastMessageMs >= kIdleLimitMs)
        refuse(protocol::idleText(m_tcp1.remoteHostIP()));
}

void RemoteLink::tcp1_Error(int number)
{
    setStatus(protocol::socketErrorText(number));
    if (leftWithoutLogin())
        notice(protocol::guessingText(m_peer));
    closeLink();
    showConnected(false);
    m_display.publish();
}

void RemoteLink::closeLink()
{
    m_tcp1.close();
    ++m_session;
    m_authorised = false;
    m_loginOwed = false;
    m_framer.reset();
    m_waiting.clear();
    m_moreArrived = false;
    m_drain.stop();
    m_deadlines.stop();
}

void RemoteLink::refuse(const QString& text)
{
    closeLink();
    notice(text);
    showConnected(false);
    m_display.publish();
}

void RemoteLink::notice(const QString& text)
{
    m_display.s.TcpstatusBox = text;
    m_noticeUntilMs = m_clock.monotonicMs() + kNoticeMs;
}

void RemoteLink::report(const QString& what)
{
    const QString line = m_clock.localDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss ")) + what;
    if (m_hooks.report)
        m_hooks.report(line);
    else
        std::fprintf(stderr, "vexlor: remote link: %s\n", qPrintable(line));
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

#include "moc_RemoteLink.cpp"
