#pragma once

#include "controls/Keypad.h"
#include "web/ActivityFeed.h"

#include <QObject>
#include <QString>

#include <memory>

namespace vexlor::web {
class WebAccess;
class WebCommands;
class WebRemote;
class WebRemoteSetup;
class WebServer;
}

namespace vexlor::app {

class Application;

// The web remote in the running program: the display, the hits and the
// controls of this run, served where the configuration or --web says.
class WebBinder : public QObject {
    Q_OBJECT
public:
    explicit WebBinder(Application& app);
    ~WebBinder() override;

    // Starts when --web or [WebRemote]=1 asks; false, with error(), when it could not listen.
    bool startIfWanted();
    bool start(const QString& address, int port);
    void stop();
    bool running() const;
    quint16 port() const;
    // Where it listens, as the operator types it into a browser; empty when stopped.
    QString url() const;
    QString error() const { return m_error; }
    web::WebServer* server() const { return m_server.get(); }
    web::WebRemoteSetup& setup() { return *m_setup; }
    // Null until first opened.
    web::WebRemote* window() const { return m_window.get(); }
    // Options > Web Remote.
    void WebRemoteMnu_Click();

private:
    void hit(const recording::SampleEvent& e);
    QString status() const;

    Application& m_app;
    controls::KeypadSender m_keys;
    web::ActivityFeed m_feed;
    std::unique_ptr<web::WebCommands> m_commands;
    std::unique_ptr<web::WebAccess> m_access;
    std::unique_ptr<web::WebServer> m_server;
    std::unique_ptr<web::WebRemoteSetup> m_setup;
    std::unique_ptr<web::WebRemote> m_window;
    QString m_address;
    QString m_error;
};

} // namespace vexlor::app
