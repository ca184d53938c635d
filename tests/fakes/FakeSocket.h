#pragma once

#include "platform/RemoteSocket.h"

#include <QList>

namespace vexlor::fakes {

// A remote socket played by the test: it records what is sent and lets the
// test offer clients, deliver bytes, close the peer's side and raise errors.
class FakeSocket : public platform::RemoteSocket {
    Q_OBJECT
public:
    using RemoteSocket::RemoteSocket;

    int state() const override { return m_state; }
    quint16 localPort() const override { return m_port; }
    int setLocalPort(int port) override;
    void setBindAddress(const QString& address) override { bindAddress = address; }
    int listen() override;
    int accept(int requestId) override;
    int sendData(const QByteArray& bytes) override;
    QByteArray getData() override;
    void close() override;
    QString remoteHostIP() const override { return m_state == Connected || m_state == Closing ? m_peer : QString(); }

    // Test side.
    // Offers a client; true when the logic accepted it.
    bool request(const QString& address = QStringLiteral("10.0.0.7"));
    void arrive(const QByteArray& bytes);
    void peerCloses() { m_state = Closing; }
    void raise(int number) { Q_EMIT error(number, QStringLiteral("test")); }
    void setState(int state) { m_state = state; }
    QByteArray sentBytes() const { return sent.join(); }

    QList<QByteArray> sent;
    QString bindAddress;
    int listenError = kOk;  // the next listen() fails with this
    int listenCount = 0;
    int closeCount = 0;

private:
    int m_state = Closed;
    quint16 m_port = 0;
    QString m_peer;
    QString m_offeredPeer;
    int m_offeredId = 0;
    int m_nextId = 0;
    QByteArray m_input;
};

} // namespace vexlor::fakes
