#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace vexlor::memory {

class DirectoryGrid;
class ExchangeBar;
class FreqDirectory;

// "Freq. Directory": one bank's channels in a grid and the editor of one
// channel, rendering a FreqDirectory; each event is one call on it.
class FreqDir : public QDialog {
    Q_OBJECT
public:
    explicit FreqDir(FreqDirectory& logic, QWidget* parent = nullptr);

    void render();

public Q_SLOTS:
    // Esc: stops an upload, is ignored during a read, and closes otherwise.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildBankRow();
    QWidget* buildSourceFrame();
    QWidget* buildEditorFrame();
    QWidget* buildSendFrame();
    void connectLogic();

    FreqDirectory& m_logic;
    DirectoryGrid* m_grid = nullptr;
    ExchangeBar* m_exchange = nullptr;
    QComboBox* m_bankCmb = nullptr;
    QRadioButton* m_option1 = nullptr;
    QRadioButton* m_option2 = nullptr;
    QLineEdit* m_chBox = nullptr;
    QLineEdit* m_freqBox = nullptr;
    QComboBox* m_typeCmb = nullptr;
    QLineEdit* m_nameBox = nullptr;
    QCheckBox* m_delayChk = nullptr;
    QCheckBox* m_lOChk = nullptr;
    QCheckBox* m_trunkChk = nullptr;
    QLineEdit* m_bankNameBox = nullptr;
    QComboBox* m_trunkTypeBox = nullptr;
    QToolButton* m_saveImg = nullptr;
    QToolButton* m_deleteImg = nullptr;
    QPushButton* m_sendCmd = nullptr;
};

} // namespace vexlor::memory
