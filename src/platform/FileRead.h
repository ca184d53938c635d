#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace vexlor::platform {

struct FileReadResult {
    bool opened = false;
    bool complete = false;  // the whole file, up to its end, is in bytes
    bool tooLarge = false;  // more than maxBytes: bytes holds maxBytes + 1
    bool cancelled = false; // cancelled() said so before the end
    int errorNumber = 0;    // errno when it failed
    QString reason;         // the system's words for it
    QByteArray bytes;
};

// Reads a whole file, also a FIFO or a terminal that may keep it waiting:
// it never blocks for long, so cancelled() is asked at least every 100 ms
// (a signal's flag, say) and a Ctrl+C ends even a read nobody writes to.
FileReadResult readFile(const QString& path, qint64 maxBytes, const std::function<bool()>& cancelled = {});

} // namespace vexlor::platform
