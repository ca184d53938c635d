#pragma once

#include <QByteArray>
#include <QString>

namespace vexlor::fakes {

// A real pseudo-terminal for tests that play the receiver's end by hand.
// The master is non-blocking and raw; the slave's name goes to QSerialPort.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slaveName() const { return m_slave; }
    int masterFd() const { return m_master; }

    void write(const QByteArray& bytes);
    // Everything the program has written so far (non-blocking).
    QByteArray readAvailable();

private:
    int m_master = -1;
    QString m_slave;
};

} // namespace vexlor::fakes
