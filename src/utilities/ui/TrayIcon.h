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
    // Asked for (addIcon, and no removeIcon since), shown or not: a desktop
    // without a notification area changes what shows, not what was asked.
    bool isWanted() const { return m_wanted; }
    QString tip() const { return m_tip; }

    void addIcon(const QString& tip);
    void removeIcon();
    // What the notification area reports; only a double click counts.
    void onActivated(QSystemTrayIcon::ActivationReason why);

Q_SIGNALS:
    void doubleClicked();

private:
    QIcon m_icon;
    QPointer<QSystemTrayIcon> m_tray;
    QString m_tip;
    bool m_wanted = false;
};

} // namespace vexlor::utilities
