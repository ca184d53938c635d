#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QToolButton;

namespace vexlor::memory {

class BankEditor;
class BankGridView;

// "Banks": one bank as a spreadsheet, rendering a BankEditor; each event is
// one call on it. Modeless; it keeps its place and size for the run.
class Banks : public QWidget {
    Q_OBJECT
public:
    explicit Banks(BankEditor& logic, QWidget* parent = nullptr);

    void render();
    // Ctrl+F: the find bar, with its text chosen.
    void showFind();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildBankRow();
    QWidget* buildBankPage();
    QWidget* buildGridPage(BankGridView* grid, const QString& titles);
    QWidget* buildFindBar();
    QWidget* buildButtons();
    void buildMenu();
    void connectGrid(BankGridView* grid);
    void findNext();

    BankEditor& m_logic;
    QScrollBar* m_scroll = nullptr;
    QLabel* m_bankNumber = nullptr;
    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_type = nullptr;
    QLabel* m_pch = nullptr;
    QLabel* m_vr = nullptr;
    QLabel* m_si = nullptr;
    BankGridView* m_channels = nullptr;
    BankGridView* m_ids = nullptr;
    QGroupBox* m_editFrame = nullptr;
    QWidget* m_findBar = nullptr;
    QLineEdit* m_findBox = nullptr;
};

} // namespace vexlor::memory
