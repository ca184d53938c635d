#pragma once

#include <QString>

namespace vexlor::platform {

// Plays one sound file at a time on the default output.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Stops what plays, then plays path; false, with errorString(), when it cannot.
    virtual bool play(const QString& path) = 0;
    virtual void stop() = 0;
    virtual QString errorString() const = 0;
};

} // namespace vexlor::platform
