#pragma once

#include <QDialog>

class QLabel;

namespace vexlor::utilities {

class Links;

// "About Vexlor...": modal; the link labels open their links, and a click on
// any other label or a double-click on the window or its text closes it.
class About : public QDialog {
    Q_OBJECT
public:
    About(Links& links, const QString& versionText, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* label(const QString& name, const QString& text, const QString& tip = {});
    void refreshTargets();

    Links& m_links;
    QLabel* m_scannerAddress = nullptr;
    QWidget* m_textView = nullptr;
};

} // namespace vexlor::utilities
