#include "platform/audio/QtSoundPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

namespace vexlor::platform {

QtSoundPlayer::QtSoundPlayer() : m_output(std::make_unique<QAudioOutput>()), m_player(std::make_unique<QMediaPlayer>())
{
    m_player->setAudioOutput(m_output.get());
}

QtSoundPlayer::~QtSoundPlayer() { m_player->stop(); }

bool QtSoundPlayer::play(const QString& path)
{
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(path));
    m_player->play();
    return m_player->error() == QMediaPlayer::NoError;
}

void QtSoundPlayer::stop() { m_player->stop(); }

QString QtSoundPlayer::errorString() const { return m_player->errorString(); }

} // namespace vexlor::platform
