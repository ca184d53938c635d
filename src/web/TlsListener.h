#pragma once

#include <QSslConfiguration>
#include <QTcpServer>

#include <optional>

namespace vexlor::web {

// A TCP listener whose connections are TLS from their first byte when it has a
// configuration. The handshake runs on the connection the server already
// tracks, so its time and count limits cover the handshake too.
class TlsListener : public QTcpServer {
public:
    using QTcpServer::QTcpServer;
    void setTls(std::optional<QSslConfiguration> config) { m_tls = std::move(config); }
    bool secure() const { return m_tls.has_value(); }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    std::optional<QSslConfiguration> m_tls;
};

} // namespace vexlor::web
