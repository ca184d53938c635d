#pragma once

#include "simulator/MemoryState.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vexlor::simulator {

// The receiver's memories in a small versioned text file, one fact a line.
// A file that does not read back completely is refused as a whole.
class StateFile {
public:
    static QByteArray serialize(const MemoryState& memory);
    static std::optional<MemoryState> parse(const QByteArray& text, QString* error);

    // Written through a temporary file, so a crash never leaves half a file.
    static bool save(const QString& path, const MemoryState& memory, QString* error);
    static std::optional<MemoryState> load(const QString& path, QString* error);
};

} // namespace vexlor::simulator
