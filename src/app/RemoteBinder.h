#pragma once

#include <QObject>
#include <memory>

namespace vexlor::platform {
class RemoteSocket;
}
namespace vexlor::remote {
class Chat;
class ChatSession;
class RemoteLink;
class TCPConnection;
}

namespace vexlor::app {

class Application;

// Connects the remote link (the socket tcp1, its upkeep in the poll tick,
// the TCP / Remote menu, the status images, CHAT) to the main window.
class RemoteBinder : public QObject {
    Q_OBJECT
public:
    explicit RemoteBinder(Application& app);
    ~RemoteBinder() override;

    remote::RemoteLink& link() { return *m_link; }
    remote::ChatSession& chat() { return *m_chat; }

private:
    void showTCPConnection();
    void showChat();

    Application& m_app;
    std::unique_ptr<platform::RemoteSocket> m_tcp1;
    std::unique_ptr<remote::RemoteLink> m_link;
    std::unique_ptr<remote::ChatSession> m_chat;
    // Created on first use; they go before the logic they call.
    std::unique_ptr<remote::TCPConnection> m_tcpWindow;
    std::unique_ptr<remote::Chat> m_chatWindow;
};

} // namespace vexlor::app
