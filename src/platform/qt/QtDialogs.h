#pragma once

#include "platform/Dialogs.h"

class QWidget;

namespace vexlor::platform {

// QMessageBox, QFileDialog and QFontDialog.
class QtDialogs : public Dialogs {
public:
    // Boxes are centred on the main window once it exists.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    Button message(const Message& m) override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;

private:
    QWidget* m_parent = nullptr;
};

} // namespace vexlor::platform
