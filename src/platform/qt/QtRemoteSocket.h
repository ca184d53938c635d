#pragma once

#include "platform/RemoteSocket.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace vexlor::platform {

// QTcpServer and QTcpSocket behind the single socket of the remote link.
// Accepting closes the server, so while a client is served a second one is
// refused by the system. Qt reports a peer's orderly close and its reset
// alike; both become Closing, except when bytes for the peer were still
// unsent, which is a reset (10054).
class QtRemoteSocket : public RemoteSocket {
    Q_OBJECT
public:
    // Unsent bytes held for a client that reads too little.
    static constexpr qint64 kMaxUnsent = 1 << 20;
    // Received bytes Qt holds before it stops reading from the system.
    static constexpr qint64 kReadBufferBytes = 64 * 1024;

    explicit QtRemoteSocket(QObject* parent = nullptr);
    ~QtRemoteSocket() override;

    int state() const override;
    quint16 localPort() const override;
    int setLocalPort(int port) override;
    void setBindAddress(const QString& address) override;
    int listen() override;
    int accept(int requestId) override;
    int sendData(const QByteArray& bytes) override;
    QByteArray getData() override;
    void close() override;
    QString remoteHostIP() const override;

    // Qt's socket errors as the link's numbers.
    static int errorNumber(QAbstractSocket::SocketError error);

private:
    void offerPending();
    void onConnectionError(QAbstractSocket::SocketError error);
    void onDisconnected();
    void dropConnection();
    void refuse(QTcpSocket* socket);

    QTcpServer m_server;
    QPointer<QTcpSocket> m_conn;
    QTcpSocket* m_offered = nullptr;
    int m_offeredId = 0;
    int m_nextId = 0;
    quint16 m_port = 0;
    QString m_bind;
    bool m_closing = false; // the peer has closed its side
};

} // namespace vexlor::platform
