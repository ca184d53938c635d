#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace vexlor::web {

// "8080", "0.0.0.0:8080", "[::1]:8080": the address (empty: every one) and the port.
bool parseListen(const QString& text, QString* address, int* port);

// The "Web Remote" window's logic: on or off, where it listens, and whether
// anyone who reaches it may watch without the pass phrase. Apply keeps the
// settings and starts, moves or stops the server at once.
class WebRemoteSetup : public QObject {
    Q_OBJECT
public:
    struct Settings {
        bool enabled = false;
        QString listen; // [ADDRESS:]PORT
        bool watchFree = false;
        // PEM files; both empty serve plain HTTP.
        QString certificate;
        QString key;
    };
    struct Hooks {
        std::function<Settings()> load;
        // Keeps and applies them; the line the window shows afterwards (where it listens, or why not).
        std::function<QString(const Settings&)> apply;
        std::function<QString()> status;
    };

    explicit WebRemoteSetup(Hooks hooks, QObject* parent = nullptr);

    const Settings& settings() const { return m_settings; }
    const QString& StatusLbl() const { return m_status; }

    void open();
    void EnabledChk_Click(bool on);
    void ListenBox_Change(const QString& text);
    void WatchFreeChk_Click(bool on);
    void CertificateBox_Change(const QString& path);
    void KeyBox_Change(const QString& path);
    // False when the address does not read as [ADDRESS:]PORT, or only one of the
    // certificate and the key is named; nothing changes then.
    bool ApplyCmd_Click();

Q_SIGNALS:
    void changed();

private:
    Hooks m_hooks;
    Settings m_settings;
    QString m_status;
};

} // namespace vexlor::web
