#pragma once

#include <QObject>
#include <QString>

#include "memory/UploadTexts.h"

namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::memory {

class IDTable;

// Writes the filled slots of one ID list into the receiver, one "TG"
// command each, quieted; then returns the receiver to the bank. A command
// the receiver does not answer at all ends it. Only the
// ID numbers go: names, types and lock-outs stay local. stop() ends it
// after the transaction in flight and still returns the receiver to the
// bank; a dropped line ends it at once.
class IDUpload : public QObject {
    Q_OBJECT
public:
    static inline const QString kOwner = QStringLiteral("ID upload");

    using Result = UploadResult;

    IDUpload(link::ScannerLink& link, const IDTable& ids, QObject* parent = nullptr);

    Result run(int bank, int list);
    void stop() { m_stopRequested = true; }
    bool isRunning() const { return m_running; }

    // The "TG" command for a slot, or the empty text when the slot is skipped
    // (label empty, without "-", or its parts outside 1..10; an ID that is no number).
    static QString command(const IDTable& ids, int bank, int slot);

Q_SIGNALS:
    void progressed(int sent, int total);

private:
    link::ScannerLink& m_link;
    const IDTable& m_ids;
    bool m_running = false;
    bool m_stopRequested = false;
};

} // namespace vexlor::memory
