#pragma once

#include <QObject>
#include <QString>

namespace vexlor::link {
class ScannerLink;
}
namespace vexlor::monitor {
class FreqLockoutList;
}
namespace vexlor::platform {
class Dialogs;
}

namespace vexlor::controls {

// The review of the receiver's locked-out search frequencies: it writes the
// queries; the decoder files the "SS" answers in the list this shows.
class LockoutReview : public QObject {
    Q_OBJECT
public:
    static constexpr int kSlots = 50;

    LockoutReview(link::ScannerLink& link, monitor::FreqLockoutList& list, platform::Dialogs& dialogs,
                  QObject* parent = nullptr);

    const monitor::FreqLockoutList& list() const { return m_list; }

    // "See Frequencies Lock/Out": a fresh review, both lists emptied, then read.
    void FreqLockOutMnu_Click();
    // Reads again: the raw list is emptied, the formatted one keeps growing.
    void Command1_Click();
    // No command unlocks a search frequency, so the operator is told how.
    void FreqList1_DblClick(int row);

Q_SIGNALS:
    void changed();
    // The queries went out; answers follow over the next poll ticks.
    void readingStarted();

private:
    void read();

    link::ScannerLink& m_link;
    monitor::FreqLockoutList& m_list;
    platform::Dialogs& m_dialogs;
};

} // namespace vexlor::controls
