#include "platform/audio/SoundFileInfo.h"

#include <QFile>

#include <sndfile.h>

namespace vexlor::platform {

bool soundFileInfo(const QString& path, double* seconds, AudioFileWriter::Tags* tags)
{
    SF_INFO info {};
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!f)
        return false;
    *seconds = info.samplerate > 0 ? double(info.frames) / info.samplerate : 0;
    const auto text = [f](int kind) { return QString::fromUtf8(sf_get_string(f, kind)); };
    tags->title = text(SF_STR_TITLE);
    tags->artist = text(SF_STR_ARTIST);
    tags->album = text(SF_STR_ALBUM);
    tags->comment = text(SF_STR_COMMENT);
    tags->date = text(SF_STR_DATE);
    sf_close(f);
    return true;
}

} // namespace vexlor::platform
