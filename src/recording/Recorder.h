#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

namespace vexlor::recording {

// What the squelch opened on, as far as it is known: it grows while the
// transmission lasts (a talkgroup is often heard after the carrier).
struct Heard {
    QDateTime at;          // when the squelch opened (names the file)
    QString frequency;     // "154.4300"
    QString channel;       // "12", empty off the channels (search, direct entry)
    QString channelName;
    QString channelType;
    QString bank;          // the bank's name or number
    QString talkgroup;     // "002032", empty when none was heard
    QString talkgroupName;
    QString talkgroupType;
    bool wanted = true;    // the recording choices' verdict on it; the one at the end decides

    // Two openings on one place belong in one file when close enough.
    bool samePlace(const Heard& other) const { return channel == other.channel && frequency == other.frequency; }
};

// Where a recording goes: a file begun, samples, and its end, kept or dropped.
class RecordingSink {
public:
    virtual ~RecordingSink() = default;
    virtual void begin(const Heard& heard) = 0;
    virtual void append(const qint16* samples, qsizetype count) = 0;
    // More is known about the file under way.
    virtual void identify(const Heard& heard) = 0;
    // heard: everything learnt by the end; keep false drops the file (shorter than the minimum).
    // seconds: the squelch's open time in it, pre-roll and hang time apart.
    virtual void end(const Heard& heard, double seconds, bool keep) = 0;
};

// Cuts the sound input into one file per transmission. A file starts with
// the last pre-roll of sound before the squelch report (the report comes
// after the carrier), and ends a hang time after the squelch closes, so a
// quick reply on the same place joins it. Time is counted in samples, so the
// boundaries follow the sound itself, whatever the thread's timing.
class Recorder {
public:
    struct Settings {
        int sampleRate = 16000;
        int preRollMs = 300;
        int hangMs = 1000;
        int minimumMs = 500;          // squelch-open time below which a file is dropped
        int longestMs = 30 * 60 * 1000; // a squelch held open longer is cut into files of this length
    };

    Recorder(const Settings& settings, RecordingSink& sink);

    // Reports late by up to this much are placed where they belong in the sound.
    static constexpr int kLatestReportMs = 500;

    void audio(const qint16* samples, qsizetype count);
    // The squelch at a place in the sound, counted in samples since the start: one already
    // past counts from there (the pre-roll reaches back further), one still to come waits
    // for the sound to reach it.
    void squelchOpened(const Heard& heard, qint64 atSample);
    void squelchClosed(qint64 atSample);
    // At the sound's current end.
    void squelchOpened(const Heard& heard) { squelchOpened(heard, m_position); }
    void squelchClosed() { squelchClosed(m_position); }
    // More is known about the transmission under way.
    void heard(const Heard& heard);
    // Samples of sound so far.
    qint64 position() const { return m_position; }
    // Ends a file under way at once (recording turned off, the program closing).
    void stop();

    bool recording() const { return m_state != State::Idle; }
    const Settings& settings() const { return m_settings; }

private:
    enum class State { Idle, Open, Hanging };
    struct Report {
        enum class Kind { Open, Close, Heard } kind;
        Heard heard;
        qint64 at = 0;
    };
    void report(Report r);
    void learn(const Heard& heard);
    qint64 samplesOf(int ms) const { return qint64(m_settings.sampleRate) * ms / 1000; }
    void feed(const qint16* samples, qsizetype count);
    void apply(const Report& report);
    void open(const Heard& heard, qint64 late);
    void close(qint64 late);
    void begin(const Heard& heard, qint64 late = 0);
    void end();
    void remember(const qint16* samples, qsizetype count);
    void write(const qint16* samples, qsizetype count);

    Settings m_settings;
    RecordingSink& m_sink;
    State m_state = State::Idle;
    Heard m_current;
    std::vector<qint16> m_ring; // the last pre-roll and the latest a report may be, oldest first from m_ringStart
    size_t m_ringStart = 0;
    size_t m_ringFilled = 0;
    qint64 m_openSamples = 0;   // while the squelch was open, over joined transmissions
    qint64 m_fileSamples = 0;
    qint64 m_hangLeft = 0;
    qint64 m_position = 0;
    std::vector<Report> m_waiting; // reports ahead of the sound, in order
};

} // namespace vexlor::recording
