#pragma once

#include <QDialog>

class QLabel;
class QTreeWidget;

namespace vexlor::controls {

class IdLockoutReview;

// "L/O ID": the locked-out talkgroups of the trunk bank on display.
class IDLockout : public QDialog {
    Q_OBJECT
public:
    explicit IDLockout(IdLockoutReview& review, QWidget* parent = nullptr);

    void render();

private:
    IdLockoutReview& m_review;
    QLabel* m_bank = nullptr;
    QTreeWidget* m_list = nullptr;
};

} // namespace vexlor::controls
