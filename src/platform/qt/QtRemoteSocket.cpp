#include "platform/qt/QtRemoteSocket.h"

namespace vexlor::platform {

namespace {
QString addressText(const QHostAddress& a)
{
    bool v4 = false;
    const quint32 ip = a.toIPv4Address(&v4);
    return v4 ? QHostAddress(ip).toString() : a.toString();
}
} // namespace

QtRemoteSocket::QtRemoteSocket(QObject* parent) : RemoteSocket(parent)
{
    // One waiting client at most; the rest wait in the system's queue or are refused.
    m_server.setMaxPendingConnections(1);
    connect(&m_server, &QTcpServer::newConnection, this, &QtRemoteSocket::offerPending);
}

QtRemoteSocket::~QtRemoteSocket() { close(); }

int QtRemoteSocket::errorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::AddressInUseError: return kAddressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError: return kAddressNotAvailable;
    case QAbstractSocket::RemoteHostClosedError: return kResetByPeer;
    case QAbstractSocket::SocketAccessError: return 10013;
    case QAbstractSocket::NetworkError: return 10050;
    case QAbstractSocket::SocketResourceError: return kNoBufferSpace;
    case QAbstractSocket::SocketTimeoutError: return 10060;
    case QAbstractSocket::ConnectionRefusedError: return 10061;
    case QAbstractSocket::HostNotFoundError: return 11001;
    case QAbstractSocket::UnsupportedSocketOperationError: return 10045;
    case QAbstractSocket::OperationError: return kInvalidOperation;
    default: return kOtherError;
    }
}

int QtRemoteSocket::state() const
{
    if (m_conn)
        return m_closing ? Closing : Connected;
    return m_server.isListening() ? Listening : Closed;
}

quint16 QtRemoteSocket::localPort() const
{
    if (m_server.isListening())
        return m_server.serverPort();
    if (m_conn)
        return m_conn->localPort();
    return m_port;
}

int QtRemoteSocket::setLocalPort(int port)
{
    if (port < 0 || port > 65535)
        return kInvalidValue;
    if (state() != Closed)
        return kInvalidOperation;
    m_port = quint16(port);
    return kOk;
}

void QtRemoteSocket::setBindAddress(const QString& address) { m_bind = address.trimmed(); }

int QtRemoteSocket::listen()
{
    if (state() != Closed)
        return kInvalidOperation;
    const QHostAddress address = m_bind.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(m_bind);
    if (address.isNull())
        return kAddressNotAvailable;
    if (!m_server.listen(address, m_port))
        return errorNumber(m_server.serverError());
    // A port the system chose stays the port, so a client can come back.
    m_port = m_server.serverPort();
    return kOk;
}

void QtRemoteSocket::offerPending()
{
    while (m_server.hasPendingConnections()) {
        QTcpSocket* s = m_server.nextPendingConnection();
        if (!s)
            break;
        if (m_offered || state() != Listening) {
            refuse(s);
            continue;
        }
        m_offered = s;
        m_offeredId = ++m_nextId;
        Q_EMIT connectionRequest(m_offeredId, addressText(s->peerAddress()));
        if (m_offered == s) {
            m_offered = nullptr;
            refuse(s);
        }
    }
}

int QtRemoteSocket::accept(int requestId)
{
    if (!m_offered || requestId != m_offeredId || state() != Closed)
        return kInvalidOperation;
    QTcpSocket* s = m_offered;
    m_offered = nullptr;
    s->setParent(this);
    m_conn = s;
    m_closing = false;
    // What the program has not taken yet stays in the system's buffers, so a
    // client that floods is slowed by TCP itself instead of filling memory.
    s->setReadBufferSize(kReadBufferBytes);
    connect(s, &QTcpSocket::readyRead, this, [this] {
        if (m_conn)
            Q_EMIT dataArrival(m_conn->bytesAvailable());
    });
    connect(s, &QTcpSocket::disconnected, this, &QtRemoteSocket::onDisconnected);
    connect(s, &QTcpSocket::errorOccurred, this, &QtRemoteSocket::onConnectionError);
    // Bytes that came with the connection raise no readyRead of their own.
    if (s->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, [this] {
            if (m_conn && m_conn->bytesAvailable() > 0)
                Q_EMIT dataArrival(m_conn->bytesAvailable());
        }, Qt::QueuedConnection);
    return kOk;
}

int QtRemoteSocket::sendData(const QByteArray& bytes)
{
    if (state() != Connected)
        return kWrongState;
    if (m_conn->bytesToWrite() + bytes.size() > kMaxUnsent)
        return kNoBufferSpace;
    if (m_conn->write(bytes) < 0)
        return errorNumber(m_conn->error());
    return kOk;
}

QByteArray QtRemoteSocket::getData() { return m_conn ? m_conn->readAll() : QByteArray(); }

void QtRemoteSocket::close()
{
    m_server.close();
    while (m_server.hasPendingConnections()) {
        if (QTcpSocket* s = m_server.nextPendingConnection())
            refuse(s);
    }
    dropConnection();
}

QString QtRemoteSocket::remoteHostIP() const { return m_conn ? addressText(m_conn->peerAddress()) : QString(); }

void QtRemoteSocket::onConnectionError(QAbstractSocket::SocketError error)
{
    if (!m_conn || m_closing)
        return;
    if (error == QAbstractSocket::RemoteHostClosedError && m_conn->bytesToWrite() == 0) {
        m_closing = true;
        return;
    }
    Q_EMIT this->error(errorNumber(error), m_conn->errorString());
}

void QtRemoteSocket::onDisconnected()
{
    if (m_conn)
        m_closing = true;
}

void QtRemoteSocket::dropConnection()
{
    if (!m_conn)
        return;
    QTcpSocket* s = m_conn;
    m_conn = nullptr;
    m_closing = false;
    disconnect(s, nullptr, this, nullptr);
    s->flush();
    refuse(s);
}

void QtRemoteSocket::refuse(QTcpSocket* socket)
{
    // Deferred: this may run inside one of the socket's own signals.
    socket->abort();
    socket->deleteLater();
}

} // namespace vexlor::platform

#include "moc_QtRemoteSocket.cpp"
