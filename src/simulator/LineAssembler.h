#pragma once

#include <QByteArray>
#include <QList>

namespace vexlor::simulator {

// Cuts the bytes of the serial line into commands: each ends at CR, LF is
// ignored. A line that grows past the limit is garbage: it is reported once,
// as soon as it is too long, and the rest of it up to the next CR is dropped.
class LineAssembler {
public:
    static constexpr qsizetype kMaxLine = 256;

    struct Command {
        QByteArray text;
        bool overlong = false;
    };

    QList<Command> feed(const QByteArray& bytes);
    qsizetype pending() const { return m_line.size(); }

private:
    QByteArray m_line;
    bool m_discarding = false;
};

} // namespace vexlor::simulator
