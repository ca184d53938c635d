#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace vexlor::utilities {

class TalkgroupConverter;

// "Talkgroup Conversion": renders a TalkgroupConverter, each event one call on it.
class TGConvert : public QDialog {
    Q_OBJECT
public:
    explicit TGConvert(TalkgroupConverter& converter, QWidget* parent = nullptr);

    void render();

private:
    QPlainTextEdit* makeEntryBox(const QString& name, QWidget* parent);
    void renderBox(QPlainTextEdit* box, const QString& text, bool editable);

    TalkgroupConverter& m_converter;
    QRadioButton* m_decChk = nullptr;
    QRadioButton* m_hexChk = nullptr;
    QPlainTextEdit* m_decBox = nullptr;
    QPlainTextEdit* m_hexBox = nullptr;
    QLineEdit* m_afsBox = nullptr;
    QLabel* m_note = nullptr;
};

} // namespace vexlor::utilities
