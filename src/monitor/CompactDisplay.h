#pragma once

#include <QObject>
#include <QString>

namespace vexlor::monitor {

// What the compact view shows.
struct CompactDisplayState {
    QString ModeLbl;
    QString NameLbl;
    QString TypeLbl;
    QString IDNameLbl;
    QString IDTypeLbl;
    bool NameLblVisible = false;
    bool TypeLblVisible = false;
    bool IDNameLblVisible = false;
    bool IDTypeLblVisible = false;
    QString caption;
    bool shown = false;
    int CompactViewMode = 0; // 0 closed, 1 pop-up, 2 always shown

    bool operator==(const CompactDisplayState&) const = default;
};

class CompactDisplay : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    CompactDisplayState s;

    void publish();

Q_SIGNALS:
    void changed();

private:
    CompactDisplayState m_published;
};

} // namespace vexlor::monitor
