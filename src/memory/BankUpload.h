#pragma once

#include <QObject>
#include <QString>

#include "memory/UploadTexts.h"

namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::memory {

class ChannelTable;

// Writes the 30 channels of one bank into the receiver: trunk-mode channels
// through trunk programming with key presses (quieted), then normal-mode
// channels with direct commands. A refused command does not stop it; one
// the receiver does not answer at all does.
// stop() ends it after the transaction in flight; the receiver is then put
// back ("KEY00") and released as at a normal end. A dropped line ends it at
// once, and the receiver is put back when the line returns.
class BankUpload : public QObject {
    Q_OBJECT
public:
    static inline const QString kOwner = QStringLiteral("bank upload");

    using Result = UploadResult;

    BankUpload(link::ScannerLink& link, const ChannelTable& channels, QObject* parent = nullptr);

    // typeDigit: 0..6, the leading digit of the bank's trunk-type selector.
    Result run(int bank, int typeDigit);
    void stop() { m_stopRequested = true; }
    bool isRunning() const { return m_running; }

    // The channels of a bank that an upload sends (column 0 above 0, mode
    // "Trunk" or "Normal").
    static int uploadable(const ChannelTable& channels, int bank);

Q_SIGNALS:
    void progressed(int sent, int total);

private:
    bool going() const;
    bool send(const QString& command);
    // False for a command the receiver did not answer; the upload then ends.
    bool answered(const QString& answer);
    void abandon();

    link::ScannerLink& m_link;
    const ChannelTable& m_channels;
    bool m_running = false;
    bool m_prepared = false;
    bool m_stopRequested = false;
    bool m_silent = false; // a command went unanswered: the rest would only wait too
};

} // namespace vexlor::memory
