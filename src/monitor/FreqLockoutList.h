#pragma once

#include <QObject>
#include <QStringList>

namespace vexlor::monitor {

// The locked-out search frequencies the receiver reported ("SS" lines),
// as the lock-out review window lists them.
class FreqLockoutList : public QObject {
    Q_OBJECT
public:
    // The receiver has 50 slots; a device that sends "SS" lines without end
    // must not grow the program. The newest entries are kept.
    static constexpr int kMaxEntries = 2000;

    using QObject::QObject;

    QStringList FreqList1; // raw eight-digit texts
    QString test;          // formatted frequencies, each followed by CR LF

    void add(const QString& rawDigits, const QString& formatted);
    void clear();

Q_SIGNALS:
    void changed();

private:
    int m_testLines = 0;
};

} // namespace vexlor::monitor
