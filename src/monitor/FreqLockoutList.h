#pragma once

#include <QObject>
#include <QStringList>

namespace vexlor::monitor {

// The locked-out search frequencies the receiver reported ("SS" lines),
// as the lock-out review window lists them.
class FreqLockoutList : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    QStringList FreqList1; // raw eight-digit texts
    QString test;          // formatted frequencies, each followed by CR LF

    void add(const QString& rawDigits, const QString& formatted);
    void clear();

Q_SIGNALS:
    void changed();
};

} // namespace vexlor::monitor
