#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace vexlor::remote {

class RemoteLink;

// "TCP/IP Remote": the port to listen on. Closes itself after one attempt.
class TCPConnection : public QDialog {
    Q_OBJECT
public:
    explicit TCPConnection(RemoteLink& link, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    RemoteLink& m_link;
    QLineEdit* m_port = nullptr;
    QLabel* m_warning = nullptr;
};

} // namespace vexlor::remote
