#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QTimer;

namespace vexlor::controls {

class LockoutReview;

// "L/O Freq.": the locked-out search frequencies as the receiver reports them.
class FreqLockout : public QDialog {
    Q_OBJECT
public:
    explicit FreqLockout(LockoutReview& review, QWidget* parent = nullptr);

    void render();

private:
    LockoutReview& m_review;
    QListWidget* m_list = nullptr;
    QPlainTextEdit* m_test = nullptr;
    QLabel* m_wait = nullptr;
    QTimer* m_quiet = nullptr;
    QTimer* m_redraw = nullptr;
    QStringList m_shownList;
    QString m_shownTest;
};

} // namespace vexlor::controls
