#pragma once

#include "platform/SerialPort.h"

#include <QElapsedTimer>
#include <QList>

#include <deque>

namespace vexlor::fakes {

// A real port seen through a meter: what crosses the line each way, and for
// every command written, how long until the program read its reply line.
// The receiver answers each command with one line, in order, so the replies
// pair with the commands first in, first out.
class LinePort : public platform::SerialPort {
    Q_OBJECT
public:
    struct Answer {
        QByteArray command; // without its CR
        double sentMs = 0;  // since the meter started
        double ageMs = 0;   // written to read
    };

    explicit LinePort(platform::SerialPort& inner);

    void setPortName(const QString& name) override { m_inner.setPortName(name); }
    QString portName() const override { return m_inner.portName(); }
    bool setSettings(const QString& settings) override { return m_inner.setSettings(settings); }
    QString settings() const override { return m_inner.settings(); }
    bool open() override { return m_inner.open(); }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    QString errorString() const override { return m_inner.errorString(); }
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override { return m_inner.bytesAvailable(); }
    qint64 bytesToWrite() const override { return m_inner.bytesToWrite(); }
    void discardInput() override { m_inner.discardInput(); }
    void discardOutput() override { m_inner.discardOutput(); }
    bool dsr() const override { return m_inner.dsr(); }
    bool cts() const override { return m_inner.cts(); }

    // Forgets the counts and the pairing; the clock keeps running.
    void reset();
    double nowMs() const { return double(m_clock.nsecsElapsed()) / 1e6; }
    // Commands still waiting for their reply line.
    qsizetype unanswered() const { return qsizetype(m_waiting.size()); }
    QByteArrayList waiting() const;
    // Reply lines that came with no command waiting.
    qint64 unasked() const { return m_unasked; }
    const QList<Answer>& answers() const { return m_answers; }

    // The p-th percentile (0..100) of the ages of the answers to commands
    // starting with `prefix` (all when empty) sent in [fromMs, toMs).
    double percentile(double p, const QByteArray& prefix = {}, double fromMs = 0, double toMs = 1e18) const;

    qint64 writes = 0;
    qint64 written = 0;
    qint64 read = 0;
    qint64 replyLines = 0;
    QList<QByteArray> sent;

private:
    platform::SerialPort& m_inner;
    QElapsedTimer m_clock;
    QByteArray m_out;
    QByteArray m_in;
    std::deque<Answer> m_waiting;
    QList<Answer> m_answers;
    qint64 m_unasked = 0;
};

} // namespace vexlor::fakes
