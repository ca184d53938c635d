#pragma once

#include "platform/AudioFileWriter.h"

namespace vexlor::platform {

// A sound file's length and tags; false when it cannot be read as one.
bool soundFileInfo(const QString& path, double* seconds, AudioFileWriter::Tags* tags);

} // namespace vexlor::platform
