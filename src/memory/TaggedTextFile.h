#pragma once

#include "memory/TaggedText.h"
#include "platform/SafeWrite.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace vexlor::memory {
class LocalStores;
class MemoryTables;
}

// Tagged text files on disk, and storing what an import brought.
namespace vexlor::memory::taggedfile {

// No memory set comes near this; a bigger file is not tagged text.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

using WriteResult = platform::safewrite::Result;

// Replaces the file only once every byte is on disk: a failed write leaves
// the previous file as it was.
WriteResult write(const QString& path, const QByteArray& bytes);

struct ReadResult {
    bool opened = false;
    bool tooLarge = false;  // nothing was read into the tables
    bool cancelled = false; // nor here
    bool complete = false;  // read to its end and into the tables
    int errorNumber = 0;    // errno when it could not be read
    QString reason;         // the system's words for it
    tagged::ImportCount count;
};

// Reads the file into the tables, marking what it brings for the upload.
// cancelled() is asked while the file is read (a FIFO may keep it waiting).
ReadResult import(const QString& path, MemoryTables& tables, const std::function<bool()>& cancelled = {});

// Makes `next` (the tables with a file read in) the tables, and writes what
// it brought to the stores, in one step: both or, when a store refuses a
// record, neither (the reason is in the stores). Announces the change.
bool commitImport(MemoryTables& tables, const MemoryTables& next, LocalStores& stores, const void* source);

// Writes every marked channel and ID and every imported bank's trunk type
// and name to the stores, which must be loaded into these tables. Returns
// false when a record could not be written (the reason is in the stores).
bool storeImported(const MemoryTables& tables, LocalStores& stores);

} // namespace vexlor::memory::taggedfile
