#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace vexlor::web {

class WebRemoteSetup;

// "Web Remote": renders a WebRemoteSetup; each event is one call on it.
class WebRemote : public QDialog {
    Q_OBJECT
public:
    explicit WebRemote(WebRemoteSetup& setup, QWidget* parent = nullptr);

private:
    void render();
    // A line edit for a PEM file, with a Browse button beside it.
    QWidget* fileRow(QLineEdit* box, const QString& browseName, const QString& title, void (WebRemoteSetup::*changed)(const QString&));

    WebRemoteSetup& m_setup;
    QCheckBox* m_enabled;
    QLineEdit* m_listen;
    QCheckBox* m_watchFree;
    QLineEdit* m_certificate;
    QLineEdit* m_key;
    QLabel* m_status;
};

} // namespace vexlor::web
