#pragma once

#include "platform/AudioFileWriter.h"

struct sf_private_tag;

namespace vexlor::platform {

// FLAC or Ogg/Opus files through libsndfile.
class SndFileWriter : public AudioFileWriter {
public:
    SndFileWriter() = default;
    ~SndFileWriter() override;
    SndFileWriter(const SndFileWriter&) = delete;
    SndFileWriter& operator=(const SndFileWriter&) = delete;

    bool open(const QString& path, Format format, int sampleRate, const Tags& tags) override;
    bool write(const qint16* samples, qsizetype count) override;
    bool close() override;
    QString errorString() const override { return m_error; }

private:
    sf_private_tag* m_file = nullptr;
    QString m_error;
};

} // namespace vexlor::platform
