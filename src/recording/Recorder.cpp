#include "recording/Recorder.h"

#include <algorithm>

namespace vexlor::recording {

Recorder::Recorder(const Settings& settings, RecordingSink& sink)
    : m_settings(settings), m_sink(sink), m_ring(size_t(std::max<qint64>(0, samplesOf(settings.preRollMs))))
{
}

void Recorder::audio(const qint16* samples, qsizetype count)
{
    qsizetype done = 0;
    while (done < count) {
        qsizetype piece = count - done;
        if (m_state == State::Hanging)
            piece = std::min<qsizetype>(piece, m_hangLeft);
        if (m_state == State::Open || m_state == State::Hanging)
            piece = std::min<qsizetype>(piece, std::max<qint64>(1, samplesOf(m_settings.longestMs) - m_fileSamples));
        const qint16* at = samples + done;
        if (m_state == State::Open || m_state == State::Hanging)
            write(at, piece);
        if (m_state == State::Open)
            m_openSamples += piece;
        if (m_state == State::Hanging)
            m_hangLeft -= piece;
        remember(at, piece);
        done += piece;
        if (m_state == State::Hanging && m_hangLeft <= 0) {
            end();
        } else if (m_state == State::Open && m_fileSamples >= samplesOf(m_settings.longestMs)) {
            // A stuck squelch: the next file goes on where this one stops, with no pre-roll twice.
            Heard next = m_current;
            next.at = m_current.at.addMSecs(m_settings.longestMs);
            end();
            m_ringFilled = 0;
            begin(next);
        }
    }
}

void Recorder::squelchOpened(const Heard& heard)
{
    if (m_state == State::Open || m_state == State::Hanging) {
        if (heard.samePlace(m_current)) {
            // A reply within the hang time: the same file goes on.
            m_state = State::Open;
            this->heard(heard);
            return;
        }
        end();
    }
    // Recorded whether wanted or not yet: a talkgroup heard later may make it wanted.
    begin(heard);
}

void Recorder::heard(const Heard& heard)
{
    if (m_state != State::Open && m_state != State::Hanging)
        return;
    // What was known at the opening stays where the later report says nothing.
    const QDateTime at = m_current.at;
    m_current = heard;
    m_current.at = at;
    m_sink.identify(m_current);
}

void Recorder::squelchClosed()
{
    if (m_state == State::Open) {
        m_state = State::Hanging;
        m_hangLeft = samplesOf(m_settings.hangMs);
        if (m_hangLeft <= 0)
            end();
    }
}

void Recorder::stop()
{
    if (m_state == State::Open || m_state == State::Hanging)
        end();
    m_state = State::Idle;
}

void Recorder::begin(const Heard& heard)
{
    m_current = heard;
    m_state = State::Open;
    m_openSamples = 0;
    m_fileSamples = 0;
    m_sink.begin(heard);
    // The pre-roll, oldest first.
    const size_t size = m_ring.size();
    const size_t first = (m_ringStart + size - m_ringFilled) % std::max<size_t>(1, size);
    const size_t tail = std::min(m_ringFilled, size - first);
    write(m_ring.data() + first, qsizetype(tail));
    write(m_ring.data(), qsizetype(m_ringFilled - tail));
}

void Recorder::end()
{
    // What was heard by the end decides: a talkgroup not to record drops the whole file.
    const bool keep = m_current.wanted && m_openSamples >= samplesOf(m_settings.minimumMs);
    m_sink.end(m_current, double(m_openSamples) / m_settings.sampleRate, keep);
    m_state = State::Idle;
}

void Recorder::remember(const qint16* samples, qsizetype count)
{
    const size_t size = m_ring.size();
    if (size == 0)
        return;
    // Only the last ring's worth of a long piece can stay.
    if (size_t(count) > size) {
        samples += count - qsizetype(size);
        count = qsizetype(size);
    }
    for (qsizetype i = 0; i < count; ++i) {
        m_ring[m_ringStart] = samples[i];
        m_ringStart = (m_ringStart + 1) % size;
    }
    m_ringFilled = std::min(size, m_ringFilled + size_t(count));
}

void Recorder::write(const qint16* samples, qsizetype count)
{
    if (count <= 0)
        return;
    m_sink.append(samples, count);
    m_fileSamples += count;
}

} // namespace vexlor::recording
