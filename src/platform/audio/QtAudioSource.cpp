#include "platform/audio/QtAudioSource.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>

namespace vexlor::platform {

QtAudioSource::QtAudioSource() = default;

QtAudioSource::~QtAudioSource() { stop(); }

QList<QPair<QString, QString>> QtAudioSource::inputs()
{
    QList<QPair<QString, QString>> found;
    const QAudioDevice chosen = QMediaDevices::defaultAudioInput();
    for (const QAudioDevice& d : QMediaDevices::audioInputs()) {
        const QPair<QString, QString> entry {QString::fromUtf8(d.id()), d.description()};
        if (d.id() == chosen.id())
            found.prepend(entry);
        else
            found.append(entry);
    }
    return found;
}

bool QtAudioSource::start(const QString& device, int sampleRate, Samples samples, Failed failed)
{
    stop();
    QAudioDevice input = QMediaDevices::defaultAudioInput();
    if (!device.isEmpty()) {
        const QList<QAudioDevice> all = QMediaDevices::audioInputs();
        const auto it = std::find_if(all.begin(), all.end(), [&](const QAudioDevice& d) { return QString::fromUtf8(d.id()) == device; });
        if (it == all.end()) {
            m_error = QStringLiteral("The sound input %1 is not there.").arg(device);
            return false;
        }
        input = *it;
    }
    if (input.isNull()) {
        m_error = QStringLiteral("There is no sound input.");
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!input.isFormatSupported(format)) {
        m_error = QStringLiteral("%1 cannot give %2 Hz mono sound.").arg(input.description()).arg(sampleRate);
        return false;
    }
    m_samples = std::move(samples);
    m_failed = std::move(failed);
    m_source = std::make_unique<QAudioSource>(input, format);
    // Small pieces keep the squelch reports in step with the sound; the capture thread does little else.
    m_source->setBufferSize(sampleRate * 2 / 25);
    m_io = m_source->start();
    if (!m_io || m_source->error() != QAudio::NoError) {
        m_error = QStringLiteral("%1 cannot be opened.").arg(input.description());
        stop();
        return false;
    }
    connect(m_io, &QIODevice::readyRead, this, &QtAudioSource::read);
    connect(m_source.get(), &QAudioSource::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && m_source && m_source->error() != QAudio::NoError && m_failed) {
            m_error = QStringLiteral("The sound input stopped.");
            m_failed(m_error);
        }
    });
    return true;
}

void QtAudioSource::stop()
{
    if (m_source) {
        m_source->disconnect(this);
        if (m_io)
            m_io->disconnect(this);
        m_source->stop();
    }
    m_source.reset();
    m_io = nullptr;
    m_odd.clear();
}

void QtAudioSource::read()
{
    if (!m_io)
        return;
    QByteArray bytes = m_odd + m_io->readAll();
    m_odd.clear();
    if (bytes.size() % 2 != 0)
        m_odd = bytes.right(1);
    const qsizetype count = bytes.size() / 2;
    if (count > 0 && m_samples)
        m_samples(reinterpret_cast<const qint16*>(bytes.constData()), count);
}

} // namespace vexlor::platform
