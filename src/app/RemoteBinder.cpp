#include "app/RemoteBinder.h"

#include "app/Application.h"
#include "app/ui/MainWindow.h"
#include "platform/qt/QtRemoteSocket.h"
#include "remote/AccessRules.h"
#include "remote/ChatSession.h"
#include "remote/RemoteLink.h"
#include "remote/ui/Chat.h"
#include "remote/ui/TCPConnection.h"

#include <QAction>
#include <QAbstractButton>

namespace vexlor::app {

RemoteBinder::RemoteBinder(Application& app)
    : m_app(app), m_tcp1(std::make_unique<platform::QtRemoteSocket>())
{
    MainWindow& w = app.window();
    QAction* autoListen = w.action(QStringLiteral("AutoListenOnTCP"));

    remote::RemoteLink::Hooks hooks;
    hooks.autoListen = [&app] { return app.autoListen(); };
    hooks.setAutoListen = [&app, autoListen](bool on) {
        app.setAutoListen(on);
        if (autoListen)
            autoListen->setChecked(on);
    };
    hooks.access = [&app] {
        const IniFile& ini = app.INIObj();
        return remote::AccessRules::fromSettings(ini.RemotePassword(), ini.RemoteAllow(), ini.RemoteBind());
    };
    m_link = std::make_unique<remote::RemoteLink>(*m_tcp1, app.link(), app.display(), app.platform().clock,
                                                  std::move(hooks));
    m_chat = std::make_unique<remote::ChatSession>(*m_link, app.platform().dialogs);
    app.poll().setRemote(m_link.get());

    auto item = [&w](const char* name) {
        QAction* a = w.action(QString::fromLatin1(name));
        if (a)
            a->setEnabled(true);
        return a;
    };
    item("TCPremote");
    if (autoListen) {
        autoListen->setEnabled(true);
        connect(autoListen, &QAction::triggered, this, [this, autoListen] {
            m_link->AutoListenOnTCP();
            autoListen->setChecked(m_app.autoListen());
        });
    }
    if (QAction* a = item("ListenTCPmnu"))
        connect(a, &QAction::triggered, this, &RemoteBinder::showTCPConnection);
    if (QAction* a = item("CloseTCPmnu"))
        connect(a, &QAction::triggered, this, [this] { m_link->CloseTCPmnu(); });

    auto button = [&w](const char* name) {
        auto* b = w.control<QAbstractButton>(QString::fromLatin1(name));
        if (b)
            b->setEnabled(true);
        return b;
    };
    if (auto* b = button("TCPConnectionCmd"))
        connect(b, &QAbstractButton::clicked, this, &RemoteBinder::showTCPConnection);
    if (auto* b = button("TCPConnectOnCmd"))
        connect(b, &QAbstractButton::clicked, this, [this] { m_link->TCPConnectOnCmd(); });
    if (auto* b = button("ChatCmd")) {
        connect(b, &QAbstractButton::clicked, this, [this] {
            if (m_chat->ChatCmd())
                showChat();
        });
    }
    connect(m_chat.get(), &remote::ChatSession::showRequested, this, &RemoteBinder::showChat);
}

RemoteBinder::~RemoteBinder()
{
    m_app.poll().setRemote(nullptr);
    m_chatWindow.reset();
    m_tcpWindow.reset();
}

void RemoteBinder::showTCPConnection()
{
    if (!m_tcpWindow)
        m_tcpWindow = std::make_unique<remote::TCPConnection>(*m_link, &m_app.window());
    m_tcpWindow->show();
    m_tcpWindow->raise();
    m_tcpWindow->activateWindow();
}

void RemoteBinder::showChat()
{
    if (!m_chatWindow)
        m_chatWindow = std::make_unique<remote::Chat>(*m_chat, &m_app.window());
    m_chatWindow->show();
    m_chatWindow->raise();
}

} // namespace vexlor::app

#include "moc_RemoteBinder.cpp"
