#pragma once

#include <QString>

#include <functional>

namespace vexlor::platform {

// A sound input giving 16-bit mono samples, on the thread that started it.
class AudioSource {
public:
    using Samples = std::function<void(const qint16* samples, qsizetype count)>;
    // The input stopped by itself (unplugged, the sound server gone).
    using Failed = std::function<void(const QString& why)>;

    virtual ~AudioSource() = default;
    // device: an input's id, empty for the system's default. False, with errorString(), when it cannot start.
    virtual bool start(const QString& device, int sampleRate, Samples samples, Failed failed) = 0;
    virtual void stop() = 0;
    virtual QString errorString() const = 0;
};

} // namespace vexlor::platform
