#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace vexlor::remote {

// Cuts the link's byte stream into CR-terminated messages. TCP splits and
// joins sends as it likes, so a message may span arrivals: the part before
// its CR waits here. A line feed that begins a message (a client ending its
// lines with CR LF) is dropped. A message longer than kMaxMessage is
// discarded whole, with its CR, so what waits never grows past that bound.
class MessageFramer {
public:
    static constexpr qsizetype kMaxMessage = 1024;

    // The messages completed by these bytes, in order, without their CR.
    QList<QByteArray> feed(QByteArrayView bytes);
    // Forgets the waiting part, for a new connection.
    void reset();

    qsizetype pendingSize() const { return m_pending.size(); }
    // Over-long messages dropped since the last reset.
    int discardedCount() const { return m_discarded; }

private:
    QByteArray m_pending;
    bool m_started = false;    // a byte of the current message was seen
    bool m_discarding = false; // the current message is over-long; skip to its CR
    int m_discarded = 0;
};

} // namespace vexlor::remote
