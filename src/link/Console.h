#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

namespace vexlor::link {

class ScannerLink;

// The manual command console: what the operator types goes straight to the
// receiver; the answers come back through the poll like any status line.
// Holds the typed text and the Tx list; the console widgets only mirror them.
class Console : public QObject {
    Q_OBJECT
public:
    explicit Console(ScannerLink& link, QObject* parent = nullptr);

    const QString& CmdToBeSendBox() const { return m_box; }
    const QStringList& TxData() const { return m_tx; }
    // How many straight writes a full output queue refused; empty while none.
    QString DroppedLbl() const;

    // Every edit of the box. A line break (Enter) sends the text once and
    // takes the break out again.
    void CmdToBeSendBox_Change(const QString& text);
    void SndCmd_Click();
    // Sends the entry at row again, as listed.
    void TxData_DblClick(int row);
    void Clear_Click();

Q_SIGNALS:
    // The box's text changed by the console itself.
    void boxChanged(const QString& text);
    // After a send, the keyboard goes back to the box.
    void boxFocusWanted();
    void txAppended(const QString& command);
    void cleared();
    void droppedChanged(const QString& text);

private:
    bool sendBox();
    void send(const QString& command);

    ScannerLink& m_link;
    QString m_box;
    QStringList m_tx;
};

// CR, LF, and the paragraph and line separators a text box may hold for Enter.
bool isLineBreak(QChar c);

// The text without its line breaks; nullopt when it has none.
std::optional<QString> withoutLineBreaks(const QString& text);

} // namespace vexlor::link
