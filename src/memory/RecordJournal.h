#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace vexlor::memory {

// A redo journal beside a store file (bank.dat.journal), so that a process
// killed in the middle of writing records in place never leaves a record half
// old and half new: the kernel may stop a write() at any page boundary, and a
// torn record would still look valid to the loader. The records go into the
// journal in one write, with a checksum, before they are written in place; the
// journal is removed once they are. A journal found at start-up was cut short
// (its checksum fails, so the store was not touched yet) or is complete and is
// written again. Guards against the process dying, not against the machine
// losing power: nothing is synced to the disk.
class RecordJournal {
public:
    struct Write {
        qint64 offset = 0;
        QByteArray bytes;
        friend bool operator==(const Write&, const Write&) = default;
    };

    // Far above what one store call writes (all of idbank.dat is 66 KB); a
    // bigger journal is not ours and is ignored.
    static constexpr qint64 kMaxSize = 1 << 20;
    // Store offsets beyond this are no store's.
    static constexpr qint64 kMaxOffset = 1 << 24;

    explicit RecordJournal(QString path);

    // Before the in-place writes. False (with errorString()) when the journal
    // could not be written whole; the caller then writes without it.
    bool begin(const QList<Write>& writes);
    // After the in-place writes reached the file.
    bool end();
    // The writes a killed process left to redo; nullopt when there is no
    // journal or it is not whole.
    std::optional<QList<Write>> pending() const;

    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

    static QByteArray encode(const QList<Write>& writes);
    static std::optional<QList<Write>> decode(QByteArrayView bytes);

private:
    QString m_path;
    QString m_error;
};

} // namespace vexlor::memory
