#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace vexlor::simulator {

// A fixed sequence of receptions, read from a text file, one step a line:
//   gap MS                 nothing heard for MS milliseconds
//   channel N MS           memory channel N heard for MS
//   frequency MHZ MS       a frequency without a channel heard for MS
//   talkgroup ID MS        a talkgroup call of MS
//   line TEXT              TEXT written as one line, as it stands
//   loop                   start again from the top (last step only)
// Blank lines and lines starting with "#" are ignored.
class ActivityScript {
public:
    struct Step {
        enum Kind { Gap, Channel, Frequency, Talkgroup, Line };
        Kind kind = Gap;
        int value = 0;      // channel number or talkgroup ID
        qint32 units = 0;   // frequency in 100 Hz
        int ms = 0;
        QByteArray text;
    };

    static std::optional<ActivityScript> parse(const QByteArray& text, QString* error);
    static std::optional<ActivityScript> load(const QString& path, QString* error);

    const QList<Step>& steps() const { return m_steps; }
    bool loops() const { return m_loop; }

private:
    QList<Step> m_steps;
    bool m_loop = false;
};

} // namespace vexlor::simulator
