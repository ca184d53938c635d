#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

namespace vexlor::utilities {

// The program's one notification-area icon. Where the desktop has no
// notification area nothing is shown and nothing fails.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(const QIcon& icon, QObject* parent = nullptr);
    ~TrayIcon() override;

    static bool isAvailable();
    bool isShown() const;
    QString tip() const;

    void addIcon(const QString& tip);
    void removeIcon();
    // What the notification area reports; only a double click counts.
    void onActivated(QSystemTrayIcon::ActivationReason why);

Q_SIGNALS:
    void doubleClicked();

private:
    QIcon m_icon;
    QPointer<QSystemTrayIcon> m_tray;
};

} // namespace vexlor::utilities
