#pragma once

#include <QString>

namespace vexlor::platform {

// One sound file at a time, 16-bit mono samples in, an encoded file out.
class AudioFileWriter {
public:
    enum class Format { Flac, Opus };
    struct Tags {
        QString title;
        QString artist;
        QString album;
        QString comment;
        QString date;
    };

    virtual ~AudioFileWriter() = default;
    // False, with errorString(), when the file cannot be made in this format.
    virtual bool open(const QString& path, Format format, int sampleRate, const Tags& tags) = 0;
    virtual bool write(const qint16* samples, qsizetype count) = 0;
    // Completes the file on the disk; false when that failed (the file is then incomplete).
    virtual bool close() = 0;
    virtual QString errorString() const = 0;

    static QString extension(Format format) { return format == Format::Opus ? QStringLiteral("opus") : QStringLiteral("flac"); }
};

} // namespace vexlor::platform
