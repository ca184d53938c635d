#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vexlor::memory {

class TaggedTextTransfer;

// The small window that follows an import upload or a receiver backup:
// what is being done, how far it is, and Stop. Closing it stops too.
class Transfer : public QWidget {
    Q_OBJECT
public:
    explicit Transfer(TaggedTextTransfer& logic, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void render();

    TaggedTextTransfer& m_logic;
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_stop = nullptr;
};

} // namespace vexlor::memory
