#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QFile;

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
//
// A journal names its store (file name, device and inode) and keeps each
// record's bytes from before the write: it is redone only over that very file,
// and only while every byte it covers is still old or new. A journal moved
// beside another file, or one the store has moved on from, is ignored.
// Two journals can make one step over both stores: the first is redone only
// while its partner is whole too, so a kill leaves both stores old or both new.
class RecordJournal {
public:
    struct Write {
        qint64 offset = 0;
        QByteArray bytes;
        QByteArray before; // what the store held there; shorter when the write extends it
        friend bool operator==(const Write&, const Write&) = default;
    };

    struct Identity {
        QString fileName; // without its folder
        quint64 device = 0;
        quint64 inode = 0;
        friend bool operator==(const Identity&, const Identity&) = default;
    };

    // One half of a step over two stores; step 0 is a journal on its own.
    struct Pairing {
        quint64 step = 0;
        bool first = false; // written before its partner, so redone only with it
        QString partner;    // the partner journal's file name, in the same folder
        friend bool operator==(const Pairing&, const Pairing&) = default;
    };

    struct Entry {
        Identity store;
        Pairing pairing;
        QList<Write> writes;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // Far above what one step writes (all of both stores is 87 KB, twice with
    // the old bytes); a bigger journal is not ours and is ignored.
    static constexpr qint64 kMaxSize = 1 << 20;
    // Store offsets beyond this are no store's.
    static constexpr qint64 kMaxOffset = 1 << 24;

    explicit RecordJournal(QString path);

    // Before the in-place writes. False (with errorString()) when the journal
    // could not be written whole.
    bool begin(const Entry& entry);
    // After the in-place writes reached the file.
    bool end();
    // What the journal holds, whether or not it belongs to anything; nullopt
    // when there is none or it is not whole.
    std::optional<Entry> read() const;
    // The writes a killed process left to redo over the open `store` (read
    // to check them); nullopt when there is nothing of this store's to redo.
    std::optional<QList<Write>> pending(QFile& store) const;

    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

    // The open file's name, device and inode; nullopt when it cannot be told.
    static std::optional<Identity> identityOf(const QFile& file);

    static QByteArray encode(const Entry& entry);
    static std::optional<Entry> decode(QByteArrayView bytes);

private:
    QString m_path;
    QString m_error;
};

} // namespace vexlor::memory
