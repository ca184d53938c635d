#pragma once

#include <QObject>
#include <QString>

namespace vexlor::link {
class ScannerLink;
}

namespace vexlor::memory {

class IDTable;

// Reads the ten IDs of one list of the receiver's current trunk bank with
// "IC" queries, and probes each ID's lock-out with "ILD" (putting a locked
// ID back with "ILR"). Quieted from "KEY07" to the closing "KEY00".
class IDListRead : public QObject {
    Q_OBJECT
public:
    static inline const QString kOwner = QStringLiteral("ID list read");

    enum class Outcome {
        Refused,   // another exchange held the line: nothing sent
        Complete,
        Failed,    // "Trunked Mode Unavailable..."
        Stopped,   // stop() or shut-down
    };

    IDListRead(link::ScannerLink& link, IDTable& ids, QObject* parent = nullptr);

    // Reads list 1..10 into bank 1..10 of the table.
    Outcome run(int bank, int list);
    // The same, inside a long exchange that already holds the line and has
    // quieted the receiver.
    Outcome readHeld(int bank, int list);
    void stop() { m_stopRequested = true; }
    bool isRunning() const { return m_running; }

    // An "IC" reply: slot 1..100 and its label, or slot 0 when the reply is none.
    struct Slot {
        int slot = 0;
        QString label; // "1-10"
        QString id;    // six characters, 0xFE shown as "="
    };
    static Slot decodeReply(const QString& reply);

Q_SIGNALS:
    // "Preparing to read IDs...", "Reading ID (1-3)", "Trunked Mode Unavailable..."
    void statusChanged(const QString& text);
    void progressed(int done, int total);
    // Before the question that a failed read asks.
    void failed();

private:
    bool going() const;
    void abandon();

    link::ScannerLink& m_link;
    IDTable& m_ids;
    bool m_running = false;
    bool m_stopRequested = false;
};

} // namespace vexlor::memory
