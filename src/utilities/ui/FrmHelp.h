#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace vexlor::utilities {

// The general help window: a caption and a text, shown modally by its caller.
class FrmHelp : public QDialog {
    Q_OBJECT
public:
    explicit FrmHelp(QWidget* parent = nullptr);

    // Hides the window and fills it; the caller shows it again.
    void Load(const QString& caption, const QString& text);

private:
    QPlainTextEdit* m_txtHelp = nullptr;
};

} // namespace vexlor::utilities
