#pragma once

#include "platform/SoundPlayer.h"

#include <memory>

class QAudioOutput;
class QMediaPlayer;

namespace vexlor::platform {

// Sound files played through Qt Multimedia.
class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;

    bool play(const QString& path) override;
    void stop() override;
    QString errorString() const override;

private:
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};

} // namespace vexlor::platform
