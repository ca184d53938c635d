#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace vexlor::platform {

// The one TCP socket of the remote link: it listens, accepts a single client
// on itself (which ends the listening) and carries that client's bytes.
// Failures of the calls come back as error numbers; failures of the
// connection itself come as the error() signal.
class RemoteSocket : public QObject {
    Q_OBJECT
public:
    // The values of state().
    enum State { Closed = 0, Listening = 2, Connected = 7, Closing = 8 };

    static constexpr int kOk = 0;
    static constexpr int kInvalidValue = 380;       // a port outside 0..65535
    static constexpr int kAddressInUse = 10048;
    static constexpr int kAddressNotAvailable = 10049;
    static constexpr int kResetByPeer = 10054;
    static constexpr int kNoBufferSpace = 10055;    // the client reads too little
    static constexpr int kWrongState = 40006;       // sending without a connection
    static constexpr int kInvalidOperation = 40020; // listening or accepting when not closed
    static constexpr int kOtherError = 40000;       // a failure the system did not name

    using QObject::QObject;
    ~RemoteSocket() override = default;

    virtual int state() const = 0;

    // 0 lets the system choose; after listening, localPort() is the port in use.
    virtual quint16 localPort() const = 0;
    virtual int setLocalPort(int port) = 0;
    // Address text to listen on; empty means every interface.
    virtual void setBindAddress(const QString& address) = 0;

    virtual int listen() = 0;
    // Takes the request offered by connectionRequest(); allowed only while closed.
    // A request not accepted before the signal returns is refused.
    virtual int accept(int requestId) = 0;
    virtual int sendData(const QByteArray& bytes) = 0;
    virtual QByteArray getData() = 0;
    // Back to Closed from any state; never fails.
    virtual void close() = 0;
    // The connected client's address, IPv4-mapped addresses shown as IPv4.
    virtual QString remoteHostIP() const = 0;

Q_SIGNALS:
    void connectionRequest(int requestId, const QString& peerAddress);
    void dataArrival(qint64 bytes);
    void error(int number, const QString& description);
};

} // namespace vexlor::platform
