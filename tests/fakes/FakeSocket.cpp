#include "FakeSocket.h"

namespace vexlor::fakes {

int FakeSocket::setLocalPort(int port)
{
    if (port < 0 || port > 65535)
        return kInvalidValue;
    if (m_state != Closed)
        return kInvalidOperation;
    m_port = quint16(port);
    return kOk;
}

int FakeSocket::listen()
{
    ++listenCount;
    if (m_state != Closed)
        return kInvalidOperation;
    if (listenError != kOk) {
        const int e = listenError;
        listenError = kOk;
        return e;
    }
    m_state = Listening;
    return kOk;
}

int FakeSocket::accept(int requestId)
{
    if (m_offeredId == 0 || requestId != m_offeredId || m_state != Closed)
        return kInvalidOperation;
    m_offeredId = 0;
    m_peer = m_offeredPeer;
    m_state = Connected;
    return kOk;
}

int FakeSocket::sendData(const QByteArray& bytes)
{
    if (m_state != Connected)
        return kWrongState;
    sent.append(bytes);
    return kOk;
}

QByteArray FakeSocket::getData()
{
    QByteArray out;
    out.swap(m_input);
    return out;
}

void FakeSocket::close()
{
    ++closeCount;
    m_state = Closed;
    m_input.clear();
}

bool FakeSocket::request(const QString& address)
{
    m_offeredId = ++m_nextId;
    m_offeredPeer = address;
    Q_EMIT connectionRequest(m_offeredId, address);
    const bool accepted = m_offeredId == 0;
    m_offeredId = 0;
    return accepted;
}

void FakeSocket::arrive(const QByteArray& bytes)
{
    m_input += bytes;
    Q_EMIT dataArrival(m_input.size());
}

} // namespace vexlor::fakes

#include "moc_FakeSocket.cpp"
