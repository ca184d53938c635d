#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace vexlor::recording {

class RecordingSetup;

// "Recordings" set-up: renders a RecordingSetup; each event is one call on it.
class RecordingSetupWindow : public QDialog {
    Q_OBJECT
public:
    explicit RecordingSetupWindow(RecordingSetup& setup, QWidget* parent = nullptr);

private:
    void render();
    QSpinBox* spin(const char* name, int max, const QString& suffix, void (RecordingSetup::*changed)(int));

    RecordingSetup& m_setup;
    QCheckBox* m_enabled;
    QComboBox* m_device;
    QComboBox* m_format;
    QComboBox* m_policy;
    QLineEdit* m_marked;
    QSpinBox* m_minimum;
    QSpinBox* m_hang;
    QSpinBox* m_limitGb;
    QSpinBox* m_limitDays;
    QLabel* m_status;
};

} // namespace vexlor::recording
