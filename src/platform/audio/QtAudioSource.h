#pragma once

#include "platform/AudioSource.h"

#include <QList>
#include <QObject>
#include <QPair>

#include <memory>

class QAudioSource;
class QIODevice;

namespace vexlor::platform {

// A sound input through Qt Multimedia (PulseAudio or PipeWire behind it).
class QtAudioSource : public QObject, public AudioSource {
    Q_OBJECT
public:
    QtAudioSource();
    ~QtAudioSource() override;

    // The inputs there are: id and description, the default first.
    static QList<QPair<QString, QString>> inputs();

    bool start(const QString& device, int sampleRate, Samples samples, Failed failed) override;
    void stop() override;
    QString errorString() const override { return m_error; }

private:
    void read();

    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_io = nullptr;
    Samples m_samples;
    Failed m_failed;
    QByteArray m_odd; // a byte of a sample split between two reads
    QString m_error;
};

} // namespace vexlor::platform
