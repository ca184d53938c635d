#pragma once

// A sound input that gives 20 ms of samples every 20 ms, as a sound card does,
// on the thread that starts it; what the samples are is the caller's.
#include "platform/AudioSource.h"

#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace vexlor::fakes {

class PacedSound : public platform::AudioSource {
public:
    // The sample at an index, at a sample rate.
    using Wave = std::function<qint16(qint64 index, int sampleRate)>;
    explicit PacedSound(Wave wave) : m_wave(std::move(wave)) {}

    bool start(const QString&, int sampleRate, Samples samples, Failed) override
    {
        m_timer = std::make_unique<QTimer>();
        m_timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this, sampleRate, samples] {
            std::vector<qint16> piece(size_t(sampleRate / 50));
            for (qint16& s : piece)
                s = m_wave(m_sent++, sampleRate);
            samples(piece.data(), qsizetype(piece.size()));
        });
        m_timer->start(20);
        return true;
    }
    void stop() override { m_timer.reset(); }
    QString errorString() const override { return {}; }

private:
    Wave m_wave;
    std::unique_ptr<QTimer> m_timer;
    qint64 m_sent = 0;
};

} // namespace vexlor::fakes
