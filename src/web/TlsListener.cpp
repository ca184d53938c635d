#include "web/TlsListener.h"

#include <QSslSocket>

namespace vexlor::web {

void TlsListener::incomingConnection(qintptr descriptor)
{
    if (!m_tls) {
        QTcpServer::incomingConnection(descriptor);
        return;
    }
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setSslConfiguration(*m_tls);
    addPendingConnection(socket);
    socket->startServerEncryption();
}

} // namespace vexlor::web
