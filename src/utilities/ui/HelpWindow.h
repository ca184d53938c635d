#pragma once

#include <QDialog>

namespace vexlor::utilities {

// A help window: its text, read-only, and "OK". One class serves the four
// help windows, which differ only in name, caption and text.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(const QString& name, const QString& caption, const QString& text, QWidget* parent = nullptr);
};

} // namespace vexlor::utilities
