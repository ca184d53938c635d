#include "simulator/LineAssembler.h"

namespace vexlor::simulator {

QList<LineAssembler::Command> LineAssembler::feed(const QByteArray& bytes)
{
    QList<Command> out;
    for (char ch : bytes) {
        if (ch == '\n')
            continue;
        if (ch == '\r') {
            if (!m_discarding)
                out.append({m_line, false});
            m_line.clear();
            m_discarding = false;
            continue;
        }
        if (m_discarding)
            continue;
        if (m_line.size() >= kMaxLine) {
            out.append({QByteArray(), true});
            m_line.clear();
            m_discarding = true;
            continue;
        }
        m_line += ch;
    }
    return out;
}

} // namespace vexlor::simulator
