#pragma once

#include "recording/LogSetup.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace vexlor::recording {

// The log set-up window, modeless and reused. Each button is one call on LogSetup.
class Log : public QDialog {
    Q_OBJECT
public:
    explicit Log(LogSetup& setup, QWidget* parent = nullptr);

    // "&Setup General Log": shows the window with the current settings.
    void showSetup();

Q_SIGNALS:
    // After OK: the check mark "&Log Enable" must now carry.
    void logOnOFFChecked(bool checked);

private:
    void okClicked();
    LogSetup::Checks checks() const;

    LogSetup& m_setup;
    std::array<QCheckBox*, 9> m_checks {};
    QRadioButton* m_specific = nullptr;
    QRadioButton* m_automatic = nullptr;
    QLineEdit* m_fileName = nullptr;
};

} // namespace vexlor::recording
