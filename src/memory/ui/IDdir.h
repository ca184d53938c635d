#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace vexlor::memory {

class DirectoryGrid;
class ExchangeBar;
class IDDirectory;

// "ID Directory": the ten IDs of one list of one bank and the editor of one
// ID, rendering an IDDirectory; each event is one call on it.
class IDdir : public QDialog {
    Q_OBJECT
public:
    explicit IDdir(IDDirectory& logic, QWidget* parent = nullptr);

    void render();

public Q_SLOTS:
    // Esc: stops an upload, is ignored during a read, and closes otherwise.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildBankRow();
    QWidget* buildEditorFrame();
    QWidget* buildSourceFrame();
    QWidget* buildSendFrame();
    void connectLogic();

    IDDirectory& m_logic;
    DirectoryGrid* m_grid = nullptr;
    ExchangeBar* m_exchange = nullptr;
    QComboBox* m_bankCmb = nullptr;
    QComboBox* m_idBankCmb = nullptr;
    QLabel* m_typeLbl = nullptr;
    QLabel* m_trunkType = nullptr;
    QRadioButton* m_option1 = nullptr;
    QRadioButton* m_option2 = nullptr;
    QLineEdit* m_chBox = nullptr;
    QLineEdit* m_idBox = nullptr;
    QComboBox* m_typeCmb = nullptr;
    QLineEdit* m_nameBox = nullptr;
    QToolButton* m_saveImg = nullptr;
    QToolButton* m_deleteImg = nullptr;
    QPushButton* m_sendCmd = nullptr;
    QPushButton* m_okCmd = nullptr;
};

} // namespace vexlor::memory
