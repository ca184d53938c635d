#include "remote/MessageFramer.h"

namespace vexlor::remote {

QList<QByteArray> MessageFramer::feed(QByteArrayView bytes)
{
    QList<QByteArray> messages;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        if (!m_started) {
            m_started = true;
            if (bytes[pos] == '\n') {
                ++pos;
                continue;
            }
        }
        const qsizetype cr = bytes.indexOf('\r', pos);
        const qsizetype end = cr < 0 ? bytes.size() : cr;
        const QByteArrayView piece = bytes.sliced(pos, end - pos);
        pos = cr < 0 ? bytes.size() : cr + 1;

        if (!m_discarding && m_pending.size() + piece.size() > kMaxMessage) {
            m_discarding = true;
            m_pending.clear();
            m_pending.squeeze();
        }
        if (!m_discarding)
            m_pending += piece;
        if (cr < 0)
            break;

        if (m_discarding)
            ++m_discarded;
        else
            messages.append(m_pending);
        m_pending.clear();
        m_discarding = false;
        m_started = false;
    }
    return messages;
}

void MessageFramer::reset()
{
    m_pending.clear();
    m_pending.squeeze();
    m_started = false;
    m_discarding = false;
    m_discarded = 0;
}

} // namespace vexlor::remote
