#include "recording/Recorder.h"

#include <algorithm>

namespace vexlor::recording {

Recorder::Recorder(const Settings& settings, RecordingSink& sink)
    : m_settings(settings), m_sink(sink), m_ring(size_t(std::max<qint64>(0, samplesOf(settings.preRollMs + kLatestReportMs))))
{
}

void Recorder::audio(const qint16* samples, qsizetype count)
{
    // Up to each waiting report, then the report, then on.
    while (count > 0) {
        qsizetype piece = count;
        if (!m_waiting.empty())
            piece = qsizetype(std::clamp<qint64>(m_waiting.front().at - m_position, 0, count));
        feed(samples, piece);
        samples += piece;
        count -= piece;
        while (!m_waiting.empty() && m_waiting.front().at <= m_position) {
            const Report r = m_waiting.front();
            m_waiting.erase(m_waiting.begin());
            apply(r);
        }
    }
}

void Recorder::squelchOpened(const Heard& heard, qint64 atSample) { report({Report::Kind::Open, heard, atSample}); }

void Recorder::squelchClosed(qint64 atSample) { report({Report::Kind::Close, {}, atSample}); }

void Recorder::heard(const Heard& heard)
{
    // Behind a report still to come, it waits its turn.
    report({Report::Kind::Heard, heard, m_waiting.empty() ? m_position : m_waiting.back().at});
}

void Recorder::report(Report r)
{
    // In order: one behind a waiting report waits too.
    if (r.at > m_position || !m_waiting.empty())
        m_waiting.push_back(std::move(r));
    else
        apply(r);
}

void Recorder::apply(const Report& report)
{
    const qint64 late = std::clamp<qint64>(m_position - report.at, 0, samplesOf(kLatestReportMs));
    switch (report.kind) {
    case Report::Kind::Open: open(report.heard, late); break;
    case Report::Kind::Close: close(late); break;
    case Report::Kind::Heard: learn(report.heard); break;
    }
}

void Recorder::feed(const qint16* samples, qsizetype count)
{
    m_position += count;
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

void Recorder::open(const Heard& heard, qint64 late)
{
    if (m_state == State::Open || m_state == State::Hanging) {
        if (heard.samePlace(m_current)) {
            // A reply within the hang time: the same file goes on.
            if (m_state == State::Hanging)
                m_openSamples += std::min(late, samplesOf(m_settings.hangMs) - m_hangLeft);
            m_state = State::Open;
            learn(heard);
            return;
        }
        end();
    }
    // Recorded whether wanted or not yet: a talkgroup heard later may make it wanted.
    begin(heard, late);
}

void Recorder::learn(const Heard& heard)
{
    if (m_state != State::Open && m_state != State::Hanging)
        return;
    // What was known at the opening stays where the later report says nothing.
    const QDateTime at = m_current.at;
    m_current = heard;
    m_current.at = at;
    m_sink.identify(m_current);
}

void Recorder::close(qint64 late)
{
    if (m_state != State::Open)
        return;
    // The sound since the squelch really closed is hang time already.
    late = std::min(late, m_openSamples);
    m_openSamples -= late;
    m_state = State::Hanging;
    m_hangLeft = samplesOf(m_settings.hangMs) - late;
    if (m_hangLeft <= 0)
        end();
}

void Recorder::stop()
{
    m_waiting.clear();
    if (m_state == State::Open || m_state == State::Hanging)
        end();
    m_state = State::Idle;
}

void Recorder::begin(const Heard& heard, qint64 late)
{
    m_current = heard;
    m_state = State::Open;
    m_fileSamples = 0;
    m_sink.begin(heard);
    // The pre-roll before where the squelch opened, oldest first.
    const size_t size = m_ring.size();
    const size_t take = std::min(m_ringFilled, size_t(samplesOf(m_settings.preRollMs) + late));
    m_openSamples = std::min<qint64>(late, qint64(take));
    const size_t first = (m_ringStart + size - take) % std::max<size_t>(1, size);
    const size_t tail = std::min(take, size - first);
    write(m_ring.data() + first, qsizetype(tail));
    write(m_ring.data(), qsizetype(take - tail));
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
