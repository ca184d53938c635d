#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vexlor::memory {

// The line under a directory grid that shows a read or an upload at work:
// WaitLbl, ReadProgressBar and StopCmd.
class ExchangeBar : public QWidget {
    Q_OBJECT
public:
    explicit ExchangeBar(QWidget* parent = nullptr);

    void render(bool waitVisible, const QString& waitText, bool progressVisible, int progress, bool uploading);

Q_SIGNALS:
    void stopClicked();

private:
    QLabel* m_wait = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_stop = nullptr;
};

} // namespace vexlor::memory
