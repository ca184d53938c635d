#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace vexlor::monitor {

class CompactDisplay;
class CompactView;

// The compact always-on-top view: renders CompactDisplay and forwards its
// buttons, keys and close box to CompactView.
class SmartView : public QWidget {
    Q_OBJECT
public:
    SmartView(CompactView& view, CompactDisplay& display, QWidget* parent = nullptr);

    // Shown until the first mode caption arrives.
    static QString defaultCaption();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void render();
    QLabel* readout(const char* name, int chars);
    QPushButton* button(const char* name, const char* caption);

    CompactView& m_view;
    CompactDisplay& m_display;
    QLabel* m_mode = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_type = nullptr;
    QLabel* m_idName = nullptr;
    QLabel* m_idType = nullptr;
};

} // namespace vexlor::monitor
