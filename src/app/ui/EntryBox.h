#pragma once

#include <QPlainTextEdit>

namespace vexlor::app {

// A one-line multi-line box: Enter inserts a line break, which is the
// signal to act on the text, as the direct-entry and console boxes expect.
class EntryBox : public QPlainTextEdit {
    Q_OBJECT
public:
    EntryBox(const QString& name, int chars, QWidget* parent = nullptr);

    // Puts back a text the logic decided on, without a new change to act on.
    void setTextQuietly(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int m_chars;
};

} // namespace vexlor::app
