#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace vexlor::printing {

class ListPrinting;

// "BC245 - Print List...": renders a ListPrinting, each event one call on it.
class PrintFrm : public QDialog {
    Q_OBJECT
public:
    explicit PrintFrm(ListPrinting& printing, QWidget* parent = nullptr);

    void render();

private:
    QComboBox* makeCombo(const QString& name, bool editable);

    ListPrinting& m_printing;
    QRadioButton* m_freqOption = nullptr;
    QRadioButton* m_idOption = nullptr;
    QLabel* m_info = nullptr;
    QComboBox* m_freqBank = nullptr;
    QComboBox* m_idBank = nullptr;
    QComboBox* m_printer = nullptr;
    QLineEdit* m_copies = nullptr;
    QScrollBar* m_copiesBar = nullptr;
};

} // namespace vexlor::printing
