#include "platform/audio/SndFileWriter.h"

#include <QFile>

#include <sndfile.h>

#include <cerrno>
#include <cstring>

namespace vexlor::platform {

SndFileWriter::~SndFileWriter() { close(); }

bool SndFileWriter::open(const QString& path, Format format, int sampleRate, const Tags& tags)
{
    close();
    SF_INFO info {};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = format == Format::Opus ? (SF_FORMAT_OGG | SF_FORMAT_OPUS) : (SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    m_file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!m_file) {
        m_error = QString::fromLocal8Bit(sf_strerror(nullptr));
        return false;
    }
    // Tags go in before the first sample: the formats write them in the header.
    const std::pair<int, const QString*> strings[] = {{SF_STR_TITLE, &tags.title}, {SF_STR_ARTIST, &tags.artist},
                                                      {SF_STR_ALBUM, &tags.album}, {SF_STR_COMMENT, &tags.comment},
                                                      {SF_STR_DATE, &tags.date}};
    for (const auto& [kind, text] : strings) {
        if (!text->isEmpty())
            sf_set_string(m_file, kind, text->toUtf8().constData());
    }
    sf_set_string(m_file, SF_STR_SOFTWARE, "Vexlor");
    return true;
}

bool SndFileWriter::write(const qint16* samples, qsizetype count)
{
    if (!m_file) {
        m_error = QStringLiteral("no file is open");
        return false;
    }
    errno = 0;
    if (sf_write_short(m_file, samples, count) != count) {
        // The library's own text says little for a full disk; the system's says it plainly.
        m_error = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QString::fromLocal8Bit(sf_strerror(m_file));
        return false;
    }
    return true;
}

bool SndFileWriter::close()
{
    if (!m_file)
        return true;
    errno = 0;
    const int failed = sf_close(m_file);
    m_file = nullptr;
    if (failed != 0)
        m_error = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QString::fromLocal8Bit(sf_error_number(failed));
    return failed == 0;
}

} // namespace vexlor::platform
