#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace vexlor::link {
class ScannerLink;
class ExchangeGuard;
}

namespace vexlor::memory {

class MemoryTables;

// Sends everything a tagged text import marked: the banks' trunk types, the
// trunk-mode channels, the normal channels, then the IDs, each pass exactly
// as the receiver wants it. An item is taken when its data command is
// answered "OK". An item's mark is cleared once all its commands went out;
// stop() ends after the item in flight, and a dropped line, a receiver that
// stops answering or the program ending ends at once, so every mark still
// set is an item the receiver did not get.
class ImportUpload : public QObject {
    Q_OBJECT
public:
    static inline const QString kOwner = QStringLiteral("tagged text upload");

    struct Result {
        bool started = false; // false: another exchange held the line, nothing sent
        bool stopped = false;
        int sent = 0;    // items whose commands all went out
        int refused = 0; // of those, items whose data command was answered other than "OK"
        // Commands the receiver did not answer on a live line; the upload ends at the first.
        int unanswered = 0;
        int total = 0;   // items marked at the start
        // Items not sent: a trunked bank's type or trunk channels when the
        // scanner knows no such type, and IDs that are no number.
        int skipped = 0;
    };

    ImportUpload(link::ScannerLink& link, MemoryTables& tables, QObject* parent = nullptr);

    Result run();
    void stop() { m_stopRequested = true; }
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void progressed(int sent, int total);

private:
    bool linkAlive() const;
    bool going() const;
    // Sends the commands of one item; false when the line or the program went
    // meanwhile. The reply to commands[data], when there is one, tells
    // whether the receiver took the item.
    bool item(const QStringList& commands, qsizetype data = -1);
    // Quiets the receiver when it is not, with "MA001" first where the pass wants it.
    bool quietIfNeeded(bool memoryFirst);
    // An item left unsent on purpose: counted apart, its mark gone.
    void skip();
    void done();
    void abandon();
    void passTrunkTypes();
    void passChannels(bool trunk);
    void passIDs();

    link::ScannerLink& m_link;
    MemoryTables& m_tables;
    link::ExchangeGuard* m_guard = nullptr;
    Result m_result;
    bool m_itemRefused = false;
    bool m_running = false;
    bool m_stopRequested = false;
};

} // namespace vexlor::memory
