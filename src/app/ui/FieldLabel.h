#pragma once

#include <QLabel>

namespace vexlor::app {

// A readout label that names itself, greyed, while it has no value, so an
// empty box on the main window still says what it will show.
class FieldLabel : public QLabel {
    Q_OBJECT
public:
    explicit FieldLabel(QWidget* parent = nullptr) : QLabel(parent) {}
    explicit FieldLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {}

    QString placeholderText() const { return m_placeholder; }
    // Set it after the font and frame: the minimum width follows it.
    void setPlaceholderText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_placeholder;
};

} // namespace vexlor::app
