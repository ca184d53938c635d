#pragma once

#include "app/config/StartSetup.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace vexlor::app {

// The set-up window: name, port and speed. Each button is one call on
// StartSetup; the caller reads outcome() after exec() and acts on it.
class Start : public QDialog {
    Q_OBJECT
public:
    // devicePaths: the serial devices present, listed after "Com 1".."Com 12".
    Start(StartSetup& setup, const QStringList& devicePaths, QWidget* parent = nullptr);

    StartOutcome outcome() const { return m_outcome; }
    // exec(), then the outcome.
    StartOutcome run();

    static QString caption();

public Q_SLOTS:
    // Closing by the frame (or Esc) decides nothing.
    void reject() override;

private:
    void okClicked();
    void cancelClicked();

    StartSetup& m_setup;
    QLineEdit* m_userName = nullptr;
    QComboBox* m_port = nullptr;
    QComboBox* m_speed = nullptr;
    StartOutcome m_outcome = StartOutcome::ClosedByFrame;
};

} // namespace vexlor::app
