#pragma once

#include "remote/MessageFramer.h"
#include "remote/Protocol.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace vexlor::remote {

// The client side of the remote link, without the socket: answers the
// server's questions, turns the pushed status into one line, and turns what
// the user types into messages.
class ClientSession {
public:
    struct Reply {
        QList<QByteArray> send; // messages for the server
        QStringList print;      // lines for the user
    };

    // Well inside the server's five-minute idle limit.
    static constexpr int kKeepAliveMs = 60 * 1000;

    ClientSession(QString user, QString password);

    Reply received(QByteArrayView bytes);
    // The message for a typed line ("k=12", "dd=MA001", "chat=hi", or plain
    // text as chat); empty when there is nothing to send.
    static QByteArray typed(const QString& line);
    static QString statusLine(const protocol::ReceptionStatus& status);
    // The empty message: it asks the server for nothing.
    static QByteArray keepAlive() { return protocol::message(QString()); }

private:
    MessageFramer m_framer;
    protocol::ReceptionStatus m_status;
    QString m_lastLine;
    QString m_user;
    QString m_password;
};

} // namespace vexlor::remote
